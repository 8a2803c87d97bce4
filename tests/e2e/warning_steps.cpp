// The warning window before a shut-down, seen from outside: the steps of the end-to-end test
// that enter a "关机" task some tens of seconds ahead through the real controls and watch the
// window come in its last half minute, above a full-screen program that keeps the keyboard,
// and put the task off or cancel it with the window's buttons; and a start-program task for a
// file that is not there, whose failure a balloon tells.
//
// Every step takes the path of a state file, which carries the due moment, the expected task
// list and the full-screen helper's process from step to step.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "action_support.h"
#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

constexpr const char* kWarnTitle = "Lumo定时关机";
constexpr const char* kPostpone5 = "推迟5分钟";
constexpr const char* kPostpone30 = "推迟30分钟";
constexpr const char* kCancelTask = "取消任务";
constexpr const char* kRunNow = "立即执行";
constexpr const char* kCountdownEnd = "秒后关机。";
constexpr const char* kFailedTask = "未能执行的任务：";
constexpr const char* kCannotOpen = "无法打开：";
constexpr const char* kMissingProgram = "C:\\dusk-e2e\\no-such-program.exe";
constexpr const char* kCoverImage = "dusk_e2e_cover.exe";
constexpr const char* kCoverTitle = "Dusk全屏 e2e";
constexpr int kStartProgram = 4;
constexpr int kWarningSeconds = 30;

// The warning comes 30 seconds before the task: the add must come before that, with time left
// for the full-screen helper to start.
constexpr Lead kShutDownLead{50, 38};
constexpr Lead kStartLead{18, 6};
// A task postponed by five minutes comes due five minutes after the press, by the program's
// second, which may differ from ours by one either way.
constexpr long long kPostponeSeconds = 5 * kSecondsPerMinute;
// The program performs a task in the tick whose distance to it is 0, and a balloon shows a
// moment after it was asked for.
constexpr long long kFailureLatest = 8;

struct WarnForm {
  HWND form = nullptr, task = nullptr, countdown = nullptr;
  HWND postpone5 = nullptr, postpone30 = nullptr, cancel = nullptr, runNow = nullptr;
};

std::optional<WarnForm> FindWarnForm() {
  std::vector<HWND> forms = Forms("WarnForm");
  if (forms.size() != 1) {
    Check(false, "WarnForm", Format("%zu top-level forms named WarnForm", forms.size()));
    return std::nullopt;
  }
  HWND f = forms[0];
  WarnForm w{f,
             FindNamed(f, "LabelWarnTask"),
             FindNamed(f, "LabelCountdown"),
             FindNamed(f, "ButtonPostpone5"),
             FindNamed(f, "ButtonPostpone30"),
             FindNamed(f, "ButtonCancelTask"),
             FindNamed(f, "ButtonRunNow")};
  bool complete = w.task && w.countdown && w.postpone5 && w.postpone30 && w.cancel && w.runNow;
  Check(complete, "WarnForm controls",
        complete ? "labels and buttons found" : "a label or button is missing");
  if (!complete) return std::nullopt;
  return w;
}

long long Due(const State& state) { return atoll(state.Get("due").c_str()); }

std::string CoverPath() { return BesideProbe(kCoverImage); }

HWND CoverWindow(DWORD pid) {
  for (HWND h : TopLevelWindows())
    if (ProcessOf(h) == pid && TextOf(h).rfind(kCoverTitle, 0) == 0 && Shown(h)) return h;
  return nullptr;
}

// The Enter and Space keys the helper received, from its title.
int CoverKeys(HWND cover) { return atoi(TextOf(cover).c_str() + strlen(kCoverTitle)); }

// The helper is the foreground window and its window has the keyboard focus.
bool CoverHasKeyboard(HWND cover, std::string* detail) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND front = GetForegroundWindow();
  bool focused = GetGUIThreadInfo(GetWindowThreadProcessId(cover, nullptr), &info) &&
                 info.hwndFocus == cover && info.hwndActive == cover;
  if (detail)
    *detail = "foreground " + Describe(front) + ", focus in its thread " + Describe(info.hwndFocus);
  return front == cover && focused;
}

// Drops the rows whose caption starts with `prefix` and whose due second is `due`.
void RemoveRow(State& state, const std::string& prefix, long long due) {
  std::vector<ExpectedRow> rows = state.Rows();
  state.ClearRows();
  for (const ExpectedRow& row : rows)
    if (row.prefix != prefix || row.earliest > due || row.latest < due) state.AddRow(row);
}

// ---- the steps: a shut-down task, warned of ----

void StepShutDownEntry(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  if (!ClickRadio(p->radio2, kTurnOff, "shut-down kind")) return;
  PlanDueMoment(*p, state, kShutDownLead.typed);
}

void StepShutDownAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  AddAtDueMoment(*p, state, "关机：", kShutDownLead);
}

// A full-screen program over everything, holding the keyboard.
void StepCover(const std::string& statePath) {
  State state(statePath);
  std::string path = CoverPath(), commandLine = "\"" + path + "\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION cover{};
  std::wstring wideCommandLine = Wide(commandLine);
  if (!CreateProcessW(Wide(path).c_str(), wideCommandLine.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &si, &cover)) {
    Check(false, "full-screen helper",
          Format("cannot start %s (error %lu)", path.c_str(), GetLastError()));
    return;
  }
  CloseHandle(cover.hThread);
  CloseHandle(cover.hProcess);
  state.Set("cover-pid", std::to_string(cover.dwProcessId));
  HWND window = nullptr;
  bool up = WaitFor([&] { return (window = CoverWindow(cover.dwProcessId)) != nullptr; });
  Check(up, "full-screen helper shown", Format("process %lu", cover.dwProcessId));
  if (!up) return;
  RECT r = WindowBounds(window);
  RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
  screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  Check(EqualRect(&r, &screen) && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST),
        "helper covers the screen",
        "topmost at " + Bounds(r) + ", the virtual screen " + Bounds(screen));
  std::string detail;
  bool keyboard = WaitFor([&] { return CoverHasKeyboard(window, &detail); });
  Check(keyboard, "helper has the keyboard", detail);
  std::vector<HWND> forms = Forms("WarnForm");
  Check(forms.empty() || !Shown(forms[0]), "no warning before its half minute",
        Format("%lld s before the due moment", Due(state) - Now()));
}

// Milliseconds into the local second, and the local second.
struct Instant {
  long long second;
  int millisecond;
};

Instant InstantNow() {
  SYSTEMTIME t = LocalNow();
  return {SecondsOf(t), t.wMilliseconds};
}

long long MillisecondsBetween(const Instant& a, const Instant& b) {
  return (b.second - a.second) * 1000 + (b.millisecond - a.millisecond);
}

// Polls every few milliseconds, for timing; false when the bound passed.
bool PollFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    Sleep(5);
  }
  return true;
}

HWND ShownWarnForm() {
  std::vector<HWND> forms = Forms("WarnForm");
  return forms.size() == 1 && Shown(forms[0]) ? forms[0] : nullptr;
}

// Seconds from the countdown label, as in "29秒后关机。"; nullopt when it reads otherwise.
std::optional<int> CountdownSeconds(const std::string& text) {
  char* end = nullptr;
  long seconds = strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || std::string(end) != kCountdownEnd) return std::nullopt;
  return (int)seconds;
}

// The window is opened by the tick that finds the task half a minute ahead: seen to the
// millisecond, and the tick's moment told by the next one, which changes the countdown a second
// later.
void TimeTheWarning(long long due) {
  WaitUntil(due - kWarningSeconds - 2);
  Instant shown{};
  bool seen = PollFor(
      [&] {
        shown = InstantNow();
        return ShownWarnForm() != nullptr;
      },
      (DWORD)(std::max(0LL, due - kWarningSeconds - Now()) + 4) * 1000);
  Check(seen && shown.second >= due - kWarningSeconds - 1 && shown.second <= due - kWarningSeconds,
        "warning on time",
        (seen ? "WarnForm shown at " + At(shown.second) : std::string("WarnForm not shown")) +
            ", the task due at " + At(due));
  if (!seen) return;
  HWND label = FindNamed(ShownWarnForm(), "LabelCountdown");
  std::string first = TextOf(label), next;
  Instant changed{};
  bool ticked = PollFor(
      [&] {
        changed = InstantNow();
        return (next = TextOf(label)) != first;
      },
      3000);
  if (!ticked) {
    Note("the countdown stayed at " + Q(first) + " for 3 s");
    return;
  }
  long long shownToNextTick = MillisecondsBetween(shown, changed);
  printf(
      "FIGURE tick-to-window %lld ms (window seen %lld ms into its second; the next tick "
      "changed %s to %s %lld ms after it was seen)\n",
      std::max(0LL, 1000 - shownToNextTick), (long long)shown.millisecond, Q(first).c_str(),
      Q(next).c_str(), shownToNextTick);
}

