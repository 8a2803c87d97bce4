// Times how long programs take from being started to showing their main window.
//
//   launch_timer [options] PROGRAM TARGET [PROGRAM TARGET ...]
//
// TARGET is the window class of the program's main window, optionally narrowed by a window
// property holding a global atom: CLASS or CLASS:PROPERTY=VALUE (for example
// DuskForm:Name=Form1, since Dusk also creates hidden windows of its main window's class).
//
// A run starts the program with CreateProcessA, polls until a top-level window of that class
// owned by the new process has WS_VISIBLE set on itself and every ancestor, and takes the time
// between the two with QueryPerformanceCounter. The program is then asked to close (WM_CLOSE
// to that window) and terminated if it is still there after a bounded wait, so the next run
// starts from the same state. With several programs, runs alternate between them and the order
// flips every round (A B, B A, A B, ...), so that neither always comes right after the other.
//
// This must run in the same desktop as the windows it looks for: from another Wine desktop
// EnumWindows does not see them and IsWindowVisible answers wrongly. --desktop=NAME starts
// this program again inside that desktop (which must already exist), handing on the standard
// handles and the exit code.
//
// Output lines, also appended to --out=FILE when given:
//   RUN <program> <n> <ms>        one measured run
//   WARMUP <program> <n> <ms>     a run that is shown but left out of the median
//   FAIL <program> <n> <reason>   a run that did not show its window
//   MEDIAN <program> <ms> <runs>  the median of the measured runs
//   RATIO <first>/<second> <x>    first program's median over the second's (two programs)
//   SHOWN <program> <ms> PID <windows-pid>   with --leave-running
//   DONE <exit code>              the last line: the timer is through
// Exit code: 0 when every run showed its window, 1 otherwise, 2 for bad arguments.

#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Options {
  int runs = 7;
  int warmups = 1;
  DWORD pollMs = 5;
  DWORD timeoutMs = 30000;
  DWORD closeMs = 5000;
  DWORD gapMs = 500;
  bool leaveRunning = false;
  std::string desktop;
  std::string outFile;
};

struct Target {
  std::string program;  // Windows path
  std::string label;    // file name, for the output
  std::string windowClass;
  std::string property;  // empty: any window of the class
  std::string propertyValue;
  std::vector<double> times;
};

Options g_options;
FILE* g_out = nullptr;

void Emit(const char* fmt, ...) {
  char line[1024];
  va_list args;
  va_start(args, fmt);
  vsnprintf(line, sizeof line, fmt, args);
  va_end(args);
  fputs(line, stdout);
  fflush(stdout);
  if (g_out) {
    fputs(line, g_out);
    fflush(g_out);
  }
}

double Millis(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// IsWindowVisible is only trusted inside the window's own desktop; the styles are right from
// anywhere, and walking them costs no more.
bool Shown(HWND hwnd) {
  const HWND desktop = GetDesktopWindow();
  for (HWND h = hwnd; h && h != desktop; h = GetAncestor(h, GA_PARENT)) {
    if (!(GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE)) return false;
  }
  return true;
}

bool HasProperty(HWND hwnd, const Target& target) {
  if (target.property.empty()) return true;
  const auto atom =
      static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, target.property.c_str())));
  if (!atom) return false;
  char name[256] = {};
  if (!GlobalGetAtomNameA(atom, name, sizeof name)) return false;
  return target.propertyValue == name;
}

