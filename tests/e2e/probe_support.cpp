#include "probe_support.h"

// After windows.h, which it needs.
#include <tlhelp32.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace probe {

DWORD g_timeoutMs = 20000;
int g_failures = 0;

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return "";
  int bytes =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
  std::string out(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), out.data(), bytes, nullptr,
                      nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return L"";
  int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
  std::wstring out(units, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), out.data(), units);
  return out;
}

std::string Q(const std::string& text) {
  std::string quoted(1, '"');
  for (char c : text) {
    if (c == '\r')
      quoted += "\\r";
    else if (c == '\n')
      quoted += "\\n";
    else
      quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string Format(const char* fmt, ...) {
  char buf[2048];
  va_list args;
  va_start(args, fmt);
  vsnprintf(buf, sizeof buf, fmt, args);
  va_end(args);
  return buf;
}

void Check(bool ok, const std::string& check, const std::string& detail) {
  if (!ok) ++g_failures;
  printf("%s %s: %s\n", ok ? "PASS" : "FAIL", check.c_str(), detail.c_str());
  fflush(stdout);
}

void Note(const std::string& text) {
  printf("NOTE %s\n", text.c_str());
  fflush(stdout);
}

void Point(const char* what, POINT at) {
  printf("POINT %s %ld %ld\n", what, at.x, at.y);
  fflush(stdout);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
}

std::string ClassOf(HWND hwnd) {
  wchar_t cls[256] = {};
  GetClassNameW(hwnd, cls, 256);
  return Utf8(cls);
}

std::string NameOf(HWND hwnd) {
  ATOM atom = (ATOM)(ULONG_PTR)GetPropW(hwnd, L"Name");
  if (!atom) return "";
  wchar_t name[256] = {};
  GlobalGetAtomNameW(atom, name, 256);
  return Utf8(name);
}

std::string TextOf(HWND hwnd) {
  std::optional<LRESULT> length = Ask(hwnd, WM_GETTEXTLENGTH);
  if (!length) return "<no answer>";
  // Room to spare: the text may have grown since it was measured.
  std::wstring text(*length + 256, L'\0');
  std::optional<LRESULT> copied = Ask(hwnd, WM_GETTEXT, text.size(), (LPARAM)text.data());
  text.resize(std::clamp<LRESULT>(copied.value_or(0), 0, (LRESULT)text.size() - 1));
  return Utf8(text);
}

bool Shown(HWND hwnd) {
  if (!hwnd) return false;  // a control not shown yet has no window
  for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT)) {
    if (h == GetDesktopWindow()) break;
    if (!(GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE)) return false;
  }
  return true;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

std::optional<LRESULT> Ask(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result))
    return std::nullopt;
  return (LRESULT)result;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> all;
  EnumWindows(
      [](HWND hwnd, LPARAM out) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
        return TRUE;
      },
      (LPARAM)&all);
  return all;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> all;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) all.push_back(c);
  return all;
}

std::vector<HWND> Forms(const char* name) {
  std::vector<HWND> found;
  for (HWND h : TopLevelWindows())
    if (ClassOf(h) == kFormClass && NameOf(h) == name) found.push_back(h);
  return found;
}

HWND MainWindow() {
  std::vector<HWND> found = Forms("Form1");
  return found.size() == 1 ? found[0] : nullptr;
}

HWND OpenSubmenu() {
  const HWND main = MainWindow();
  const DWORD pid = main ? ProcessOf(main) : 0;
  HWND submenu = nullptr;
  const bool open = pid && WaitFor([&] {
                      int menus = 0;
                      for (HWND h : TopLevelWindows()) {
                        if (ProcessOf(h) != pid || ClassOf(h) != "#32768" || !Shown(h)) continue;
                        // The submenu opens over the menu, so it is found first.
                        if (++menus == 1) submenu = h;
                      }
                      return menus >= 2;
                    });
  return open ? submenu : nullptr;
}

HWND FindNamed(HWND root, const std::string& name) {
  for (HWND c : ChildWindows(root)) {
    if (NameOf(c) == name) return c;
    if (HWND deeper = FindNamed(c, name)) return deeper;
  }
  return nullptr;
}

