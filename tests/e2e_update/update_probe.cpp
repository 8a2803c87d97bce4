// Watches Dusk update itself, from outside, for the self-update end-to-end test.
//
// It runs in the same Wine virtual desktop as Dusk (a window of another desktop is invisible to
// EnumWindows); started elsewhere, it starts itself again in the named desktop and passes on the
// exit code. It starts the program itself, so that no moment of a short-lived instance is missed.
// One step per run, so that the driving script can take screenshots and steer the update server
// between steps. Each check prints "PASS <check>: ..." or "FAIL <check>: ...", a step ends with
// "RESULT <step> PASS|FAIL", and the exit code is 0 only when every check passed. Values the
// script needs come as "VALUE <name> <value>".
//
// Texts are read through the wide calls and compared and printed as UTF-8.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/probe_support.h"

namespace {

using namespace probe;

constexpr const char* kFixedName = "Dusk.exe";
constexpr const char* kDownloadedName = "upDusk.exe";
constexpr const char* kTitle = "Lumo定时关机";
constexpr const char* kProgressCaptionStart = "Lumo定时关机 正在下载最新版本 下载进度：";
constexpr DWORD kBoundMs = 30000;
// From the end of the download to the new program under the fixed name: three program starts,
// a one-second tick in between, and up to five seconds of retried copying.
constexpr DWORD kHandOverBoundMs = 90000;
// Ending takes the program no more than its message loop's turn; Wine adds a little.
constexpr DWORD kClosedBoundMs = 3000;

void Value(const char* name, unsigned long value) {
  printf("VALUE %s %lu\n", name, value);
  fflush(stdout);
}

// The program's forms of one name; of one process when pid is not 0.
std::vector<HWND> Forms(const char* name, DWORD pid = 0) {
  std::vector<HWND> found;
  for (HWND h : TopLevelWindows())
    if (ClassOf(h) == kFormClass && NameOf(h) == name && (!pid || ProcessOf(h) == pid))
      found.push_back(h);
  return found;
}

HWND OneForm(const char* name, DWORD pid) {
  std::vector<HWND> found = Forms(name, pid);
  return found.size() == 1 ? found[0] : nullptr;
}

// File and desktop names, as Windows compares them: regardless of case.
bool SameName(const std::string& a, const std::string& b) {
  return lstrcmpiW(Wide(a).c_str(), Wide(b).c_str()) == 0;
}

// Process id -> file name of its program ("Dusk.exe").
std::map<DWORD, std::string> Processes() {
  std::map<DWORD, std::string> found;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snap, &entry); more; more = Process32NextW(snap, &entry))
    found[entry.th32ProcessID] = Utf8(entry.szExeFile);
  CloseHandle(snap);
  return found;
}

std::string MainCaption(const std::string& version) {
  return std::string(kTitle) + "     " + version;
}

// The main window of the process, shown, with the caption of the version.
HWND ShownMainWindow(DWORD pid, const std::string& version) {
  HWND main = OneForm("Form1", pid);
  return main && Shown(main) && TextOf(main) == MainCaption(version) ? main : nullptr;
}

bool CheckMainWindow(DWORD pid, const std::string& version, const char* check) {
  HWND main = nullptr;
  bool shown =
      WaitFor([&] { return (main = ShownMainWindow(pid, version)) || !ProcessRunning(pid); }) &&
      main;
  HWND any = OneForm("Form1", pid);
  Check(shown, check,
        shown ? Format("process %lu shows its main window ", pid) + Q(TextOf(main))
              : Format("process %lu %s: %s", pid, ProcessRunning(pid) ? "runs" : "has ended",
                       any ? (Q(TextOf(any)) + (Shown(any) ? " shown" : " hidden")).c_str()
                           : "no single Form1") +
                    ", expected " + Q(MainCaption(version)) + " shown");
  return shown;
}

// Starts a program in this desktop, as the user would from a folder: nothing on its command line.
DWORD Launch(const std::string& path) {
  std::wstring commandLine = Wide("\"" + path + "\"");
  std::wstring folder = Wide(path.substr(0, path.find_last_of('\\') + 1));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(Wide(path).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &si, &pi)) {
    Check(false, "start", Format("cannot start %s (error %lu)", path.c_str(), GetLastError()));
    return 0;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  Value("PID", pi.dwProcessId);
  return pi.dwProcessId;
}

