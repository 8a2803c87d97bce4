// One copy per session, seen from outside: the program started in the tray shows no window, and
// a second start of it ends at once and brings the running copy's main window to the front.
//
// Every step takes the path of a state file, which keeps the running copy's process id.

#include <windows.h>

#include <tlhelp32.h>

#include <cstdlib>
#include <string>

#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

constexpr const char* kHeadlineNoTasks = "你还没有添加定时任务。     ";

// The processes of the program by its file name, whatever their folder.
int DuskProcesses() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    count += lstrcmpiW(entry.szExeFile, L"Dusk.exe") == 0;
  }
  CloseHandle(snapshot);
  return count;
}

std::wstring ImageOf(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return L"";
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  if (!QueryFullProcessImageNameW(process, 0, path, &size)) path[0] = 0;
  CloseHandle(process);
  return path;
}

// Started with "/tray": up and ticking, its icon in the tray, its main window never shown.
void StepInstanceTray(const std::string& statePath) {
  State state(statePath);
  HWND main = nullptr;
  bool up = WaitFor([&] { return (main = MainWindow()) != nullptr; });
  Check(up, "main window made", up ? "one Form1" : "no Form1");
  if (!up) return;
  // The main window exists before its controls do: the label is looked for inside the wait.
  HWND title = nullptr;
  bool ticked = WaitFor([&] {
    if (!title) title = FindNamed(main, "Title");
    return title && TextOf(title) == kHeadlineNoTasks;
  });
  Check(ticked, "running", "headline " + Q(title ? TextOf(title) : "(no Title)"));
  Check(!Shown(main), "main window hidden", Shown(main) ? "shown" : "not shown");
  CheckTaskbarEntries("no taskbar entry", 0);
  CheckOneTrayIcon("tray icon");
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  state.Set("pid", std::to_string(pid));
  Note("running copy: process " + std::to_string(pid) + " " + Utf8(ImageOf(pid)));
}

// Dusk.exe started once more, from its folder as a shortcut starts it: that process ends at once
// and the copy that was running comes to the front, out of the tray.
void StepInstanceSecond(const std::string& statePath) {
  const State state(statePath);
  const DWORD first = strtoul(state.Get("pid").c_str(), nullptr, 10);
  const std::wstring program = ImageOf(first);
  Check(!program.empty(), "running copy", Format("process %lu", first));
  if (program.empty()) return;
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION second{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &second)) {
    Check(false, "second start", Format("CreateProcess failed: error %lu", GetLastError()));
    return;
  }
  CloseHandle(second.hThread);
  const bool ended = WaitForSingleObject(second.hProcess, g_timeoutMs) == WAIT_OBJECT_0;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(second.hProcess, &code);
  CloseHandle(second.hProcess);
  Check(ended && code == 0, "second start ended",
        Format("process %lu %s, exit code %lu", second.dwProcessId,
               ended ? "ended" : "still running", code));

  Check(ProcessRunning(first), "first copy runs on", Format("process %lu", first));
  int processes = -1;
  const bool one = WaitFor([&] { return (processes = DuskProcesses()) == 1; });
  Check(one, "one copy", Format("%d Dusk.exe process(es)", processes));
  HWND main = MainWindow();
  const bool shown = main && WaitFor([&] { return Shown(main) && !IsIconic(main); });
  Check(shown, "main window shown", shown ? "shown, not minimised" : "not shown");
  const bool front = shown && WaitFor([&] { return GetForegroundWindow() == main; });
  Check(front, "main window in front",
        front ? "the foreground window" : "another window is in front");
  CheckTaskbarEntries("taskbar entry", 1);
}

}  // namespace

const std::vector<Step>& InstanceSteps() {
  static const std::vector<Step> steps = {
      {"instance-tray", "STATE", StepInstanceTray},
      {"instance-second", "STATE", StepInstanceSecond},
  };
  return steps;
}

}  // namespace probe
