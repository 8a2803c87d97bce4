#include "platform/processes_win.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <exception>
#include <memory>
#include <optional>
#include <utility>

#include "platform/wide_text_win.h"

namespace {

// The value of the older system headers, which is what the path read asks for.
constexpr DWORD kAllAccessOfOlderHeaders = 0x1F0FFF;
constexpr int kProcessBreakOnTermination = 29;
constexpr LONG kStatusInvalidInfoClass = static_cast<LONG>(0xC0000003);
// The longest path the system hands out, in UTF-16 units.
constexpr DWORD kLongPathChars = 32768;
constexpr DWORD kPathBufferChars = 261;

#ifdef _WIN64
static_assert(sizeof(PROCESSENTRY32W) == 568, "the wide snapshot record of a 64-bit program");
#endif

template <typename Function>
Function Bind(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::string UpToZero(const wchar_t* text, std::size_t capacity) {
  return FromWide(std::wstring_view(text, wcsnlen(text, capacity)));
}

// The creation time in 100-nanosecond units since 1601; 0 when it cannot be read.
std::uint64_t CreationTimeOf(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return static_cast<std::uint64_t>(created.dwHighDateTime) << 32 | created.dwLowDateTime;
}

DWORD ProcessOf(HWND window) {
  DWORD processId = 0;
  if (window) GetWindowThreadProcessId(window, &processId);
  return processId;
}

struct WindowWalk {
  std::vector<Processes::TopLevelWindow> windows;
  std::exception_ptr error;
  // The shell's own windows (the desktop, the taskbar) are no program an exit closes.
  DWORD shellProcess = ProcessOf(GetShellWindow());
  DWORD taskbarProcess = ProcessOf(FindWindowW(L"Shell_TrayWnd", nullptr));
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto& walk = *reinterpret_cast<WindowWalk*>(context);
  try {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const bool visible = IsWindowVisible(window) != FALSE;
    // The taskbar's own rule: an unowned window that is no tool window, or one that asks for a
    // button; never one of the shell that draws the desktop and the taskbar.
    const LONG_PTR extendedStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const bool shell = processId == walk.shellProcess || processId == walk.taskbarProcess;
    const bool onTaskbar = visible && !shell &&
                           ((!GetWindow(window, GW_OWNER) && !(extendedStyle & WS_EX_TOOLWINDOW)) ||
                            (extendedStyle & WS_EX_APPWINDOW));
    walk.windows.push_back({reinterpret_cast<WindowHandle>(window), processId, visible,
                            IsWindowEnabled(window) != FALSE, onTaskbar});
    return TRUE;
  } catch (...) {
    // Not through the system's frames: stop and rethrow once EnumWindows is back.
    walk.error = std::current_exception();
    return FALSE;
  }
}

}  // namespace

class Win32Processes::OpenedWin32Process : public Processes::OpenedProcess {
 public:
  OpenedWin32Process(UniqueKernelHandle process, QueryProcessFunction queryProcess)
      : process_(std::move(process)), queryProcess_(queryProcess) {}

  [[nodiscard]] std::string ImagePath() override {
    std::wstring path(kLongPathChars, L'\0');
    DWORD length = kLongPathChars;
    if (!QueryFullProcessImageNameW(process_.Get(), 0, path.data(), &length)) return {};
    return FromWide(std::wstring_view(path.data(), length));
  }

  [[nodiscard]] std::optional<bool> IsMarkedCritical() override {
    if (!queryProcess_) return std::nullopt;
    ULONG breakOnTermination = 0;
    const LONG status = queryProcess_(process_.Get(), kProcessBreakOnTermination,
                                      &breakOnTermination, sizeof breakOnTermination, nullptr);
    // A system that does not know the mark at all marks nothing with it
    // (Wine); any other failure leaves the question open.
    if (status == kStatusInvalidInfoClass) return false;
    if (status < 0) return std::nullopt;
    return breakOnTermination != 0;
  }

  bool Terminate() override { return TerminateProcess(process_.Get(), 0) != FALSE; }

 private:
  UniqueKernelHandle process_;
  QueryProcessFunction queryProcess_;
};

class Win32Processes::WatchedWin32Process : public Processes::WatchedProcess {
 public:
  explicit WatchedWin32Process(UniqueKernelHandle process) : process_(std::move(process)) {}

  [[nodiscard]] bool HasEnded() override {
    return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0;
  }

  [[nodiscard]] HANDLE Handle() const { return process_.Get(); }

  [[nodiscard]] std::uint64_t StartTime() override { return CreationTimeOf(process_.Get()); }