// The caption's percentage, or -1 when the caption is not a progress caption.
int PercentOf(const std::string& caption) {
  const std::string start = kProgressCaptionStart;
  if (caption.compare(0, start.size(), start) != 0 || caption.back() != '%') return -1;
  const std::string digits = caption.substr(start.size(), caption.size() - start.size() - 1);
  if (digits.empty() || digits.size() > 3 ||
      digits.find_first_not_of("0123456789") != std::string::npos)
    return -1;
  return atoi(digits.c_str());
}

// A caption that stays the same while the bar is read belongs to that bar reading.
struct ProgressReading {
  std::string caption;
  int percent = -1;
  LRESULT position = 0;
  LRESULT maximum = 0;
};

ProgressReading ReadProgress(HWND upForm, HWND bar) {
  ProgressReading reading;
  for (int attempt = 0; attempt < 20; ++attempt) {
    reading.caption = TextOf(upForm);
    DWORD_PTR position = 0, maximum = 0;
    SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &position);
    SendMessageTimeoutW(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &maximum);
    reading.position = (LRESULT)position;
    reading.maximum = (LRESULT)maximum;
    if (TextOf(upForm) == reading.caption) break;
  }
  reading.percent = PercentOf(reading.caption);
  return reading;
}

// ---- steps ----

// Starts the program from its folder and waits for its main window with the version's caption.
void StepLaunch(const std::string& path, const std::string& version) {
  DWORD pid = Launch(path);
  if (!pid) return;
  CheckMainWindow(pid, version, "main window");
  // The alarm window is made when it first shows. (Whether the progress window shows by now
  // depends on how fast the update check was.)
  Check(Forms("TipForm", pid).empty(), "no alarm window yet", "no TipForm");
}

// The download of the new program is under way and held by the server half-way: the progress
// window shows the percentage reached, and the main window goes on being served meanwhile.
void StepDownloading(DWORD pid) {
  // Made when it first shows, as the download starts.
  HWND upForm = nullptr;
  WaitFor([&] { return (upForm = OneForm("UpForm", pid)) != nullptr; });
  HWND bar = upForm ? FindNamed(upForm, "ProgressBar1") : nullptr;
  Check(upForm && bar, "progress window", upForm ? "UpForm with ProgressBar1" : "no UpForm");
  if (!upForm || !bar) return;
  ProgressReading reading;
  bool midway = WaitFor([&] {
    reading = ReadProgress(upForm, bar);
    return Shown(upForm) && reading.percent >= 1 && reading.percent <= 99;
  });
  Check(
      midway, "progress caption",
      Q(reading.caption) + (Shown(upForm) ? " shown" : " hidden") +
          Format(" (bar at %ld of %ld), expected ", (long)reading.position, (long)reading.maximum) +
          Q(std::string(kProgressCaptionStart) + "N%") + " with N from 1 to 99 while held");
  if (!midway) return;
  Value("PERCENT", (unsigned long)reading.percent);
  // What the caption says is what the bar holds.
  int fromBar = reading.maximum > 0 ? (int)(reading.position * 100.0 / reading.maximum) : 0;
  Check(fromBar == reading.percent, "progress bar",
        Format("position %ld of %ld is %d%%, caption %d%%", (long)reading.position,
               (long)reading.maximum, fromBar, reading.percent));

  RECT r;
  GetWindowRect(upForm, &r);
  Check(r.left == 436 && r.top == 440 && r.right - r.left == 595 && r.bottom - r.top == 70,
        "progress window place", Bounds(r) + " expected (436,440 595x70)");
  RECT b;
  GetWindowRect(bar, &b);
  MapWindowPoints(nullptr, upForm, reinterpret_cast<POINT*>(&b), 2);
  Check(b.left == 5 && b.top == 6 && b.right - b.left == 580 && b.bottom - b.top == 30,
        "progress bar place", Bounds(b) + " expected (5,6 580x30)");

  HWND main = OneForm("Form1", pid);
  Check(main && Shown(main), "main window kept", "still shown during the download");
  HWND clock = main ? FindNamed(main, "LabelNow") : nullptr;
  std::string first = clock ? TextOf(clock) : "", next;
  bool ticking = clock && WaitFor([&] { return (next = TextOf(clock)) != first; }, 5000);
  Check(ticking, "main window served",
        ticking ? "the clock went on from " + Q(first) + " to " + Q(next) + " while downloading"
                : "the clock stood at " + Q(first));
}

