// Tasks carried out in their due second, seen from outside: the steps of the end-to-end tests
// that enter an alarm, a close-program task, a screen-off task and a shut-down through the real
// controls, a few
// seconds ahead, and watch what happens when each comes due.
//
// The due moment is typed into the time edit by the user's keys (the driving script sends the
// keys a step prints), so a task comes due within seconds. Every step takes the path of a state
// file, which carries the due moment and the expected task list from step to step.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

// A reminder with Chinese, so that it goes through the conversions on its way to the alarm window
// and the balloon.
constexpr const char* kReminder = "起来活动一下 stretch";
constexpr const char* kAlarmPrompt = "请输入提醒的信息：";
constexpr const char* kAlarmHeading = "闹钟时间到了";
constexpr const char* kAlarmButton = "我知道了";
constexpr const char* kShutDownWarning = "你的计算机将在30秒后关机。";
constexpr int kTipOffset = 140;
constexpr int kTipWidth = 500, kTipHeight = 300;

// How far ahead each task is typed in, and how much of it must be left when the add button is
// pressed: the keys and the probe runs between take a few seconds.
constexpr Lead kAlarmLead{18, 6};
constexpr Lead kCloseLead{18, 6};
constexpr Lead kScreenOffLead{18, 6};
// The warning comes at a distance of 30 seconds, so the task must be added before that.
constexpr Lead kShutDownLead{44, 34};

// The program performs a task in the tick whose distance to it is 0: up to a second before its
// due second, and a tick may come late by a little.
constexpr long long kEarliestBeforeDue = 2;
constexpr long long kLatestAfterDue = 4;
// Wine's notification area shows a balloon a moment after it was asked for.
constexpr long long kBalloonDelay = 5;

}  // namespace

// ---- moments ----

long long Now() { return SecondsOf(LocalNow()); }

std::string At(long long seconds) { return Q(ClockText(MomentOf(seconds))); }

// Seconds since 1970 (UTC) for a local moment, for the driving script's clock.
long long UnixSeconds(long long localSeconds) {
  FILETIME utc;
  GetSystemTimeAsFileTime(&utc);
  long long unixNow =
      (long long)((ULARGE_INTEGER{{utc.dwLowDateTime, utc.dwHighDateTime}}.QuadPart -
                   116444736000000000ULL) /
                  10000000ULL);
  return unixNow + (localSeconds - Now());
}

// Waits until the clock reaches `seconds`, bounded by the distance and a margin.
void WaitUntil(long long seconds) {
  long long wait = std::max(0LL, seconds - Now());
  WaitFor([&] { return Now() >= seconds; }, (DWORD)(wait + 5) * 1000);
}

// ---- the time edit, stepped by a user's keys ----

namespace {

// Steps from `from` to `to` on a field that wraps round `size` values: the shorter way.
std::string FieldKeys(int from, int to, int size) {
  int up = ((to - from) % size + size) % size;
  int down = size - up;
  std::string keys;
  if (up == 0) return keys;
  const char* key = up <= down ? "Up" : "Down";
  for (int i = 0, n = std::min(up, down); i < n; ++i) {
    keys += keys.empty() ? "" : " ";
    keys += key;
  }
  return keys;
}

// The keys that take the time edit, with its hours selected, to `target`: each field wraps on
// its own (Up on 59 seconds gives 00 and leaves the minutes), and Right moves to the next one.
std::string KeysToTime(int current, int target) {
  std::string keys = FieldKeys(current / 3600, target / 3600, 24);
  keys += keys.empty() ? "Right" : " Right";
  std::string minutes = FieldKeys(current / 60 % 60, target / 60 % 60, 60);
  if (!minutes.empty()) keys += " " + minutes;
  keys += " Right";
  std::string seconds = FieldKeys(current % 60, target % 60, 60);
  if (!seconds.empty()) keys += " " + seconds;
  return keys;
}

}  // namespace

