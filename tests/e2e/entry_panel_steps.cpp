// The entry panel seen from outside: the steps of the end-to-end test that enters tasks through
// the real controls (radio items, the unit list, the parameter field, the date and time pickers,
// the add button) and reads the task list back.
//
// Every step takes the path of a state file: the tasks added so far, with the window of seconds
// each one's due moment may fall in, go there, so that each later step checks the whole list in
// due order.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

constexpr const char* kWarningCaption = "Warning";
constexpr const char* kWarningText = "请选择执行任务的类型";
constexpr const char* kPastCaption = "添加定时任务错误";
constexpr const char* kPastText = "光阴似箭，设置的时间已经过去了。";
constexpr const char* kReminder = "该喝水了 drink";
constexpr const char* kWebPrefill = "http://";

// bsSkinComboBox1
constexpr int kMinutes = 0;
constexpr int kHours = 1;
constexpr int kDays = 2;

// The unit list's selection as a user's pick reaches the program: the list changes, then tells
// its parent.
void PickUnit(const Panel& p, int index, const char* expectedCount) {
  Ask(p.unit, CB_SETCURSEL, index);
  PostMessageA(GetParent(p.unit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(p.unit), CBN_SELCHANGE),
               (LPARAM)p.unit);
  std::string count;
  bool ok = WaitFor([&] { return (count = TextOf(p.spin)) == expectedCount; });
  Check(ok, Format("count for unit %d", index),
        Format("picking %s sets the count to %s; bsSkinSpinEdit1 reads %s",
               Q(TextOf(p.unit)).c_str(), expectedCount, Q(count).c_str()));
}

// Where the add button stands: below the parameter field, or where the hidden prompt stands.
void CheckAddButtonPlace(const Panel& p, bool belowField, const char* check) {
  RECT field = BoundsInParent(p.info), group = BoundsInParent(p.radio2);
  long expected = (belowField ? field.bottom : group.bottom) + 20;
  RECT add{};
  bool ok = WaitFor([&] {
    add = BoundsInParent(p.add);
    return add.top == expected && add.left == 20;
  });
  Check(ok, check,
        Format("ButtonAdd at %s, expected its top at %ld, 20 below the bottom of %s",
               Bounds(add).c_str(), expected, belowField ? "EditInfo" : "RadioGroup2"));
}

void CheckPrompt(const Panel& p, const char* prompt, bool picker) {
  if (!prompt) {
    CheckShown(p.tips, false, "no prompt");
    CheckShown(p.info, false, "no parameter field");
    CheckShown(p.picker, false, "no picker");
    CheckAddButtonPlace(p, false, "add button without a field");
    return;
  }
  CheckShown(p.tips, true, "prompt shown");
  CheckText(p.tips, prompt, "prompt");
  CheckShown(p.info, !picker, picker ? "parameter field hidden" : "parameter field shown");
  CheckShown(p.picker, picker, picker ? "picker shown" : "picker hidden");
  CheckAddButtonPlace(p, true, "add button below the field");
}

// Presses the add button for a task whose due moment is `delay` seconds after the press, and
// expects one more row.
void AddAndExpect(const Panel& p, State& state, const std::string& prefix, long long delay) {
  size_t before = StableRows(p.list).size();
  long long pressed = SecondsOf(LocalNow());
  PostMessageA(p.add, BM_CLICK, 0, 0);
  bool added = WaitFor([&] { return HasRowCount(p.list, before + 1); });
  long long seen = SecondsOf(LocalNow());
  Check(added, "row added",
        Format("%zu rows before the press, %zu after", before, StableRows(p.list).size()));
  // The program reads its clock between the press and the row's appearance; its second may
  // differ from ours by one either way.
  state.AddRow({prefix, pressed + delay - 1, seen + delay + 1});
  CheckRows(p, state);
}

// After an add: no kind selected and the field emptied; the prompt, the field and the button's
// place stay as they were.
void CheckResetAfterAdd(const Panel& p, const char* prompt, bool picker) {
  int checked = 0;
  bool cleared = WaitFor([&] { return (checked = CheckedItem(p.radio2)) == -1; });
  Check(cleared, "kind cleared after add", Format("RadioGroup2 item %d checked", checked));
  CheckText(p.info, "", "field emptied after add");
  CheckShown(p.tips, prompt != nullptr, "prompt stays after add");
  if (prompt) CheckText(p.tips, prompt, "prompt text stays after add");
  if (prompt) CheckShown(picker ? p.picker : p.info, true, "field stays after add");
  CheckAddButtonPlace(p, prompt != nullptr, "add button stays after add");
}