// Creates the file that lets the update server send the rest of the held download.
bool Release(const std::string& releaseFile) {
  HANDLE file = CreateFileW(Wide(releaseFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The old program starts the downloaded one and ends; that one copies itself over the fixed name,
// starts it and ends; the program under the fixed name runs the new version. The download is let
// go from here, once the processes are being watched: the downloaded program lives for about a
// second only.
void StepHandOver(DWORD oldPid, const std::string& version, const std::string& releaseFile) {
  // Each process in the order first seen, with its file name.
  std::vector<std::pair<DWORD, std::string>> seen;
  DWORD newPid = 0;
  auto knownAt = [&](DWORD pid) {
    for (size_t i = 0; i < seen.size(); ++i)
      if (seen[i].first == pid) return (int)i;
    return -1;
  };
  auto downloadedSeen = [&] {
    for (auto& p : seen)
      if (SameName(p.second, kDownloadedName)) return p.first;
    return (DWORD)0;
  };
  bool released = false;
  bool done = WaitFor(
      [&] {
        std::map<DWORD, std::string> now = Processes();
        // A process just created may show without its file name for a moment.
        for (auto& [pid, exe] : now) {
          int at = knownAt(pid);
          if (at < 0)
            seen.emplace_back(pid, exe);
          else if (seen[at].second.empty())
            seen[at].second = exe;
        }
        if (!released) {
          released = true;
          Check(Release(releaseFile), "download let go", "created " + releaseFile);
        }
        DWORD downloaded = downloadedSeen();
        newPid = 0;
        for (HWND h : Forms("Form1")) {
          DWORD pid = ProcessOf(h);
          if (pid != oldPid && now.count(pid) && SameName(now[pid], kFixedName) && Shown(h) &&
              TextOf(h) == MainCaption(version))
            newPid = pid;
        }
        return !now.count(oldPid) && downloaded && !now.count(downloaded) && newPid;
      },
      kHandOverBoundMs);
  std::map<DWORD, std::string> now = Processes();
  Check(!now.count(oldPid), "old program ended",
        Format("process %lu %s", oldPid, now.count(oldPid) ? "still runs" : "gone"));
  DWORD downloaded = downloadedSeen();
  std::string all;
  for (auto& [pid, exe] : seen) all += Format(" %lu:%s", pid, exe.c_str());
  Check(downloaded != 0, "downloaded program started",
        downloaded ? Format("%s ran as process %lu", kDownloadedName, downloaded)
                   : Format("no process %s seen among", kDownloadedName) + all);
  if (downloaded)
    Check(!now.count(downloaded), "downloaded program ended",
          Format("process %lu %s", downloaded, now.count(downloaded) ? "still runs" : "gone"));
  Check(newPid != 0, "new program under the fixed name",
        newPid ? Format("%s process %lu shows ", kFixedName, newPid) +
                     Q(TextOf(OneForm("Form1", newPid)))
               : "no " + std::string(kFixedName) + " process shows " + Q(MainCaption(version)));
  if (!done) return;
  Check(knownAt(downloaded) < knownAt(newPid), "hand-over order",
        Format("%s (process %lu) before %s (process %lu)", kDownloadedName, downloaded, kFixedName,
               newPid));
  size_t mains = Forms("Form1").size();
  Check(mains == 1, "one program", Format("%zu main window(s) in the desktop", mains));
  Value("PID", newPid);
}

// Started under another name, the program copies itself to the fixed name, starts that copy at
// its first tick and ends.
void StepRelocation(const std::string& path, const std::string& version) {
  DWORD pid = Launch(path);
  if (!pid) return;
  bool shownFirst = WaitFor([&] { return ShownMainWindow(pid, version) || !ProcessRunning(pid); });
  if (shownFirst && ShownMainWindow(pid, version)) Note("the program showed its main window first");
  DWORD fixedPid = 0;
  bool done = WaitFor(
      [&] {
        std::map<DWORD, std::string> now = Processes();
        fixedPid = 0;
        for (HWND h : Forms("Form1")) {
          DWORD owner = ProcessOf(h);
          if (owner != pid && now.count(owner) && SameName(now[owner], kFixedName) && Shown(h) &&
              TextOf(h) == MainCaption(version))
            fixedPid = owner;
        }
        return !now.count(pid) && fixedPid;
      },
      kHandOverBoundMs);
  Check(!ProcessRunning(pid), "started program ended", Format("process %lu", pid));
  Check(fixedPid != 0, "program under the fixed name",
        fixedPid ? Format("%s process %lu shows its main window", kFixedName, fixedPid)
                 : "no " + std::string(kFixedName) + " process shows " + Q(MainCaption(version)));
  if (!done) return;
  size_t mains = Forms("Form1").size();
  Check(mains == 1, "one program", Format("%zu main window(s) in the desktop", mains));
  Value("PID", fixedPid);
}

// The program runs on undisturbed: its main window ticks, the progress window stays hidden, and
// nothing else of it shows (no message box).
void StepQuiet(DWORD pid, const std::string& version) {
  if (!CheckMainWindow(pid, version, "main window")) return;
  HWND main = OneForm("Form1", pid);
  HWND clock = main ? FindNamed(main, "LabelNow") : nullptr;
  // Two ticks: at least a second of the program's own time, beyond the 300 ms update poll.
  std::string first = clock ? TextOf(clock) : "", last = first;
  int changes = 0;
  bool ticked = clock && WaitFor(
                             [&] {
                               std::string text = TextOf(clock);
                               if (text != last) ++changes, last = text;
                               return changes >= 2;
                             },
                             10000);
  Check(ticked, "runs on",
        Format("the clock changed %d time(s): ", changes) + Q(first) + " to " + Q(last));
  // A failed download hides the progress window when its end is told, a moment after the server
  // is done with it.
  HWND upForm = OneForm("UpForm", pid);
  if (upForm) WaitFor([&] { return !Shown(upForm); });
  Check(!upForm || !Shown(upForm), "no progress window",
        upForm ? (Shown(upForm) ? "UpForm shown: " + Q(TextOf(upForm)) : "UpForm hidden")
               : "no UpForm: it never showed");
  std::string others;
  for (HWND h : TopLevelWindows())
    if (ProcessOf(h) == pid && h != main && Shown(h))
      others += " [" + ClassOf(h) + "] " + NameOf(h) + " " + Q(TextOf(h));
  Check(others.empty(), "nothing else shown",
        others.empty() ? "only the main window" : "also shown:" + others);
  Check(ProcessRunning(pid), "still running", Format("process %lu", pid));
}

// Closed as by its close button, the program ends at once, whatever request of it still runs.
void StepClose(DWORD pid) {
  HWND main = OneForm("Form1", pid);
  Check(main != nullptr, "main window", Format("process %lu has one", pid));
  if (!main) return;
  const ULONGLONG asked = GetTickCount64();
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  bool ended = WaitFor([&] { return !ProcessRunning(pid); }, kClosedBoundMs);
  Check(ended, "ended at once",
        ended ? Format("process %lu gone %llu ms after the close", pid, GetTickCount64() - asked)
              : Format("process %lu still runs %lu ms after the close", pid, kClosedBoundMs));
}

// Every process and window of the desktop, for the artifacts of a failed run.
void StepTree() {
  for (auto& [pid, exe] : Processes()) printf("process %lu %s\n", pid, exe.c_str());
  DumpWindows();
}

int Usage() {
  fprintf(stderr,
          "usage: update_probe DESKTOP STEP ARGS...\n"
          "  launch EXE VERSION        start EXE (a Windows path), wait for its main window\n"
          "  downloading PID           the progress window shows a percentage from 1 to 99\n"
          "  handover OLDPID VERSION RELEASE\n"
          "                            create RELEASE (a Windows path) to let the held download\n"
          "                            go on; the update ends in Dusk.exe running VERSION\n"
          "  relocation EXE VERSION    start EXE, which hands over to Dusk.exe beside it\n"
          "  quiet PID VERSION         the program runs on with nothing but its main window\n"
          "  close PID                 closed by its close button, the program ends at once\n"
          "  tree                      every process and window of the desktop\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string desktop = argv[1], step = argv[2];
  std::vector<std::string> args(argv + 3, argv + argc);
  auto pidArg = [&] { return (DWORD)strtoul(args[0].c_str(), nullptr, 10); };

  probe::g_timeoutMs = kBoundMs;
  if (!SameName(probe::CurrentDesktop(), desktop)) return probe::RunInDesktop(desktop);

  if (step == "launch" && args.size() == 2)
    StepLaunch(args[0], args[1]);
  else if (step == "downloading" && args.size() == 1)
    StepDownloading(pidArg());
  else if (step == "handover" && args.size() == 3)
    StepHandOver(pidArg(), args[1], args[2]);
  else if (step == "relocation" && args.size() == 2)
    StepRelocation(args[0], args[1]);
  else if (step == "quiet" && args.size() == 2)
    StepQuiet(pidArg(), args[1]);
  else if (step == "close" && args.size() == 1)
    StepClose(pidArg());
  else if (step == "tree")
    StepTree();
  else
    return Usage();

  printf("RESULT %s %s\n", step.c_str(), probe::g_failures ? "FAIL" : "PASS");
  return probe::g_failures ? 1 : 0;
}