// The shown main window of the process, or null.
HWND FindShownWindow(const Target& target, DWORD processId) {
  HWND hwnd = nullptr;
  while ((hwnd = FindWindowExA(nullptr, hwnd, target.windowClass.c_str(), nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == processId && Shown(hwnd) && HasProperty(hwnd, target)) return hwnd;
  }
  return nullptr;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t separator = path.find_last_of('\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

void EndProgram(const Target& target, const PROCESS_INFORMATION& pi, HWND hwnd, int run) {
  if (hwnd) PostMessageA(hwnd, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, hwnd ? g_options.closeMs : 0) == WAIT_OBJECT_0) return;
  Emit("NOTE %s %d did not end on WM_CLOSE within %lu ms; terminated\n", target.label.c_str(), run,
       (unsigned long)g_options.closeMs);
  TerminateProcess(pi.hProcess, 1);
  WaitForSingleObject(pi.hProcess, 5000);
}

// One start of the program; returns the time to the shown window in ms, or a negative value.
double TimeOneStart(Target& target, int run, bool warmup) {
  std::string commandLine = "\"" + target.program + "\"";
  const std::string directory = DirectoryOf(target.program);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};

  LARGE_INTEGER started;
  QueryPerformanceCounter(&started);
  if (!CreateProcessA(target.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, directory.empty() ? nullptr : directory.c_str(), &si, &pi)) {
    Emit("FAIL %s %d cannot start (error %lu)\n", target.label.c_str(), run, GetLastError());
    return -1;
  }

  HWND hwnd = nullptr;
  double elapsed = -1;
  const char* failure = nullptr;
  for (;;) {
    hwnd = FindShownWindow(target, pi.dwProcessId);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (hwnd) {
      elapsed = Millis(started, now);
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
      failure = "ended before showing its window";
      break;
    }
    if (Millis(started, now) > g_options.timeoutMs) {
      failure = "window not shown in time";
      break;
    }
    Sleep(g_options.pollMs);
  }

  if (failure) {
    Emit("FAIL %s %d %s\n", target.label.c_str(), run, failure);
  } else if (g_options.leaveRunning) {
    Emit("SHOWN %s %.1f PID %lu\n", target.label.c_str(), elapsed, (unsigned long)pi.dwProcessId);
  } else {
    Emit("%s %s %d %.1f\n", warmup ? "WARMUP" : "RUN", target.label.c_str(), run, elapsed);
  }
  if (!g_options.leaveRunning || failure) EndProgram(target, pi, hwnd, run);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string CurrentDesktop() {
  char name[256] = {};
  GetUserObjectInformationA(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof name,
                            nullptr);
  return name;
}

// Starts this program again in the named desktop with the same command line and waits for it.
int RunInDesktop(const std::string& desktop, DWORD boundMs) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string commandLine = GetCommandLineA();
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.lpDesktop = const_cast<char*>(desktop.c_str());
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                      &pi)) {
    fprintf(stderr, "cannot start in desktop %s (error %lu)\n", desktop.c_str(), GetLastError());
    return 2;
  }
  DWORD exitCode = 1;
  if (WaitForSingleObject(pi.hProcess, boundMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(pi.hProcess, &exitCode);
  } else {
    fprintf(stderr, "the timer in desktop %s did not finish; terminated\n", desktop.c_str());
    TerminateProcess(pi.hProcess, 1);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return (int)exitCode;
}

int Usage() {
  fprintf(stderr,
          "usage: launch_timer [--runs=N] [--warmup=N] [--poll-ms=N] [--timeout=SECONDS]\n"
          "                    [--close-ms=N] [--gap-ms=N] [--desktop=NAME] [--out=FILE]\n"
          "                    [--leave-running] PROGRAM CLASS[:PROPERTY=VALUE] [...]\n");
  return 2;
}

bool Starts(const char* arg, const char* prefix, const char** value) {
  const std::size_t n = strlen(prefix);
  if (strncmp(arg, prefix, n) != 0) return false;
  *value = arg + n;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Target> targets;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const char* v = nullptr;
    if (Starts(argv[i], "--runs=", &v))
      g_options.runs = atoi(v);
    else if (Starts(argv[i], "--warmup=", &v))
      g_options.warmups = atoi(v);
    else if (Starts(argv[i], "--poll-ms=", &v))
      g_options.pollMs = strtoul(v, nullptr, 10);
    else if (Starts(argv[i], "--timeout=", &v))
      g_options.timeoutMs = strtoul(v, nullptr, 10) * 1000;
    else if (Starts(argv[i], "--close-ms=", &v))
      g_options.closeMs = strtoul(v, nullptr, 10);
    else if (Starts(argv[i], "--gap-ms=", &v))
      g_options.gapMs = strtoul(v, nullptr, 10);
    else if (Starts(argv[i], "--desktop=", &v))
      g_options.desktop = v;
    else if (Starts(argv[i], "--out=", &v))
      g_options.outFile = v;
    else if (strcmp(argv[i], "--leave-running") == 0)
      g_options.leaveRunning = true;
    else if (strncmp(argv[i], "--", 2) == 0)
      return Usage();
    else
      positional.emplace_back(argv[i]);
  }
  if (positional.empty() || positional.size() % 2 || g_options.runs < 1 || g_options.warmups < 0)
    return Usage();
  if (g_options.leaveRunning) {
    // One start of one program, left running for whoever measures it next.
    if (positional.size() != 2) return Usage();
    g_options.runs = 1;
    g_options.warmups = 0;
  }

  if (!g_options.desktop.empty() &&
      lstrcmpiA(CurrentDesktop().c_str(), g_options.desktop.c_str()) != 0) {
    const std::size_t starts = positional.size() / 2 * (g_options.runs + g_options.warmups);
    const DWORD perStart = g_options.timeoutMs + g_options.closeMs + g_options.gapMs + 10000;
    return RunInDesktop(g_options.desktop, static_cast<DWORD>(starts) * perStart + 30000);
  }

  if (!g_options.outFile.empty()) g_out = fopen(g_options.outFile.c_str(), "a");

  for (std::size_t i = 0; i < positional.size(); i += 2) {
    Target t;
    t.program = positional[i];
    std::replace(t.program.begin(), t.program.end(), '/', '\\');
    const std::size_t slash = t.program.find_last_of('\\');
    t.label = slash == std::string::npos ? t.program : t.program.substr(slash + 1);
    const std::string& awaited = positional[i + 1];
    const std::size_t colon = awaited.find(':');
    t.windowClass = awaited.substr(0, colon);
    if (colon != std::string::npos) {
      const std::size_t equals = awaited.find('=', colon);
      if (equals == std::string::npos) return Usage();
      t.property = awaited.substr(colon + 1, equals - colon - 1);
      t.propertyValue = awaited.substr(equals + 1);
    }
    targets.push_back(std::move(t));
  }

  Emit("NOTE desktop %s, %d measured run(s) and %d warm-up(s) per program, poll %lu ms\n",
       CurrentDesktop().c_str(), g_options.runs, g_options.warmups,
       (unsigned long)g_options.pollMs);

  bool allShown = true;
  const int rounds = g_options.warmups + g_options.runs;
  for (int round = 0; round < rounds; ++round) {
    const bool warmup = round < g_options.warmups;
    const int run = warmup ? round + 1 : round - g_options.warmups + 1;
    for (std::size_t k = 0; k < targets.size(); ++k) {
      Target& t = targets[round % 2 ? targets.size() - 1 - k : k];
      const double ms = TimeOneStart(t, run, warmup);
      if (ms < 0)
        allShown = false;
      else if (!warmup)
        t.times.push_back(ms);
      // Let the desktop finish with the old window (tray icon, taskbar button) first.
      if (!g_options.leaveRunning) Sleep(g_options.gapMs);
    }
  }

  if (!g_options.leaveRunning) {
    for (const Target& t : targets) {
      if (!t.times.empty())
        Emit("MEDIAN %s %.1f %zu\n", t.label.c_str(), Median(t.times), t.times.size());
    }
    if (targets.size() == 2 && !targets[0].times.empty() && !targets[1].times.empty()) {
      Emit("RATIO %s/%s %.2f\n", targets[0].label.c_str(), targets[1].label.c_str(),
           Median(targets[0].times) / Median(targets[1].times));
    }
  }
  Emit("DONE %d\n", allShown ? 0 : 1);
  if (g_out) fclose(g_out);
  return allShown ? 0 : 1;
}