// ---- message boxes ----

HWND SkinnedBox() {
  std::vector<HWND> forms = Forms("bsSkinMessage1");
  return forms.size() == 1 ? forms[0] : nullptr;
}

// The platform's message box of our process: a dialog-class window owned by the main window.
HWND PlatformBox(const Panel& p) {
  DWORD pid = ProcessOf(p.main);
  for (HWND h : TopLevelWindows())
    if (ProcessOf(h) == pid && ClassOf(h) == "#32770" && Shown(h)) return h;
  return nullptr;
}

std::string StaticTexts(HWND dialog) {
  std::string texts;
  for (HWND c : ChildWindows(dialog))
    if (lstrcmpiA(ClassOf(c).c_str(), "Static") == 0 && !TextOf(c).empty()) {
      if (!texts.empty()) texts += ' ';
      texts += Q(TextOf(c));
    }
  return texts;
}

// Checked around the message boxes: a modal box hands the activation back to the window it held
// up when it closes, as a dialog does, so that the user goes on typing where they were.
void CheckMainActive(const Panel& p, const char* check) {
  HWND front = nullptr;
  bool ok = WaitFor([&] { return (front = GetForegroundWindow()) == p.main; });
  Check(ok, check,
        ok ? std::string("the main window is the foreground window")
           : Format("the foreground window is %p [%s] %s, not the main window", (void*)front,
                    ClassOf(front).c_str(), Q(TextOf(front)).c_str()));
}

void CheckModal(const Panel& p, bool modal, const char* check) {
  bool ok = WaitFor([&] { return !IsWindowEnabled(p.main) == modal; });
  Check(ok, check,
        Format("main window %s", IsWindowEnabled(p.main) ? "enabled" : "disabled") +
            (modal ? ", expected disabled while the box shows" : ", expected enabled"));
}

// ---- the steps ----

void StepWarningOpen(const std::string&) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  Check(CheckedItem(p->radio2) == -1, "no kind selected", "RadioGroup2 has no checked item");
  CheckMainActive(*p, "main window active");
  PostMessageA(p->add, BM_CLICK, 0, 0);
  HWND box = nullptr;
  bool shown = WaitFor([&] { return (box = SkinnedBox()) && Shown(box); });
  Check(shown, "warning box shown",
        shown ? "a shown DuskForm named bsSkinMessage1" : "no shown bsSkinMessage1");
  if (!shown) return;
  Check(ProcessOf(box) == ProcessOf(p->main), "warning box is ours", "same process as Form1");
  std::string caption = TextOf(box);
  Check(caption == kWarningCaption, "warning caption",
        Q(caption) + " expected " + Q(kWarningCaption));
  HWND message = FindNamed(box, "Message"), ok = FindNamed(box, "OK");
  Check(message && TextOf(message) == kWarningText && Shown(message), "warning text",
        message ? "Message reads " + Q(TextOf(message)) + " expected " + Q(kWarningText)
                : std::string("no control named Message"));
  Check(ok && TextOf(ok) == "OK" && Shown(ok), "warning button",
        ok ? "OK reads " + Q(TextOf(ok)) : std::string("no control named OK"));
  RECT r;
  GetWindowRect(box, &r);
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  long dx = (r.left + r.right) - cx, dy = (r.top + r.bottom) - cy;
  Check(labs(dx) <= 2 && labs(dy) <= 2, "warning box centred",
        Format("at %s on a %dx%d screen", Bounds(r).c_str(), cx, cy));
  CheckModal(*p, true, "warning box is modal");
}

void StepWarningOk(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  HWND box = SkinnedBox();
  HWND ok = box ? FindNamed(box, "OK") : nullptr;
  if (!p || !ok) {
    Check(false, "warning box", "no bsSkinMessage1 with an OK button");
    return;
  }
  PostMessageA(ok, BM_CLICK, 0, 0);
  bool hidden = WaitShown(box, false);
  Check(hidden, "warning box closed by OK", hidden ? "hidden" : "still shown");
  CheckModal(*p, false, "main window enabled again");
  CheckMainActive(*p, "main window active again");
  Check(CheckedItem(p->radio2) == -1, "still no kind selected", "RadioGroup2 unchanged");
  CheckRows(*p, State(statePath));
}