// Chooses a due moment `lead` seconds from now and prints the keys that enter it; the date edit
// must already hold its day (the driving script keeps clear of midnight).
bool PlanDueMoment(const Panel& p, State& state, long long lead) {
  CheckShown(p.panel1, true, "date and time fields shown");
  long long due = Now() + lead;
  SYSTEMTIME dueMoment = MomentOf(due);
  std::string dateText = TextOf(p.dateEdit), timeText = TextOf(p.timeEdit);
  std::optional<int> current = SecondOfDay(timeText);
  bool sameDay = dateText == ShortDate(dueMoment);
  Check(sameDay && current.has_value(), "due moment planned",
        "bsSkinDateEdit1 reads " + Q(dateText) + " and bsSkinTimeEdit1 " + Q(timeText) +
            "; the task is to come due at " + At(due));
  if (!sameDay || !current) return false;
  int target = dueMoment.wHour * 3600 + dueMoment.wMinute * 60 + dueMoment.wSecond;
  state.Set("due", std::to_string(due));
  printf("KEYS %s\n", KeysToTime(*current, target).c_str());
  PrintPickerPoints(p);
  return true;
}

// After the user's keys: the time edit reads the due moment, which still lies ahead by at least
// `lead.leftAtAdd` seconds; the add button adds a row with the caption `prefix` and that moment.
// When the keys took so long that the moment came too close (a slow machine), the step plans a
// new one, once, as a user would, and prints REPLAN with its keys: the driving script types them
// and runs the step again.
bool AddAtDueMoment(const Panel& p, State& state, const std::string& prefix, const Lead& lead) {
  long long due = atoll(state.Get("due").c_str());
  if (!due) {
    Check(false, "due moment", "the step before planned none");
    return false;
  }
  std::string wanted = TimeText(MomentOf(due));
  CheckText(p.timeEdit, wanted, "time typed by the user");
  std::optional<SYSTEMTIME> entered = EnteredMoment(p);
  bool enteredDue = entered && SecondsOf(*entered) == due;
  Check(enteredDue, "entered moment",
        (entered ? At(SecondsOf(*entered)) : std::string("no moment")) + ", expected " + At(due));
  if (!enteredDue) return false;
  long long left = due - Now();
  std::string leftText =
      Format("%lld s before the due moment, at least %lld s wanted", left, lead.leftAtAdd);
  // "replanned" holds the due moment that was planned again.
  if (left < lead.leftAtAdd && state.Get("replanned") != state.Get("due")) {
    Note(leftText + ": planning a new moment");
    if (!PlanDueMoment(p, state, lead.typed)) return false;
    state.Set("replanned", state.Get("due"));
    printf("REPLAN\n");
    return false;
  }
  CheckShown(p.timeTip, false, "no expired-time hint");
  Check(left >= lead.leftAtAdd, "time left at the add", leftText);
  if (left < lead.leftAtAdd) return false;
  size_t before = StableRows(p.list).size();
  PostMessageA(p.add, BM_CLICK, 0, 0);
  bool added = WaitFor([&] { return HasRowCount(p.list, before + 1); });
  Check(added, "row added", Format("%zu rows before the press", before));
  state.AddRow({prefix, due, due});
  CheckRows(p, state);
  printf("DUE %lld %lld\n", UnixSeconds(due), due - Now());
  return added;
}

// The moment something was first seen, by polling until `seen` holds; checked against the
// window from `earliest` to `latest`.
std::optional<long long> WaitAndTime(const std::function<bool()>& seen, long long latest) {
  long long wait = std::max(0LL, latest - Now()) + 1;
  if (!WaitFor(seen, (DWORD)wait * 1000)) return std::nullopt;
  return Now();
}

namespace {

void CheckOnTime(std::optional<long long> at, long long earliest, long long latest,
                 const char* check, const char* what) {
  Check(at && *at >= earliest && *at <= latest, check,
        (at ? Format("%s at ", what) + At(*at) : Format("%s not seen until ", what) + At(latest)) +
            ", expected from " + At(earliest) + " to " + At(latest));
}

// ---- the alarm window ----

struct TipForm {
  HWND form = nullptr, label1 = nullptr, label2 = nullptr, button = nullptr;
};

// The alarm window is made when it first shows: before that there is none.
bool AlarmWindowShown() {
  for (HWND form : Forms("TipForm"))
    if (Shown(form)) return true;
  return false;
}

std::optional<TipForm> FindTipForm() {
  std::vector<HWND> forms = Forms("TipForm");
  if (forms.size() != 1) {
    Check(false, "TipForm", Format("%zu top-level forms named TipForm", forms.size()));
    return std::nullopt;
  }
  TipForm t{forms[0], FindNamed(forms[0], "Label1"), FindNamed(forms[0], "Label2"),
            FindNamed(forms[0], "bsSkinButton1")};
  if (!t.label1 || !t.label2 || !t.button) {
    Check(false, "TipForm controls", "Label1, Label2 or bsSkinButton1 missing");
    return std::nullopt;
  }
  return t;
}

}  // namespace

