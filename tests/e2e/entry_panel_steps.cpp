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
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

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
// A title with a double-byte part, so that the picker's caption goes through the code page.
constexpr const char* kTargetTitle = "Dusk测试窗口 e2e";
constexpr const char* kTargetImage = "dusk_e2e_target.exe";

// RadioGroup1
constexpr int kDateAndTime = 0;
constexpr int kCountdown = 1;
// bsSkinComboBox1
constexpr int kMinutes = 0;
constexpr int kHours = 1;
constexpr int kDays = 2;
// RadioGroup2, by task kind
constexpr int kTurnOff = 0;
constexpr int kAlarm = 3;
constexpr int kCloseProgram = 5;
constexpr int kOpenWebPage = 6;

constexpr long long kSecondsPerMinute = 60;
constexpr long long kSecondsPerDay = 86400;

// ---- what the steps hand on ----

// A task the list should show: its caption is `prefix` followed by the text of a due second
// from `earliest` to `latest` (seconds since 1601, local time).
struct ExpectedRow {
  std::string prefix;
  long long earliest = 0, latest = 0;
};

std::string Hex(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) out += Format("%02x", c);
  return out;
}

std::string Unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out += (char)strtoul(hex.substr(i, 2).c_str(), nullptr, 16);
  return out;
}

const SYSTEMTIME kEpoch{1601, 1, 1, 1, 0, 0, 0, 0};

long long SecondsOf(const SYSTEMTIME& t) { return SecondsBetween(kEpoch, t); }
SYSTEMTIME MomentOf(long long seconds) { return AddSeconds(kEpoch, seconds); }

// Values are hex ("-" when empty), so that any text survives a file of "key value" lines.
class State {
 public:
  explicit State(std::string path) : path_(std::move(path)) {
    std::ifstream in(path_);
    std::string key, value;
    while (in >> key >> value) values_[key] = value == "-" ? "" : Unhex(value);
  }

  std::string Get(const std::string& key) const {
    auto it = values_.find(key);
    return it == values_.end() ? "" : it->second;
  }

  void Set(const std::string& key, const std::string& value) {
    values_[key] = value;
    std::ofstream out(path_, std::ios::trunc);
    for (const auto& [k, v] : values_) out << k << ' ' << (v.empty() ? "-" : Hex(v)) << '\n';
    if (!out) Check(false, "state file", "cannot write " + path_);
  }

  std::vector<ExpectedRow> Rows() const {
    std::vector<ExpectedRow> rows;
    for (int i = 0;; ++i) {
      std::string prefix = Get(Format("row%d.prefix", i));
      if (prefix.empty()) break;
      rows.push_back({prefix, atoll(Get(Format("row%d.earliest", i)).c_str()),
                      atoll(Get(Format("row%d.latest", i)).c_str())});
    }
    std::sort(rows.begin(), rows.end(),
              [](const ExpectedRow& a, const ExpectedRow& b) { return a.earliest < b.earliest; });
    return rows;
  }

  void AddRow(const ExpectedRow& row) {
    int i = (int)Rows().size();
    Set(Format("row%d.earliest", i), std::to_string(row.earliest));
    Set(Format("row%d.latest", i), std::to_string(row.latest));
    Set(Format("row%d.prefix", i), row.prefix);
  }

 private:
  std::string path_;
  std::map<std::string, std::string> values_;
};

// ---- the panel's controls ----

struct Panel {
  HWND main = nullptr;
  HWND radio1 = nullptr, panel1 = nullptr, dateEdit = nullptr, timeEdit = nullptr,
       timeTip = nullptr, panel2 = nullptr, spin = nullptr, unit = nullptr;
  HWND radio2 = nullptr, tips = nullptr, info = nullptr, picker = nullptr, add = nullptr;
  HWND list = nullptr;
};

