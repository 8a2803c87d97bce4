#include "panel_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace probe {

const Target kUsualTarget{"Dusk测试窗口 e2e", "dusk_e2e_target.exe"};

namespace {

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

}  // namespace

long long SecondsOf(const SYSTEMTIME& t) { return SecondsBetween(kEpoch, t); }
SYSTEMTIME MomentOf(long long seconds) { return AddSeconds(kEpoch, seconds); }

// ---- what the steps hand on ----

State::State(std::string path) : path_(std::move(path)) {
  std::ifstream in(path_);
  std::string key, value;
  while (in >> key >> value) values_[key] = value == "-" ? "" : Unhex(value);
}

std::string State::Get(const std::string& key) const {
  auto it = values_.find(key);
  return it == values_.end() ? "" : it->second;
}

void State::Set(const std::string& key, const std::string& value) {
  values_[key] = value;
  Save();
}

void State::ClearRows() {
  std::erase_if(values_, [](const auto& entry) { return entry.first.starts_with("row"); });
  Save();
}

void State::RemoveRows(const std::string& prefix) {
  std::vector<ExpectedRow> kept = Rows();
  std::erase_if(kept, [&](const ExpectedRow& row) { return row.prefix == prefix; });
  ClearRows();
  for (const ExpectedRow& row : kept) AddRow(row);
}

void State::Save() {
  std::ofstream out(path_, std::ios::trunc);
  for (const auto& [k, v] : values_) out << k << ' ' << (v.empty() ? "-" : Hex(v)) << '\n';
  if (!out) Check(false, "state file", "cannot write " + path_);
}

std::vector<ExpectedRow> State::Rows() const {
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

void State::AddRow(const ExpectedRow& row) {
  int i = (int)Rows().size();
  Set(Format("row%d.earliest", i), std::to_string(row.earliest));
  Set(Format("row%d.latest", i), std::to_string(row.latest));
  Set(Format("row%d.prefix", i), row.prefix);
}

// ---- the panel's controls ----

NamedControl::operator HWND() const {
  if (!hwnd_) hwnd_ = FindNamed(main_, name_);
  return hwnd_;
}

std::optional<Panel> FindPanel(bool whileHidden) {
  Panel p;
  bool up =
      WaitFor([&] { return (p.main = MainWindow()) != nullptr && (whileHidden || Shown(p.main)); });
  if (!up) {
    Check(false, "main window", whileHidden ? "no Form1" : "no shown Form1");
    return std::nullopt;
  }
  struct Wanted {
    NamedControl* control;
    const char* name;
    bool showsWithWindow;
  };
  const Wanted wanted[] = {
      {&p.radio1, "RadioGroup1", true},
      {&p.panel1, "Panel1", true},
      {&p.dateEdit, "bsSkinDateEdit1", true},
      {&p.timeEdit, "bsSkinTimeEdit1", true},
      {&p.timeTip, "PanelTimeTip", false},
      {&p.panel2, "Panel2", false},
      {&p.spin, "bsSkinSpinEdit1", false},
      {&p.unit, "bsSkinComboBox1", false},
      {&p.radio2, "RadioGroup2", true},
      {&p.tips, "LabelTips", false},
      {&p.info, "EditInfo", false},
      {&p.picker, "bsSkinComboBoxEx1", false},
      {&p.add, "ButtonAdd", true},
      {&p.list, "TaskList", true},
  };
  std::string missing;
  for (const Wanted& w : wanted) {
    *w.control = NamedControl(p.main, w.name);
    if (w.showsWithWindow && !static_cast<HWND>(*w.control)) missing += std::string(" ") + w.name;
  }
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

void TypeInto(HWND edit, const std::string& text) {
  std::wstring wide = Wide(text);
  Ask(edit, WM_SETTEXT, 0, (LPARAM)wide.c_str());
}

// ---- the task list ----

std::optional<std::vector<std::string>> ReadStrings(HWND hwnd, const ListMessages& m) {
  // LB_ERR and CB_ERR are both -1: every failure answers below zero.
  std::optional<LRESULT> count = Ask(hwnd, m.count);
  if (!count || *count < 0) return std::nullopt;
  std::vector<std::string> strings;
  for (LRESULT i = 0; i < *count; ++i) {
    std::optional<LRESULT> length = Ask(hwnd, m.length, i);
    if (!length || *length < 0) return std::nullopt;
    // Room to spare: the text is copied back whole, and it may have grown since it was measured.
    std::wstring wide(std::max<LRESULT>(*length, 2048) + 1, L'\0');
    std::optional<LRESULT> copied = Ask(hwnd, m.text, i, (LPARAM)wide.data());
    if (!copied || *copied < 0 || *copied >= (LRESULT)wide.size()) return std::nullopt;
    wide.resize(*copied);
    strings.push_back(Utf8(wide));
  }
  if (Ask(hwnd, m.count) != count) return std::nullopt;
  return strings;
}

std::optional<std::vector<std::string>> ListRows(HWND list) {
  return ReadStrings(list, kListBoxMessages);
}

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

void CheckRows(const Panel& p, const State& state) {
  std::vector<ExpectedRow> expected = state.Rows();
  std::vector<std::string> rows;
  // The list may still be on its way there: a series comes back only after
  // its alarm window has shown.
  const auto allMatch = [&] {
    if (rows.size() != expected.size()) return false;
    for (size_t i = 0; i < rows.size(); ++i)
      if (!RowMatches(rows[i], expected[i])) return false;
    return true;
  };
  WaitFor([&] {
    std::optional<std::vector<std::string>> read = ListRows(p.list);
    if (read) rows = *read;
    return read && allMatch();
  });
  const bool counted = rows.size() == expected.size();
  Check(counted, "task list rows", Format("%zu rows, expected %zu", rows.size(), expected.size()));
  for (size_t i = 0; i < std::min(rows.size(), expected.size()); ++i)
    Check(RowMatches(rows[i], expected[i]), Format("row %zu", i),
          Q(rows[i]) + " expected " + Describe(expected[i]));
}

// ---- the date and time pickers ----

std::string ShortDate(const SYSTEMTIME& t) {
  wchar_t date[128] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 128);
  return Utf8(date);
}

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

std::optional<SYSTEMTIME> DayOf(const std::string& shortDate) {
  SYSTEMTIME today = LocalNow();
  today.wHour = today.wMinute = today.wSecond = today.wMilliseconds = 0;
  for (long long offset = -800; offset <= 800; ++offset) {
    SYSTEMTIME day = AddSeconds(today, offset * kSecondsPerDay);
    if (ShortDate(day) == shortDate) return day;
  }
  return std::nullopt;
}

std::optional<SYSTEMTIME> EnteredMoment(const Panel& p) {
  std::optional<SYSTEMTIME> day = DayOf(TextOf(p.dateEdit));
  std::optional<int> second = SecondOfDay(TextOf(p.timeEdit));
  if (!day || !second) return std::nullopt;
  return AddSeconds(*day, *second);
}

void PrintPickerPoints(const Panel& p) {
  Point("date-first-field", LeftPart(p.dateEdit, 8));
  Point("time-first-field", LeftPart(p.timeEdit, 8));
}

// ---- the helper program of the process picker ----

std::optional<std::vector<std::string>> PickerItems(HWND picker) {
  return ReadStrings(picker, kComboBoxMessages);
}

std::string BesideProbe(const std::string& name) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::string path = Utf8(self);
  return path.substr(0, path.find_last_of("\\/") + 1) + name;
}