RECT WindowBounds(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

namespace {

// Beside the main window: 140 pixels right of and below its top-left corner, 500 x 300.
void CheckTipPlace(HWND tip, HWND main, const char* check) {
  RECT m{}, t{};
  bool placed = WaitFor([&] {
    m = WindowBounds(main);
    t = WindowBounds(tip);
    return t.left == m.left + kTipOffset && t.top == m.top + kTipOffset &&
           t.right - t.left == kTipWidth && t.bottom - t.top == kTipHeight;
  });
  Check(placed, check,
        Format("TipForm at %s, main window at %s: expected (%ld,%ld %dx%d)", Bounds(t).c_str(),
               Bounds(m).c_str(), m.left + kTipOffset, m.top + kTipOffset, kTipWidth, kTipHeight));
}

}  // namespace

// Top-level windows come in z-order, the topmost first.
bool InFrontOf(HWND a, HWND b) {
  std::vector<HWND> order = TopLevelWindows();
  auto ia = std::find(order.begin(), order.end(), a), ib = std::find(order.begin(), order.end(), b);
  return ia != order.end() && ib != order.end() && ia < ib;
}

std::string Describe(HWND hwnd) {
  if (!hwnd) return "no window";
  return Format("%p [%s] %s %s", (void*)hwnd, ClassOf(hwnd).c_str(), NameOf(hwnd).c_str(),
                Q(TextOf(hwnd)).c_str());
}

namespace {

// The alarm window stands in front of the main window, as the active window, and the main window
// is shown in its normal state.
void CheckAlarmInFront(const Panel& p, const TipForm& t) {
  bool mainShown = WaitFor([&] { return Shown(p.main) && !IsIconic(p.main); });
  Check(mainShown, "main window shown",
        mainShown ? "shown, not minimised" : "hidden or minimised while the alarm shows");
  // Back from the tray, the program has its taskbar entry again; the alarm window has none.
  CheckTaskbarEntries("taskbar entry", 1);
  CheckTipPlace(t.form, p.main, "alarm window beside the main window");
  HWND front = nullptr;
  bool active = WaitFor([&] { return (front = GetForegroundWindow()) == t.form; });
  Check(active, "alarm window active", "the foreground window is " + Describe(front));
  Check(InFrontOf(t.form, p.main), "alarm window in front of the main window",
        "TipForm comes before Form1 in the z-order");
}

// ---- balloons of Wine's notification area ----
//
// The virtual desktop's explorer draws a balloon as a tooltip window of its own process
// (TTS_BALLOON), whose text answers WM_GETTEXT. Its title cannot be read: Wine 8's tooltips do not
// answer TTM_GETTITLE. The screenshot taken after the step shows it.

// Into a buffer larger than any balloon's text.
std::string BalloonText(HWND hwnd) {
  std::wstring wide(1024, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, wide.size(), (LPARAM)wide.data(), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &copied))
    return "<no answer>";
  wide.resize(std::min<size_t>(copied, wide.size()));
  return Utf8(wide);
}

}  // namespace

// The balloon on screen, if there is one.
std::optional<Balloon> ShownBalloon() {
  HWND bar = FindWindowA("Shell_TrayWnd", nullptr);
  if (!bar) return std::nullopt;
  DWORD shell = ProcessOf(bar);
  for (HWND h : TopLevelWindows())
    if (ProcessOf(h) == shell && lstrcmpiA(ClassOf(h).c_str(), TOOLTIPS_CLASSA) == 0 &&
        (GetWindowLongA(h, GWL_STYLE) & TTS_BALLOON) && Shown(h))
      return Balloon{h, BalloonText(h)};
  return std::nullopt;
}

bool PickTarget(const Panel& p, const Target& target) {
  int index = -1;
  std::vector<std::string> items;
  bool listed = WaitFor([&] {
    items = PickerItems(p.picker).value_or(std::vector<std::string>{});
    auto it = std::find(items.begin(), items.end(), target.Entry());
    index = it == items.end() ? -1 : (int)(it - items.begin());
    return index >= 0;
  });
  std::string entries;
  if (!listed)
    for (const std::string& item : items) entries.append(" ").append(Q(item));
  Check(listed, "helper program listed",
        Format("%s among %zu entries", Q(target.Entry()).c_str(), items.size()) + entries);
  if (!listed) return false;
  Ask(p.picker, CB_SETCURSEL, index);
  PostMessageW(GetParent(p.picker), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(p.picker), CBN_SELCHANGE),
               (LPARAM)p.picker);
  return true;
}