std::optional<Panel> FindPanel() {
  Panel p;
  bool up = WaitFor([&] { return (p.main = MainWindow()) != nullptr && Shown(p.main); });
  if (!up) {
    Check(false, "main window", "no shown Form1");
    return std::nullopt;
  }
  struct Wanted {
    HWND* hwnd;
    const char* name;
  };
  const Wanted wanted[] = {
      {&p.radio1, "RadioGroup1"},
      {&p.panel1, "Panel1"},
      {&p.dateEdit, "bsSkinDateEdit1"},
      {&p.timeEdit, "bsSkinTimeEdit1"},
      {&p.timeTip, "PanelTimeTip"},
      {&p.panel2, "Panel2"},
      {&p.spin, "bsSkinSpinEdit1"},
      {&p.unit, "bsSkinComboBox1"},
      {&p.radio2, "RadioGroup2"},
      {&p.tips, "LabelTips"},
      {&p.info, "EditInfo"},
      {&p.picker, "bsSkinComboBoxEx1"},
      {&p.add, "ButtonAdd"},
      {&p.list, "TaskList"},
  };
  std::string missing;
  for (const Wanted& w : wanted)
    if (!(*w.hwnd = FindNamed(p.main, w.name))) missing += std::string(" ") + w.name;
  if (!missing.empty()) {
    Check(false, "entry panel controls", "not found:" + missing);
    return std::nullopt;
  }
  return p;
}

int CheckedItem(HWND group) {
  std::vector<HWND> items = RadioItems(group);
  for (size_t i = 0; i < items.size(); ++i)
    if (Ask(items[i], BM_GETCHECK).value_or(0) == BST_CHECKED) return (int)i;
  return -1;
}

// A click on a radio item, as a user's click reaches the group. Posted: the handler may open a
// modal box.
bool ClickRadio(HWND group, int index, const char* check) {
  std::vector<HWND> items = RadioItems(group);
  if (index >= (int)items.size()) {
    Check(false, check, Format("%s has %zu items", NameOf(group).c_str(), items.size()));
    return false;
  }
  PostMessageA(items[index], BM_CLICK, 0, 0);
  int checked = -1;
  bool ok = WaitFor([&] { return (checked = CheckedItem(group)) == index; });
  Check(ok, check,
        Format("%s item %d %s checked", NameOf(group).c_str(), index,
               ok ? "is" : Format("is not (item %d is)", checked).c_str()) +
            " after a click on " + Q(TextOf(items[index])));
  return ok;
}

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

bool WaitShown(HWND hwnd, bool shown) {
  return WaitFor([&] { return Shown(hwnd) == shown; });
}

void CheckShown(HWND hwnd, bool shown, const char* check) {
  bool ok = WaitShown(hwnd, shown);
  Check(ok, check,
        Format("%s is %s, expected %s", NameOf(hwnd).c_str(), Shown(hwnd) ? "shown" : "hidden",
               shown ? "shown" : "hidden"));
}

void CheckText(HWND hwnd, const std::string& expected, const char* check) {
  std::string text;
  bool ok = WaitFor([&] { return (text = TextOf(hwnd)) == expected; });
  Check(ok, check,
        Format("%s reads %s, expected %s", NameOf(hwnd).c_str(), Q(text).c_str(),
               Q(expected).c_str()));
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

// Text put into the field as typing does: the field changes, and the program hears of it.
void TypeInto(HWND edit, const std::string& text) {
  Ask(edit, WM_SETTEXT, 0, (LPARAM)text.c_str());
}

// ---- the task list ----

// The strings of a list box or a combo box of another process, which hands them over as UTF-16
// whatever the call's variant. Nothing when the list changed while it was read: a refill that
// tells the tray or reads other programs' windows lets our messages in half-way.
struct ListMessages {
  UINT count, length, text;
};
constexpr ListMessages kListBoxMessages{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT};
constexpr ListMessages kComboBoxMessages{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT};

std::optional<LRESULT> AskWide(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &result))
    return std::nullopt;
  return (LRESULT)result;
}

