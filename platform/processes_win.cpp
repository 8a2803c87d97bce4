#include "platform/processes_win.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <exception>

namespace {

// The value of the older system headers, which is what the path read asks for.
constexpr DWORD kAllAccessOfOlderHeaders = 0x1F0FFF;
constexpr int kProcessBreakOnTermination = 29;
constexpr DWORD kPathBufferBytes = 261;

#ifdef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 304, "the 8-bit snapshot record of a 64-bit program");
#endif

template <typename Function>
Function Bind(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::string UpToZero(const char* text, std::size_t capacity) {
  return std::string(text, strnlen(text, capacity));
}

struct WindowWalk {
  std::vector<Processes::TopLevelWindow> windows;
  std::exception_ptr error;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto& walk = *reinterpret_cast<WindowWalk*>(context);
  try {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    walk.windows.push_back({reinterpret_cast<WindowHandle>(window), processId,
                            IsWindowVisible(window) != FALSE, IsWindowEnabled(window) != FALSE});
    return TRUE;
  } catch (...) {
    // Not through the system's frames: stop and rethrow once EnumWindows is back.
    walk.error = std::current_exception();
    return FALSE;
  }
}

}  // namespace

void Win32Processes::BindSnapshot() {
  if (snapshotBound_) return;
  snapshotBound_ = true;
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return;
  createSnapshot_ = Bind<CreateSnapshotFunction>(kernel, "CreateToolhelp32Snapshot");
  firstEntry_ = Bind<WalkFunction>(kernel, "Process32First");
  nextEntry_ = Bind<WalkFunction>(kernel, "Process32Next");
}

void Win32Processes::BindModulePath() {
  if (modulePathBound_) return;
  modulePathBound_ = true;
  const HMODULE psapi = LoadLibraryA("PSAPI.dll");
  // The old rule for a failed load: a handle below 32.
  if (reinterpret_cast<UINT_PTR>(psapi) < 32) return;
  psapi_.Reset(psapi);
  modulePath_ = Bind<ModulePathFunction>(psapi, "GetModuleFileNameExA");
}

std::vector<Processes::SnapshotEntry> Win32Processes::Snapshot() {
  BindSnapshot();
  std::vector<SnapshotEntry> entries;
  if (!createSnapshot_ || !firstEntry_ || !nextEntry_) return entries;
  const HANDLE taken = createSnapshot_(TH32CS_SNAPPROCESS, 0);
  if (!taken || taken == INVALID_HANDLE_VALUE) return entries;
  const UniqueKernelHandle snapshot(taken);
  PROCESSENTRY32 entry{};
  // The size of this build's own record: 296 is right for a 32-bit program
  // only, and a 64-bit system refuses the walk with it.
  entry.dwSize = sizeof entry;
  for (BOOL read = firstEntry_(snapshot.Get(), &entry); read;
       read = nextEntry_(snapshot.Get(), &entry)) {
    entries.push_back({entry.th32ProcessID, UpToZero(entry.szExeFile, sizeof entry.szExeFile)});
  }
  return entries;
}

std::uint32_t Win32Processes::CurrentProcessId() const { return GetCurrentProcessId(); }

std::string Win32Processes::ExecutablePath(std::uint32_t processId) {
  BindModulePath();
  if (!modulePath_) return {};
  const UniqueKernelHandle process(OpenProcess(kAllAccessOfOlderHeaders, FALSE, processId));
  if (!process) return {};
  char path[kPathBufferBytes]{};
  if (modulePath_(process.Get(), nullptr, path, kPathBufferBytes) == 0) return {};
  return UpToZero(path, sizeof path);
}

std::vector<Processes::TopLevelWindow> Win32Processes::TopLevelWindows() {
  WindowWalk walk;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&walk));
  if (walk.error) std::rethrow_exception(walk.error);
  return std::move(walk.windows);
}

std::string Win32Processes::WindowTitle(WindowHandle window) {
  char title[kMaxTitleBytes + 1]{};
  if (GetWindowTextA(reinterpret_cast<HWND>(window), title, sizeof title) <= 0) return {};
  return UpToZero(title, sizeof title);
}

unsigned Win32Processes::IconCount(const std::string& path) {
  const HICON count = ExtractIconA(instance_, path.c_str(), static_cast<UINT>(-1));
  return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(count));
}

IconHandle Win32Processes::FirstIcon(const std::string& path) {
  const HICON icon = ExtractIconA(instance_, path.c_str(), 0);
  // 1 says the file is no program, library or icon file: no icon either.
  if (reinterpret_cast<UINT_PTR>(icon) <= 1) return 0;
  return reinterpret_cast<IconHandle>(icon);
}

void Win32Processes::ReleaseIcon(IconHandle icon) {
  if (icon) DestroyIcon(reinterpret_cast<HICON>(icon));
}

bool Win32Processes::IsMarkedCritical(std::uint32_t processId) {
  if (!queryBound_) {
    queryBound_ = true;
    if (const HMODULE ntdll = GetModuleHandleA("ntdll.dll")) {
      queryProcess_ = Bind<QueryProcessFunction>(ntdll, "NtQueryInformationProcess");
    }
  }
  if (!queryProcess_) return false;
  UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) process.Reset(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (!process) return false;
  ULONG breakOnTermination = 0;
  const LONG status = queryProcess_(process.Get(), kProcessBreakOnTermination, &breakOnTermination,
                                    sizeof breakOnTermination, nullptr);
  return status >= 0 && breakOnTermination != 0;
}

bool Win32Processes::Terminate(std::uint32_t processId) {
  const UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  return process && TerminateProcess(process.Get(), 0) != FALSE;
}