namespace {

// Waits for a balloon with this text; the moment it was first seen.
std::optional<long long> WaitForBalloon(const std::string& text, long long latest,
                                        const char* check) {
  std::optional<Balloon> seen;
  std::optional<long long> at = WaitAndTime(
      [&] {
        std::optional<Balloon> b = ShownBalloon();
        if (b) seen = b;
        return b && b->text == text;
      },
      latest);
  Check(at.has_value(), check,
        (seen ? "a balloon reads " + Q(seen->text) : std::string("no balloon")) + ", expected " +
            Q(text));
  if (at && seen) Note("balloon at " + Bounds(WindowBounds(seen->hwnd)) + " seen at " + At(*at));
  return at;
}

// ---- the steps: an alarm ----

void StepAlarmEntry(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  Check(CheckedItem(p->radio1) == kDateAndTime, "date-and-time mode",
        Format("RadioGroup1 item %d checked", CheckedItem(p->radio1)));
  if (!ClickRadio(p->radio2, kAlarm, "alarm kind")) return;
  CheckShown(p->info, true, "reminder field shown");
  CheckText(p->tips, kAlarmPrompt, "reminder prompt");
  TypeInto(p->info, kReminder);
  CheckText(p->info, kReminder, "reminder typed");
  PlanDueMoment(*p, state, kAlarmLead.typed);
}

void StepAlarmAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  if (!AddAtDueMoment(*p, state, std::string("闹钟：") + kReminder + "\r\n", kAlarmLead)) return;
  Check(!AlarmWindowShown(), "no alarm window before the alarm", "no TipForm shown");
}

// An alarm one minute ahead by the countdown, entered through the controls alone: for the tests
// that need a task performed while something else goes on, with no keys to send.
void StepAlarmCountdown(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  if (!ClickRadio(p->radio1, kCountdown, "countdown mode")) return;
  constexpr int kMinutesUnit = 0;
  Ask(p->unit, CB_SETCURSEL, kMinutesUnit);
  PostMessageA(GetParent(p->unit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(p->unit), CBN_SELCHANGE),
               (LPARAM)p->unit);
  WaitFor([&] { return TextOf(p->unit) == "分钟"; });
  TypeInto(p->spin, "1");
  CheckText(p->spin, "1", "count of one minute");
  if (!ClickRadio(p->radio2, kAlarm, "alarm kind")) return;
  TypeInto(p->info, kReminder);
  CheckText(p->info, kReminder, "reminder typed");
  size_t before = StableRows(p->list).size();
  long long pressed = Now();
  PostMessageW(p->add, BM_CLICK, 0, 0);
  bool added = WaitFor([&] { return HasRowCount(p->list, before + 1); });
  Check(added, "row added", Format("%zu rows before the press", before));
  if (!added) return;
  // The program's second of the press may differ from ours by one either way.
  state.Set("due", std::to_string(pressed + kSecondsPerMinute));
  state.AddRow({std::string("闹钟：") + kReminder + "\r\n", pressed + kSecondsPerMinute - 1,
                Now() + kSecondsPerMinute + 1});
  CheckRows(*p, state);
  Check(!AlarmWindowShown(), "no alarm window before the alarm", "no TipForm shown");
}

// The main window was minimised to the tray before: the alarm brings it back with the alarm
// window in front, beside it, with the reminder.
void StepAlarmDue(const std::string& statePath) {
  std::optional<Panel> p = FindPanel(true);
  if (!p) return;
  State state(statePath);
  long long due = atoll(state.Get("due").c_str());
  std::optional<long long> at = WaitAndTime(AlarmWindowShown, due + kLatestAfterDue);
  CheckOnTime(at, due - kEarliestBeforeDue, due + kLatestAfterDue, "alarm on time",
              "alarm window shown");
  std::optional<TipForm> t = at ? FindTipForm() : std::nullopt;
  if (!t) return;
  CheckText(t->label2, kReminder, "reminder in the alarm window");
  CheckText(t->label1, kAlarmHeading, "alarm heading");
  CheckText(t->button, kAlarmButton, "alarm button");
  CheckAlarmInFront(*p, *t);
  // The alarm has left the queue.
  state.ClearRows();
  CheckRows(*p, state);
  // Titled "设定的时间到了：" in the screenshot.
  WaitForBalloon(kReminder, *at + kBalloonDelay, "alarm balloon");
}