std::optional<std::vector<std::string>> ReadStrings(HWND hwnd, const ListMessages& m) {
  // LB_ERR and CB_ERR are both -1: every failure answers below zero.
  std::optional<LRESULT> count = AskWide(hwnd, m.count, 0, 0);
  if (!count || *count < 0) return std::nullopt;
  std::vector<std::string> strings;
  for (LRESULT i = 0; i < *count; ++i) {
    std::optional<LRESULT> length = AskWide(hwnd, m.length, i, 0);
    if (!length || *length < 0) return std::nullopt;
    // Room to spare: the text is copied back whole, and it may have grown since it was measured.
    std::wstring wide(std::max<LRESULT>(*length, 2048) + 1, L'\0');
    std::optional<LRESULT> copied = AskWide(hwnd, m.text, i, (LPARAM)wide.data());
    if (!copied || *copied < 0 || *copied >= (LRESULT)wide.size()) return std::nullopt;
    wide.resize(*copied);
    int bytes =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string text(bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), text.data(), bytes, nullptr,
                        nullptr);
    strings.push_back(text);
  }
  if (AskWide(hwnd, m.count, 0, 0) != count) return std::nullopt;
  return strings;
}

std::optional<std::vector<std::string>> ListRows(HWND list) {
  return ReadStrings(list, kListBoxMessages);
}

// A reading of the rows, once the program lets one through whole.
std::vector<std::string> StableRows(HWND list) {
  std::optional<std::vector<std::string>> rows;
  if (!WaitFor([&] { return (rows = ListRows(list)).has_value(); }))
    Check(false, "task list readable", "no whole reading of TaskList");
  return rows.value_or(std::vector<std::string>{});
}

bool HasRowCount(HWND list, size_t count) {
  std::optional<std::vector<std::string>> rows = ListRows(list);
  return rows && rows->size() == count;
}

bool RowMatches(const std::string& row, const ExpectedRow& e) {
  for (long long s = e.earliest; s <= e.latest; ++s)
    if (row == e.prefix + ClockText(MomentOf(s))) return true;
  return false;
}

std::string Describe(const ExpectedRow& e) {
  std::string first = ClockText(MomentOf(e.earliest));
  if (e.earliest == e.latest) return Q(e.prefix + first);
  return Q(e.prefix + first) + " .. " + Q(ClockText(MomentOf(e.latest)));
}