 private:
  UniqueKernelHandle process_;
};

void Win32Processes::BindSnapshot() {
  if (snapshotBound_) return;
  snapshotBound_ = true;
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return;
  createSnapshot_ = Bind<CreateSnapshotFunction>(kernel, "CreateToolhelp32Snapshot");
  firstEntry_ = Bind<WalkFunction>(kernel, "Process32FirstW");
  nextEntry_ = Bind<WalkFunction>(kernel, "Process32NextW");
}

void Win32Processes::BindModulePath() {
  if (modulePathBound_) return;
  modulePathBound_ = true;
  const HMODULE psapi = LoadLibraryW(L"PSAPI.dll");
  // The old rule for a failed load: a handle below 32.
  if (reinterpret_cast<UINT_PTR>(psapi) < 32) return;
  psapi_.Reset(psapi);
  modulePath_ = Bind<ModulePathFunction>(psapi, "GetModuleFileNameExW");
}

std::vector<Processes::SnapshotEntry> Win32Processes::Snapshot() {
  BindSnapshot();
  std::vector<SnapshotEntry> entries;
  if (!createSnapshot_ || !firstEntry_ || !nextEntry_) return entries;
  const HANDLE taken = createSnapshot_(TH32CS_SNAPPROCESS, 0);
  if (!taken || taken == INVALID_HANDLE_VALUE) return entries;
  const UniqueKernelHandle snapshot(taken);
  PROCESSENTRY32W entry{};
  // The size of this build's own record: a 32-bit program's is smaller, and a
  // 64-bit system refuses the walk with it.
  entry.dwSize = sizeof entry;
  for (BOOL read = firstEntry_(snapshot.Get(), &entry); read;
       read = nextEntry_(snapshot.Get(), &entry)) {
    entries.push_back({entry.th32ProcessID, UpToZero(entry.szExeFile, std::size(entry.szExeFile))});
  }
  return entries;
}

std::uint32_t Win32Processes::CurrentProcessId() const { return GetCurrentProcessId(); }

std::string Win32Processes::ExecutablePath(std::uint32_t processId) {
  BindModulePath();
  if (!modulePath_) return {};
  const UniqueKernelHandle process(OpenProcess(kAllAccessOfOlderHeaders, FALSE, processId));
  if (!process) return {};
  wchar_t path[kPathBufferChars]{};
  if (modulePath_(process.Get(), nullptr, path, kPathBufferChars) == 0) return {};
  return UpToZero(path, std::size(path));
}

std::uint64_t Win32Processes::StartTime(std::uint32_t processId) {
  const UniqueKernelHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  return process ? CreationTimeOf(process.Get()) : 0;
}

std::vector<Processes::TopLevelWindow> Win32Processes::TopLevelWindows() {
  WindowWalk walk;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&walk));
  if (walk.error) std::rethrow_exception(walk.error);
  return std::move(walk.windows);
}

std::string Win32Processes::WindowTitle(WindowHandle window) {
  wchar_t title[kMaxTitleUnits + 1]{};
  if (GetWindowTextW(reinterpret_cast<HWND>(window), title, static_cast<int>(std::size(title))) <=
      0) {
    return {};
  }
  return UpToZero(title, std::size(title));
}

unsigned Win32Processes::IconCount(const std::string& path) {
  const HICON count = ExtractIconW(instance_, ToWide(path).c_str(), static_cast<UINT>(-1));
  return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(count));
}

IconHandle Win32Processes::FirstIcon(const std::string& path) {
  const HICON icon = ExtractIconW(instance_, ToWide(path).c_str(), 0);
  // 1 says the file is no program, library or icon file: no icon either.
  if (reinterpret_cast<UINT_PTR>(icon) <= 1) return 0;
  return reinterpret_cast<IconHandle>(icon);
}

void Win32Processes::ReleaseIcon(IconHandle icon) {
  if (icon) DestroyIcon(reinterpret_cast<HICON>(icon));
}

void Win32Processes::BindQuery() {
  if (queryBound_) return;
  queryBound_ = true;
  if (const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    queryProcess_ = Bind<QueryProcessFunction>(ntdll, "NtQueryInformationProcess");
  }
}

std::unique_ptr<Processes::OpenedProcess> Win32Processes::OpenToEnd(std::uint32_t processId) {
  BindQuery();
  UniqueKernelHandle process(
      OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return nullptr;
  return std::make_unique<OpenedWin32Process>(std::move(process), queryProcess_);
}

std::unique_ptr<Processes::WatchedProcess> Win32Processes::OpenToWatch(std::uint32_t processId) {
  UniqueKernelHandle process(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return nullptr;
  return std::make_unique<WatchedWin32Process>(std::move(process));
}

std::vector<bool> Win32Processes::WhichEnded(const std::vector<WatchedProcess*>& watched) {
  std::vector<bool> ended(watched.size(), false);
  HANDLE handles[MAXIMUM_WAIT_OBJECTS];
  for (std::size_t first = 0; first < watched.size(); first += MAXIMUM_WAIT_OBJECTS) {
    const std::size_t count = std::min<std::size_t>(MAXIMUM_WAIT_OBJECTS, watched.size() - first);
    for (std::size_t i = 0; i < count; ++i) {
      // Every one of them came from OpenToWatch above.
      handles[i] = static_cast<WatchedWin32Process*>(watched[first + i])->Handle();
    }
    if (WaitForMultipleObjects(static_cast<DWORD>(count), handles, FALSE, 0) == WAIT_TIMEOUT) {
      continue;
    }
    for (std::size_t i = 0; i < count; ++i) ended[first + i] = watched[first + i]->HasEnded();
  }
  return ended;
}