// Moving the main window leaves the alarm window where it is; it is placed again only when it is
// shown again. The step moves the main window as a drag of its caption would, without
// activating it, and waits for the alarm balloon to go, which stands over the tray icon.
void StepAlarmMoveMain(const std::string&) {
  std::optional<Panel> p = FindPanel();
  std::optional<TipForm> t = FindTipForm();
  if (!p || !t) return;
  RECT before = WindowBounds(t->form), main = WindowBounds(p->main);
  constexpr int kDx = -120, kDy = -90;
  SetWindowPos(p->main, nullptr, main.left + kDx, main.top + kDy, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT moved{};
  bool ok = WaitFor([&] {
    moved = WindowBounds(p->main);
    return moved.left == main.left + kDx && moved.top == main.top + kDy;
  });
  Check(ok, "main window moved", "to " + Bounds(moved));
  RECT after = WindowBounds(t->form);
  Check(EqualRect(&before, &after) && Shown(t->form), "alarm window stays",
        "TipForm at " + Bounds(after) + ", before the move at " + Bounds(before));
  bool gone = WaitFor([] { return !ShownBalloon(); }, 35000);
  Check(gone, "alarm balloon gone", gone ? "no balloon" : "a balloon still shows");
}

// A click on the tray icon while the alarm shows and the main window is in the tray: both come
// back, the alarm window in front and placed beside the main window where it now stands.
void StepAlarmFront(const std::string&) {
  std::optional<Panel> p = FindPanel();
  std::optional<TipForm> t = FindTipForm();
  if (!p || !t) return;
  bool shown = WaitShown(t->form, true);
  Check(shown, "alarm window back", shown ? "TipForm shown" : "TipForm hidden");
  CheckAlarmInFront(*p, *t);
  CheckText(t->label2, kReminder, "reminder kept");
  RECT r = WindowBounds(t->button);
  Point("alarm-button", {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// After a user's click on "我知道了": the alarm window goes, the main window stays.
void StepAlarmDismissed(const std::string&) {
  std::optional<Panel> p = FindPanel();
  std::optional<TipForm> t = FindTipForm();
  if (!p || !t) return;
  bool hidden = WaitShown(t->form, false);
  Check(hidden, "alarm window hidden by its button",
        hidden ? "TipForm hidden" : "TipForm still shown");
  Check(Shown(p->main) && !IsIconic(p->main), "main window stays", "shown, not minimised");
  CheckText(t->label2, kReminder, "reminder text kept after the button");
}

// ---- the steps: ending a program ----

void StepCloseEntry(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  const Target target = TargetOf(state);
  if (!StartTargetWindow(state, target) ||
      !ClickRadio(p->radio2, kCloseProgram, "close-program kind")) {
    return;
  }
  CheckShown(p->picker, true, "picker shown");
  PlanDueMoment(*p, state, kCloseLead.typed);
}

// The helper's entry chosen, for the screenshot of the picker before the add.
void StepClosePick(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (p) PickTarget(*p, TargetOf(State(statePath)));
}

// Picks the helper's entry, then adds.
void StepCloseAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  Target target = TargetOf(state);
  if (PickTarget(*p, target))
    AddAtDueMoment(*p, state, "关闭软件：" + target.image + "\r\n", kCloseLead);
}

// The helper runs until the task's due second and ends in it; the program itself goes on.
void StepCloseDue(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  long long due = atoll(state.Get("due").c_str());
  DWORD pid = strtoul(state.Get("target-pid").c_str(), nullptr, 10);
  if (!due || !pid) {
    Check(false, "close-program task", "the steps before left no task or helper");
    return;
  }
  WaitUntil(due - kEarliestBeforeDue - 1);
  Check(ProcessRunning(pid), "helper runs until the due second",
        Format("process %lu at ", pid) + At(Now()) + ", due " + At(due));
  std::optional<long long> at =
      WaitAndTime([&] { return !ProcessRunning(pid); }, due + kLatestAfterDue);
  CheckOnTime(at, due - kEarliestBeforeDue, due + kLatestAfterDue, "helper ended on time",
              "helper process gone");
  Target target = TargetOf(state);
  if (!at) EndTarget(pid, target);
  Check(TargetWindow(pid, target) == nullptr, "helper window gone", Q(target.title));
  state.RemoveRows("关闭软件：" + target.image + "\r\n");
  CheckRows(*p, state);
  Check(MainWindow() && Shown(p->main), "Dusk goes on", "its main window is still shown");
}

// ---- the steps: turning the screen off ----

void StepScreenOffEntry(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  if (!ClickRadio(p->radio2, kScreenOff, "screen-off kind")) return;
  CheckShown(p->info, false, "no parameter field");
  PlanDueMoment(*p, state, kScreenOffLead.typed);
}

void StepScreenOffAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  AddAtDueMoment(*p, state, "关闭显示器：", kScreenOffLead);
}

// Performed in its due second: the row goes, and the program with its window goes on (Wine
// leaves the screen as it is).
void StepScreenOffDue(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  long long due = atoll(state.Get("due").c_str());
  if (!due) {
    Check(false, "screen-off task", "the steps before left none");
    return;
  }
  size_t before = StableRows(p->list).size();
  WaitUntil(due - kEarliestBeforeDue - 1);
  Check(HasRowCount(p->list, before), "row waits until the due second", At(Now()));
  std::optional<long long> at =
      WaitAndTime([&] { return HasRowCount(p->list, before - 1); }, due + kLatestAfterDue);
  CheckOnTime(at, due - kEarliestBeforeDue, due + kLatestAfterDue, "performed on time", "row gone");
  state.RemoveRows("关闭显示器：");
  CheckRows(*p, state);
  Check(MainWindow() && Shown(p->main), "Dusk goes on", "its main window is still shown");
}

// ---- the steps: shutting down ----

void StepShutDownEntry(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  if (!ClickRadio(p->radio2, kTurnOff, "shut-down kind")) return;
  CheckShown(p->info, false, "no parameter field");
  PlanDueMoment(*p, state, kShutDownLead.typed);
}

void StepShutDownAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  AddAtDueMoment(*p, state, "关机：", kShutDownLead);
}

// Thirty seconds before the due moment the warning balloon shows; the task is still pending.
void StepShutDownWarning(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  long long due = atoll(state.Get("due").c_str());
  if (!due) {
    Check(false, "shut-down task", "the steps before left none");
    return;
  }
  // Titled "Lumo定时关机：" in the screenshot.
  std::optional<long long> at =
      WaitForBalloon(kShutDownWarning, due - 30 + kBalloonDelay, "warning balloon");
  CheckOnTime(at, due - 30 - 1, due - 30 + kBalloonDelay, "warning on time", "warning balloon");
  CheckRows(*p, state);
  printf("DUE %lld %lld\n", UnixSeconds(due), due - Now());
}

}  // namespace