std::vector<HWND> RadioItems(HWND group) {
  std::vector<HWND> items;
  for (HWND c : ChildWindows(group))
    if (lstrcmpiA(ClassOf(c).c_str(), "Button") == 0) items.push_back(c);
  // In the group's order: each button's control ID is its item's number.
  std::sort(items.begin(), items.end(),
            [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
  return items;
}

RECT BoundsInParent(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Bounds(const RECT& r) {
  return Format("(%ld,%ld %ldx%ld)", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

POINT LeftPart(HWND hwnd, int dx) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return {r.left + dx, (r.top + r.bottom) / 2};
}

std::string ClockText(const SYSTEMTIME& t) {
  wchar_t date[128] = {}, time[128] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 128);
  if (t.wHour == 0 && t.wMinute == 0 && t.wSecond == 0) return Utf8(date);
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, time, 128);
  return Utf8(date) + " " + Utf8(time);
}

SYSTEMTIME LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now;
}

namespace {

ULONGLONG Ticks(const SYSTEMTIME& t) {
  FILETIME f;
  SystemTimeToFileTime(&t, &f);
  return ULARGE_INTEGER{{f.dwLowDateTime, f.dwHighDateTime}}.QuadPart;
}

}  // namespace

SYSTEMTIME AddSeconds(const SYSTEMTIME& t, long long seconds) {
  ULARGE_INTEGER at;
  at.QuadPart = Ticks(t) + seconds * 10000000LL;
  FILETIME moment{at.LowPart, at.HighPart};
  SYSTEMTIME out;
  FileTimeToSystemTime(&moment, &out);
  return out;
}

long long SecondsBetween(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return ((long long)Ticks(b) - (long long)Ticks(a)) / 10000000LL;
}

bool ProcessRunning(DWORD pid) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return true;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snap, &entry); more && !found;
       more = Process32NextW(snap, &entry))
    found = entry.th32ProcessID == pid;
  CloseHandle(snap);
  return found;
}

namespace {

void Dump(HWND hwnd, int depth) {
  RECT r;
  GetWindowRect(hwnd, &r);
  std::string name = NameOf(hwnd);
  printf("%*s%p [%s]%s%s %s %s %s pid %lu\n", depth * 2, "", (void*)hwnd, ClassOf(hwnd).c_str(),
         name.empty() ? "" : " Name=", name.c_str(), Q(TextOf(hwnd)).c_str(), Bounds(r).c_str(),
         Shown(hwnd) ? "shown" : "hidden", ProcessOf(hwnd));
  for (HWND c : ChildWindows(hwnd)) Dump(c, depth + 1);
}

constexpr const wchar_t* kRelaunchedVariable = L"DUSK_PROBE_IN_DESKTOP";

}  // namespace

void DumpWindows() {
  for (HWND h : TopLevelWindows()) Dump(h, 0);
}

std::string CurrentDesktop() {
  wchar_t name[256] = {};
  GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof name,
                            nullptr);
  return Utf8(name);
}

int RunInDesktop(const std::string& desktop) {
  if (GetEnvironmentVariableW(kRelaunchedVariable, nullptr, 0)) {
    printf("FAIL start: started in desktop %s but running in %s\n", desktop.c_str(),
           CurrentDesktop().c_str());
    return 2;
  }
  SetEnvironmentVariableW(kRelaunchedVariable, L"1");
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = GetCommandLineW(), desktopName = Wide(desktop);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.lpDesktop = desktopName.data();
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                      &pi)) {
    printf("FAIL start: cannot start in desktop %s (error %lu)\n", desktop.c_str(), GetLastError());
    return 2;
  }
  // Every wait of a step is bounded; this bound only guards against a hung child.
  DWORD exitCode = 3;
  if (WaitForSingleObject(pi.hProcess, g_timeoutMs * 6) == WAIT_OBJECT_0)
    GetExitCodeProcess(pi.hProcess, &exitCode);
  else {
    printf("FAIL start: probe did not finish\n");
    TerminateProcess(pi.hProcess, 3);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return (int)exitCode;
}

}  // namespace probe