// In its last half minute the task is warned of: the window opens without taking the keyboard,
// above the full-screen helper when there is one, at the bottom right of the work area.
void StepShown(const std::string& statePath) {
  std::optional<Panel> p = FindPanel(true);
  if (!p) return;
  State state(statePath);
  long long due = Due(state);
  if (!due) {
    Check(false, "shut-down task", "the steps before left none");
    return;
  }
  TimeTheWarning(due);
  std::optional<WarnForm> w = FindWarnForm();
  if (!w) return;
  CheckText(w->form, kWarnTitle, "warning title");
  CheckText(w->task, "关机：" + ClockText(MomentOf(due)), "task caption");
  std::string countdown = TextOf(w->countdown);
  std::optional<int> seconds = CountdownSeconds(countdown);
  Check(seconds && *seconds >= 1 && *seconds <= kWarningSeconds && *seconds >= due - Now() - 1 &&
            *seconds <= due - Now() + 1,
        "countdown", Q(countdown) + Format(", %lld s before the due moment", due - Now()));
  CheckText(w->postpone5, kPostpone5, "postpone 5 button");
  CheckText(w->postpone30, kPostpone30, "postpone 30 button");
  CheckText(w->cancel, kCancelTask, "cancel button");
  CheckText(w->runNow, kRunNow, "run-now button");
  LONG exStyle = GetWindowLongW(w->form, GWL_EXSTYLE);
  Check((exStyle & WS_EX_TOPMOST) && (exStyle & WS_EX_NOACTIVATE), "topmost, never activated",
        Format("extended style %#lx", exStyle));
  HWND front = GetForegroundWindow();
  Check(front != w->form, "warning not active", "the foreground window is " + Describe(front));
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(front ? front : p->main, MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT r = WindowBounds(w->form), work = monitor.rcWork;
  constexpr long kCornerSlack = 40;
  Check(r.left >= work.left && r.top >= work.top && r.right <= work.right &&
            r.bottom <= work.bottom && work.right - r.right <= kCornerSlack &&
            work.bottom - r.bottom <= kCornerSlack,
        "bottom right of the work area",
        "WarnForm at " + Bounds(r) + ", the work area " + Bounds(work));
  DWORD coverPid = strtoul(state.Get("cover-pid").c_str(), nullptr, 10);
  if (HWND cover = coverPid ? CoverWindow(coverPid) : nullptr) {
    Check(InFrontOf(w->form, cover), "warning above the full-screen helper",
          "WarnForm comes before the helper in the z-order");
    std::string detail;
    Check(CoverHasKeyboard(cover, &detail), "helper keeps the keyboard", detail);
  } else if (coverPid) {
    Check(false, "full-screen helper", Format("process %lu shows no window", coverPid));
  }
  CheckRows(*p, state);
  auto point = [](const char* what, HWND button) {
    RECT b = WindowBounds(button);
    Point(what, {(b.left + b.right) / 2, (b.top + b.bottom) / 2});
  };
  point("postpone5", w->postpone5);
  point("cancel", w->cancel);
  printf("DUE %lld %lld\n", UnixSeconds(due), due - Now());
}

// After Enter and Space typed by the user: the helper has them, and no button of the warning
// was pressed: it still shows, and the task is still there.
void StepKeys(const std::string& statePath) {
  std::optional<Panel> p = FindPanel(true);
  if (!p) return;
  State state(statePath);
  DWORD coverPid = strtoul(state.Get("cover-pid").c_str(), nullptr, 10);
  HWND cover = CoverWindow(coverPid);
  int keys = 0;
  bool typed = cover && WaitFor([&] { return (keys = CoverKeys(cover)) >= 2; });
  Check(typed, "keys reach the helper", Format("%d of Enter and Space received", keys));
  HWND warn = ShownWarnForm();
  Check(warn != nullptr, "warning stays", warn ? "WarnForm shown" : "WarnForm gone");
  CheckRows(*p, state);
  std::string detail;
  if (cover) Check(CoverHasKeyboard(cover, &detail), "helper keeps the keyboard", detail);
  Check(Due(state) > Now(), "before the due moment", Format("%lld s left", Due(state) - Now()));
  state.Set("pressed", std::to_string(Now()));
}

// After a click on "推迟5分钟": the window closes and the task comes due five minutes after the
// press. The helper is closed, so that the next steps reach the main window.
void StepPostponed(const std::string& statePath) {
  std::optional<Panel> p = FindPanel(true);
  if (!p) return;
  State state(statePath);
  bool closed = WaitFor([] { return ShownWarnForm() == nullptr; });
  Check(closed, "warning closed by postponing", closed ? "WarnForm hidden" : "WarnForm shown");
  long long pressed = atoll(state.Get("pressed").c_str());
  RemoveRow(state, "关机：", Due(state));
  state.AddRow({"关机：", pressed + kPostponeSeconds - 1, Now() + kPostponeSeconds + 1});
  CheckRows(*p, state);
  DWORD coverPid = strtoul(state.Get("cover-pid").c_str(), nullptr, 10);
  if (HWND cover = CoverWindow(coverPid)) PostMessageW(cover, WM_CLOSE, 0, 0);
  bool ended = WaitFor([&] { return !ProcessRunning(coverPid); });
  Check(ended, "helper closed", Format("process %lu", coverPid));
  state.Set("cover-pid", "");
}

// After a click on "取消任务": the window closes and the task is gone.
void StepCancelled(const std::string& statePath) {
  std::optional<Panel> p = FindPanel(true);
  if (!p) return;
  State state(statePath);
  bool closed = WaitFor([] { return ShownWarnForm() == nullptr; });
  Check(closed, "warning closed by cancelling", closed ? "WarnForm hidden" : "WarnForm shown");
  RemoveRow(state, "关机：", Due(state));
  CheckRows(*p, state);
  state.Set("cancelled-due", state.Get("due"));
  printf("DUE %lld %lld\n", UnixSeconds(Due(state)), Due(state) - Now());
}

// A minute past the cancelled task's moment, the program still runs, with no warning.
void StepSurvived(const std::string& statePath) {
  State state(statePath);
  long long due = atoll(state.Get("cancelled-due").c_str());
  WaitUntil(due + kSecondsPerMinute);
  std::optional<Panel> p = FindPanel(true);
  if (!p) return;
  Check(Now() >= due + kSecondsPerMinute, "a minute past the cancelled moment",
        "now " + At(Now()) + ", the task was due at " + At(due));
  Check(ShownWarnForm() == nullptr, "no warning", "WarnForm hidden");
  CheckRows(*p, state);
}

// ---- the steps: a program that is not there ----

void StepOpenEntry(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  // The kind opens the file dialog; cancelled, it leaves the path to be typed into the field.
  if (!ClickRadio(p->radio2, kStartProgram, "start-program kind")) return;
  DWORD dusk = ProcessOf(p->main);
  HWND dialog = nullptr;
  bool opened = WaitFor([&] {
    for (HWND h : TopLevelWindows())
      if (ProcessOf(h) == dusk && ClassOf(h) == "#32770" && Shown(h))
        return (dialog = h) != nullptr;
    return false;
  });
  Check(opened, "file dialog", opened ? Describe(dialog) : "none opened");
  if (!opened) return;
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  bool gone = WaitFor([&] { return !IsWindow(dialog); });
  Check(gone, "file dialog cancelled", Describe(dialog));
  CheckShown(p->info, true, "parameter field shown");
  TypeInto(p->info, kMissingProgram);
  CheckText(p->info, kMissingProgram, "path typed");
  PlanDueMoment(*p, state, kStartLead.typed);
}

std::string OpenPrefix() { return std::string("打开软件：") + kMissingProgram + "\r\n"; }

void StepOpenAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  AddAtDueMoment(*p, state, OpenPrefix(), kStartLead);
}