void StepCountdownAlarm(const std::string&) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  if (!ClickRadio(p->radio1, kCountdown, "countdown mode")) return;
  CheckShown(p->panel2, true, "countdown fields shown");
  CheckShown(p->panel1, false, "date and time fields hidden");
  PickUnit(*p, kMinutes, "30");
  PickUnit(*p, kHours, "1");
  PickUnit(*p, kMinutes, "30");
  if (!ClickRadio(p->radio2, kAlarm, "alarm kind")) return;
  CheckPrompt(*p, "请输入提醒的信息：", false);
  CheckText(p->info, "", "field empty for the alarm");
  TypeInto(p->info, kReminder);
  CheckText(p->info, kReminder, "reminder typed");
}

void StepAddAlarm(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  AddAndExpect(*p, state, std::string("闹钟：") + kReminder + "\r\n", 30 * kSecondsPerMinute);
  CheckResetAfterAdd(*p, "请输入提醒的信息：", false);
  CheckShown(p->panel2, true, "countdown fields stay");
  CheckText(p->spin, "30", "count stays");
}

void StepDateTimeShutDown(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  long long before = SecondsOf(LocalNow());
  if (!ClickRadio(p->radio1, kDateAndTime, "date-and-time mode")) return;
  long long after = SecondsOf(LocalNow());
  CheckShown(p->panel1, true, "date and time fields shown");
  CheckShown(p->panel2, false, "countdown fields hidden");

  // Switching back sets the time 20 minutes ahead of the switch; the date stays today.
  std::string timeText = TextOf(p->timeEdit);
  bool ahead = false;
  for (long long s = before - 1; s <= after + 1 && !ahead; ++s)
    ahead = timeText == TimeText(MomentOf(s + 20 * kSecondsPerMinute));
  Check(ahead, "time 20 minutes ahead",
        Q(timeText) + " expected " + Q(TimeText(MomentOf(before + 20 * kSecondsPerMinute))));
  // The date edit holds the day the program started: today, unless midnight has just passed.
  SYSTEMTIME now = LocalNow();
  std::string today = ShortDate(now), dateText = TextOf(p->dateEdit);
  Check(dateText == today || dateText == ShortDate(AddSeconds(now, -10 * kSecondsPerMinute)),
        "date today", Q(dateText) + " expected " + Q(today));
  std::optional<SYSTEMTIME> entered = EnteredMoment(*p);
  if (entered && SecondsOf(*entered) > SecondsOf(now))
    CheckShown(p->timeTip, false, "no expired-time hint");

  if (!ClickRadio(p->radio2, kTurnOff, "shut-down kind")) return;
  CheckPrompt(*p, nullptr, false);
  State state(statePath);
  state.Set("date-before-input", dateText);
  state.Set("time-before-input", timeText);
  PrintPickerPoints(*p);
}

// After a user's Down on the year of the date edit: last year's day is past.
void StepPastDate(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  std::optional<SYSTEMTIME> day = DayOf(State(statePath).Get("date-before-input"));
  if (!day) {
    Check(false, "date before the input", "not a day of the last two years");
    return;
  }
  std::string lastYear = Format("%d", day->wYear - 1), dateText;
  bool moved =
      WaitFor([&] { return (dateText = TextOf(p->dateEdit)).find(lastYear) != std::string::npos; });
  Check(moved, "date moved a year back", "bsSkinDateEdit1 reads " + Q(dateText));
  if (!moved) return;
  CheckShown(p->timeTip, true, "expired-time hint for a past date");
  PostMessageA(p->add, BM_CLICK, 0, 0);
  HWND box = nullptr;
  bool shown = WaitFor([&] { return (box = PlatformBox(*p)) != nullptr; });
  Check(shown, "past-moment box shown", shown ? "a message box of Dusk" : "no message box");
  if (!shown) return;
  std::string caption = TextOf(box), texts = StaticTexts(box);
  Check(caption == kPastCaption, "past-moment caption",
        Q(caption) + " expected " + Q(kPastCaption));
  Check(texts == Q(kPastText), "past-moment text", texts + " expected " + Q(kPastText));
  Check(GetWindow(box, GW_OWNER) == p->main, "past-moment box owned by the main window",
        Format("owner %p, main window %p", (void*)GetWindow(box, GW_OWNER), (void*)p->main));
  CheckModal(*p, true, "past-moment box is modal");
}