// The list shows exactly the expected tasks, earliest due first.
void CheckRows(const Panel& p, const State& state) {
  std::vector<ExpectedRow> expected = state.Rows();
  std::vector<std::string> rows;
  bool counted = WaitFor([&] {
    std::optional<std::vector<std::string>> read = ListRows(p.list);
    if (read) rows = *read;
    return read && rows.size() == expected.size();
  });
  Check(counted, "task list rows", Format("%zu rows, expected %zu", rows.size(), expected.size()));
  for (size_t i = 0; i < std::min(rows.size(), expected.size()); ++i)
    Check(RowMatches(rows[i], expected[i]), Format("row %zu", i),
          Q(rows[i]) + " expected " + Describe(expected[i]));
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

// ---- the date and time pickers ----

std::string ShortDate(const SYSTEMTIME& t) {
  char date[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, sizeof date);
  return date;
}

// The time edit shows two-digit hours, minutes and seconds.
std::optional<int> SecondOfDay(const std::string& text) {
  int h, m, s;
  char end;
  if (text.size() != 8 || sscanf(text.c_str(), "%2d:%2d:%2d%c", &h, &m, &s, &end) != 3 || h > 23 ||
      m > 59 || s > 59)
    return std::nullopt;
  return h * 3600 + m * 60 + s;
}

std::string TimeText(const SYSTEMTIME& t) {
  return Format("%02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond);
}

// The day a short date stands for, found by formatting the days around today the same way.
std::optional<SYSTEMTIME> DayOf(const std::string& shortDate) {
  SYSTEMTIME today = LocalNow();
  today.wHour = today.wMinute = today.wSecond = today.wMilliseconds = 0;
  for (long long offset = -800; offset <= 800; ++offset) {
    SYSTEMTIME day = AddSeconds(today, offset * kSecondsPerDay);
    if (ShortDate(day) == shortDate) return day;
  }
  return std::nullopt;
}

// The date edit's day at the time edit's time of day.
std::optional<SYSTEMTIME> EnteredMoment(const Panel& p) {
  std::optional<SYSTEMTIME> day = DayOf(TextOf(p.dateEdit));
  std::optional<int> second = SecondOfDay(TextOf(p.timeEdit));
  if (!day || !second) return std::nullopt;
  return AddSeconds(*day, *second);
}

// Where a click selects the first field of a picker (the year of the short date, the hours of
// the time): a few pixels into its text.
void PrintPickerPoints(const Panel& p) {
  Point("date-first-field", LeftPart(p.dateEdit, 8));
  Point("time-first-field", LeftPart(p.timeEdit, 8));
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

// The entries of the picker. A ComboBoxEx answers CB_GETLBTEXT with its entries' captions.
std::optional<std::vector<std::string>> PickerItems(HWND picker) {
  return ReadStrings(picker, kComboBoxMessages);
}

std::string TargetPath() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string path = self;
  return path.substr(0, path.find_last_of("\\/") + 1) + kTargetImage;
}

HWND TargetWindow(DWORD pid) {
  for (HWND h : TopLevelWindows())
    if (ProcessOf(h) == pid && TextOf(h) == kTargetTitle && Shown(h)) return h;
  return nullptr;
}

// Ends the helper program a step started: asked first, then by its process id.
void EndTarget(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!process) return;
  if (HWND window = TargetWindow(pid)) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
  CloseHandle(process);
}

const std::string kTargetEntry = std::string(kTargetTitle) + "|" + kTargetImage;

// Looks for the helper's entry once its window shows; true when the helper should stay for the
// next step.
bool ListTarget(const Panel& p, State& state, DWORD pid) {
  bool up = WaitFor([&] { return TargetWindow(pid) != nullptr; });
  Check(up, "helper program window",
        Format("%s shown by process %lu", Q(kTargetTitle).c_str(), pid));
  if (!up || !ClickRadio(p.radio2, kCloseProgram, "close-program kind")) return false;
  CheckPrompt(p, "选择你要关闭的软件：", true);

  std::vector<std::string> items;
  int index = -1;
  // The listing runs inside the click's handler; the poll only covers a slow machine.
  bool listed = WaitFor(
      [&] {
        items = PickerItems(p.picker).value_or(std::vector<std::string>{});
        auto it = std::find(items.begin(), items.end(), kTargetEntry);
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
        Format("%s %s among %zu entries:", Q(kTargetEntry).c_str(), listed ? "found" : "not found",
               items.size()) +
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
  std::string path = TargetPath(), commandLine = "\"" + path + "\" " + kTargetTitle;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION target{};
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &target)) {
    Check(false, "helper program",
          Format("cannot start %s (error %lu)", path.c_str(), GetLastError()));
    return;
  }
  CloseHandle(target.hThread);
  CloseHandle(target.hProcess);
  state.Set("target-pid", std::to_string(target.dwProcessId));
  if (!ListTarget(*p, state, target.dwProcessId)) EndTarget(target.dwProcessId);
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
    AddAndExpect(*p, state, std::string("关闭软件：") + kTargetImage + "\r\n", kSecondsPerDay);
    CheckResetAfterAdd(*p, "选择你要关闭的软件：", true);
  } else {
    Check(false, "picker entry", "the picker step found no entry to choose");
  }
  if (DWORD pid = strtoul(state.Get("target-pid").c_str(), nullptr, 10)) EndTarget(pid);
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