const std::vector<Step>& ActionSteps() {
  static const std::vector<Step> steps = {
      {"alarm-entry", "STATE", StepAlarmEntry},
      {"alarm-add", "STATE", StepAlarmAdd},
      {"alarm-due", "STATE", StepAlarmDue},
      {"alarm-countdown", "STATE", StepAlarmCountdown},
      {"alarm-move-main", "STATE", StepAlarmMoveMain},
      {"alarm-front", "STATE", StepAlarmFront},
      {"alarm-dismissed", "STATE", StepAlarmDismissed},
      {"close-entry", "STATE", StepCloseEntry},
      {"chinese-target", "STATE",
       [](const std::string& statePath) {
         State state(statePath);
         UseChineseTarget(state);
       }},
      {"close-pick", "STATE", StepClosePick},
      {"close-add", "STATE", StepCloseAdd},
      {"close-due", "STATE", StepCloseDue},
      {"screen-off-entry", "STATE", StepScreenOffEntry},
      {"screen-off-add", "STATE", StepScreenOffAdd},
      {"screen-off-due", "STATE", StepScreenOffDue},
      {"shutdown-entry", "STATE", StepShutDownEntry},
      {"shutdown-add", "STATE", StepShutDownAdd},
      {"shutdown-warning", "STATE", StepShutDownWarning},
  };
  return steps;
}

}  // namespace probe