void StepPastOk(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  HWND box = p ? PlatformBox(*p) : nullptr;
  HWND ok = box ? GetDlgItem(box, IDOK) : nullptr;
  if (!ok) {
    Check(false, "past-moment box", "no message box with an OK button");
    return;
  }
  PostMessageA(ok, BM_CLICK, 0, 0);
  bool closed = WaitFor([&] { return !IsWindow(box) || !Shown(box); });
  Check(closed, "past-moment box closed by OK", closed ? "gone" : "still shown");
  CheckModal(*p, false, "main window enabled again");
  CheckMainActive(*p, "main window active again");
  // Nothing was added and the entry stays as it was, the past date included.
  CheckRows(*p, State(statePath));
  Check(CheckedItem(p->radio2) == kTurnOff, "kind kept after the refusal",
        Format("RadioGroup2 item %d checked", CheckedItem(p->radio2)));
  CheckShown(p->timeTip, true, "expired-time hint stays");
  PrintPickerPoints(*p);
}

// After a user's Up on the year and Down on the minutes: today, at a time the user changed.
void StepAddShutDown(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  std::string day = state.Get("date-before-input"), dateText;
  bool back = WaitFor([&] { return (dateText = TextOf(p->dateEdit)) == day; });
  Check(back, "date back to its day",
        "bsSkinDateEdit1 reads " + Q(dateText) + " expected " + Q(day));
  // The user stepped the minutes down once: within the hour they wrap, the rest stays.
  std::string previous = state.Get("time-before-input"), timeText;
  std::optional<int> old = SecondOfDay(previous);
  std::string wanted =
      old ? Format("%02d:%02d:%02d", *old / 3600, (*old / 60 + 59) % 60, *old % 60) : "";
  bool changed = WaitFor([&] { return (timeText = TextOf(p->timeEdit)) == wanted; });
  Check(changed, "minutes stepped down by the user",
        Q(previous) + " became " + Q(timeText) + ", expected " + Q(wanted));
  std::optional<SYSTEMTIME> entered = EnteredMoment(*p);
  if (!back || !changed || !entered) return;

  // Within 20 minutes of midnight the default time lies on the next day, before today's now:
  // the program then refuses the moment, as it should.
  long long due = SecondsOf(*entered);
  bool past = due < SecondsOf(LocalNow());
  CheckShown(p->timeTip, past,
             past ? "expired-time hint for a past time" : "expired-time hint gone");
  if (past) {
    Note("the entered moment " + Q(ClockText(*entered)) + " is past: expecting the refusal");
    PostMessageA(p->add, BM_CLICK, 0, 0);
    HWND box = nullptr;
    bool shown = WaitFor([&] { return (box = PlatformBox(*p)) != nullptr; });
    Check(shown && StaticTexts(box) == Q(kPastText), "past moment refused",
          shown ? StaticTexts(box) : std::string("no message box"));
    if (shown) PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    WaitFor([&] { return !IsWindow(box) || !Shown(box); });
    CheckRows(*p, state);
    return;
  }
  size_t before = StableRows(p->list).size();
  PostMessageA(p->add, BM_CLICK, 0, 0);
  bool added = WaitFor([&] { return HasRowCount(p->list, before + 1); });
  Check(added, "row added", Format("%zu rows before the press", before));
  state.AddRow({"关机：", due, due});
  CheckRows(*p, state);
  CheckResetAfterAdd(*p, nullptr, false);
  Check(TextOf(p->timeEdit) == timeText && TextOf(p->dateEdit) == day, "date and time stay",
        Q(TextOf(p->dateEdit)) + " " + Q(TextOf(p->timeEdit)));
}

void StepWebPage(const std::string&) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  if (!ClickRadio(p->radio1, kCountdown, "countdown mode")) return;
  CheckShown(p->panel2, true, "countdown fields shown");
  CheckText(p->spin, "30", "count kept from the last countdown");
  PickUnit(*p, kHours, "1");
  if (!ClickRadio(p->radio2, kOpenWebPage, "web page kind")) return;
  CheckPrompt(*p, "请输入要打开的网页：", false);
  CheckText(p->info, kWebPrefill, "address prefilled");
}

void StepAddWebPage(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  AddAndExpect(*p, state, std::string("打开网页：") + kWebPrefill + "\r\n", 60 * kSecondsPerMinute);
  CheckResetAfterAdd(*p, "请输入要打开的网页：", false);
}

// ---- the process picker ----