Target TargetOf(const State& state) {
  Target target{state.Get("target-title"), state.Get("target-image")};
  return target.image.empty() ? kUsualTarget : target;
}

void UseChineseTarget(State& state) {
  const Target chinese{"下载器窗口 e2e", "下载器.exe"};
  std::string copy = BesideProbe(chinese.image);
  bool copied = CopyFileW(Wide(BesideProbe(kUsualTarget.image)).c_str(), Wide(copy).c_str(), FALSE);
  Check(copied, "helper under a Chinese name",
        Format("%s copied to %s", kUsualTarget.image.c_str(), Q(copy).c_str()) +
            (copied ? "" : Format(": error %lu", GetLastError())));
  if (!copied) return;
  state.Set("target-title", chinese.title);
  state.Set("target-image", chinese.image);
}

HWND TargetWindow(DWORD pid, const Target& target) {
  for (HWND h : TopLevelWindows())
    if (ProcessOf(h) == pid && TextOf(h) == target.title && Shown(h)) return h;
  return nullptr;
}

DWORD StartTarget(const Target& target) {
  std::string path = BesideProbe(target.image);
  std::wstring commandLine = Wide("\"" + path + "\" " + target.title);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(Wide(path).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &started)) {
    Check(false, "helper program",
          Format("cannot start %s (error %lu)", Q(path).c_str(), GetLastError()));
    return 0;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return started.dwProcessId;
}

DWORD StartTargetWindow(State& state, const Target& target) {
  const DWORD pid = StartTarget(target);
  if (!pid) return 0;
  state.Set("target-pid", std::to_string(pid));
  const bool up = WaitFor([&] { return TargetWindow(pid, target) != nullptr; });
  Check(up, "helper program window",
        Format("%s shown by process %lu", Q(target.title).c_str(), pid));
  return up ? pid : 0;
}

void EndTarget(DWORD pid, const Target& target) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!process) return;
  if (HWND window = TargetWindow(pid, target)) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
  CloseHandle(process);
}

}  // namespace probe