// In its due second the program cannot be started: a balloon tells which task and why, and
// the task leaves the list.
void StepOpenFailed(const std::string& statePath) {
  std::optional<Panel> p = FindPanel(true);
  if (!p) return;
  State state(statePath);
  long long due = Due(state);
  std::string expected = kFailedTask + OpenPrefix() + ClockText(MomentOf(due)) + "\r\n";
  std::optional<Balloon> seen;
  std::optional<long long> at = WaitAndTime(
      [&] {
        std::optional<Balloon> b = ShownBalloon();
        if (b) seen = b;
        return b && b->text.rfind(kFailedTask, 0) == 0;
      },
      due + kFailureLatest);
  std::string text = seen ? seen->text : "";
  Check(at.has_value(), "failure balloon",
        (seen ? "a balloon reads " + Q(text) : std::string("no balloon")) + " at " +
            At(at.value_or(Now())) + ", the task due at " + At(due));
  if (!at) return;
  Check(text.rfind(expected + kCannotOpen, 0) == 0, "failure told",
        Q(text) + ", expected to start with " + Q(expected + kCannotOpen));
  RemoveRow(state, OpenPrefix(), due);
  CheckRows(*p, state);
}

}  // namespace

const std::vector<Step>& WarningSteps() {
  static const std::vector<Step> steps = {
      {"warn-shutdown-entry", "STATE", StepShutDownEntry},
      {"warn-shutdown-add", "STATE", StepShutDownAdd},
      {"warn-cover", "STATE", StepCover},
      {"warn-shown", "STATE", StepShown},
      {"warn-keys", "STATE", StepKeys},
      {"warn-postponed", "STATE", StepPostponed},
      {"warn-cancelled", "STATE", StepCancelled},
      {"warn-survived", "STATE", StepSurvived},
      {"warn-open-entry", "STATE", StepOpenEntry},
      {"warn-open-add", "STATE", StepOpenAdd},
      {"warn-open-failed", "STATE", StepOpenFailed},
  };
  return steps;
}

}  // namespace probe