// Looks for the helper's entry once its window shows; true when the helper should stay for the
// next step.
bool ListTarget(const Panel& p, State& state, const Target& target, DWORD pid) {
  bool up = WaitFor([&] { return TargetWindow(pid, target) != nullptr; });
  Check(up, "helper program window",
        Format("%s shown by process %lu", Q(target.title).c_str(), pid));
  if (!up || !ClickRadio(p.radio2, kCloseProgram, "close-program kind")) return false;
  CheckPrompt(p, "选择你要关闭的软件：", true);

  std::vector<std::string> items;
  int index = -1;
  // The listing runs inside the click's handler; the poll only covers a slow machine.
  bool listed = WaitFor(
      [&] {
        items = PickerItems(p.picker).value_or(std::vector<std::string>{});
        auto it = std::find(items.begin(), items.end(), target.Entry());
        index = it == items.end() ? -1 : (int)(it - items.begin());
        return index >= 0;
      },
      10000);
  std::string some;
  for (size_t i = 0; i < items.size() && i < 12; ++i) {
    some += ' ';
    some += Q(items[i]);
  }
  Check(listed, "helper program listed",
        Format("%s %s among %zu entries:", Q(target.Entry()).c_str(),
               listed ? "found" : "not found", items.size()) +
            some);
  if (!listed) return false;
  state.Set("target-item", std::to_string(index));
  // Open, with the helper's entry in view, for the screenshot; add-close tells the program.
  Ask(p.picker, CB_SHOWDROPDOWN, TRUE);
  Ask(p.picker, CB_SETCURSEL, index);
  return true;
}

// With a helper program running under a known title, the close-program kind lists it in the
// picker as "title|image name". The step leaves the helper running and the picker open for the
// screenshot; add-close goes on from there.
void StepPicker(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  Target target = TargetOf(state);
  DWORD pid = StartTarget(target);
  if (!pid) return;
  state.Set("target-pid", std::to_string(pid));
  if (!ListTarget(*p, state, target, pid)) EndTarget(pid, target);
}

// Choosing the helper's entry and adding, a day ahead, stores the image name alone as the
// task's parameter.
void StepAddClose(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  State state(statePath);
  std::string item = state.Get("target-item");
  if (p && !item.empty()) {
    Ask(p->picker, CB_SHOWDROPDOWN, FALSE);
    // Chosen as a user's pick reaches the program: the list changes, then tells its parent.
    Ask(p->picker, CB_SETCURSEL, atoi(item.c_str()));
    PostMessageA(GetParent(p->picker), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(p->picker), CBN_SELCHANGE), (LPARAM)p->picker);
    // A count the user typed gives way to the unit's own.
    CheckShown(p->panel2, true, "countdown fields shown");
    TypeInto(p->spin, "7");
    CheckText(p->spin, "7", "count typed");
    PickUnit(*p, kDays, "1");
    AddAndExpect(*p, state, "关闭软件：" + TargetOf(state).image + "\r\n", kSecondsPerDay);
    CheckResetAfterAdd(*p, "选择你要关闭的软件：", true);
  } else {
    Check(false, "picker entry", "the picker step found no entry to choose");
  }
  if (DWORD pid = strtoul(state.Get("target-pid").c_str(), nullptr, 10))
    EndTarget(pid, TargetOf(state));
}

// The keyboard focus of Dusk's window thread, after a click the script made.
void StepFocus(const std::string& name) {
  HWND main = MainWindow();
  HWND control = main ? FindNamed(main, name) : nullptr;
  if (!control) {
    Check(false, "focus", "no control named " + name);
    return;
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  DWORD thread = GetWindowThreadProcessId(main, nullptr);
  bool focused = WaitFor([&] {
    return GetGUIThreadInfo(thread, &info) &&
           (info.hwndFocus == control || IsChild(control, info.hwndFocus));
  });
  Check(focused, "focus",
        Format("%s %s the keyboard focus", name.c_str(), focused ? "has" : "lacks"));
}

}  // namespace

const std::vector<Step>& EntryPanelSteps() {
  static const std::vector<Step> steps = {
      {"warning-open", "STATE", StepWarningOpen},
      {"warning-ok", "STATE", StepWarningOk},
      {"countdown-alarm", "STATE", StepCountdownAlarm},
      {"add-alarm", "STATE", StepAddAlarm},
      {"datetime-shutdown", "STATE", StepDateTimeShutDown},
      {"past-date", "STATE", StepPastDate},
      {"past-ok", "STATE", StepPastOk},
      {"add-shutdown", "STATE", StepAddShutDown},
      {"webpage", "STATE", StepWebPage},
      {"add-webpage", "STATE", StepAddWebPage},
      {"picker", "STATE", StepPicker},
      {"add-close", "STATE", StepAddClose},
      {"focus", "NAME", StepFocus},
  };
  return steps;
}

}  // namespace probe
