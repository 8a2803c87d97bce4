#pragma once

// What the steps that enter tasks share: the entry panel's controls found by their design names,
// clicks on radio items as a user's click reaches the program, the task list read back, the date
// and time pickers, the helper program the process picker lists, and a state file that carries
// what one step learnt to the next (each step is a run of its own).

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "probe_support.h"

namespace probe {

// RadioGroup1
inline constexpr int kDateAndTime = 0;
inline constexpr int kCountdown = 1;
// RadioGroup2, by task kind
inline constexpr int kTurnOff = 0;
inline constexpr int kAlarm = 3;
inline constexpr int kCloseProgram = 5;
inline constexpr int kOpenWebPage = 6;
inline constexpr int kScreenOff = 10;

inline constexpr long long kSecondsPerMinute = 60;
inline constexpr long long kSecondsPerDay = 86400;

// ---- what the steps hand on ----

// A task the list should show: its caption is `prefix` followed by the text of a due second
// from `earliest` to `latest` (seconds since 1601, local time).
struct ExpectedRow {
  std::string prefix;
  long long earliest = 0, latest = 0;
};

// Seconds since 1601 in local time, and back.
long long SecondsOf(const SYSTEMTIME& t);
SYSTEMTIME MomentOf(long long seconds);

// Values are hex ("-" when empty), so that any text survives a file of "key value" lines.
class State {
 public:
  explicit State(std::string path);
  std::string Get(const std::string& key) const;
  void Set(const std::string& key, const std::string& value);
  std::vector<ExpectedRow> Rows() const;
  void AddRow(const ExpectedRow& row);
  // The tasks were performed: the list should be empty.
  void ClearRows();
  // The tasks with this caption prefix were performed; the others wait on.
  void RemoveRows(const std::string& prefix);

 private:
  void Save();

  std::string path_;
  std::map<std::string, std::string> values_;
};

// ---- the panel's controls ----

// A control of the main window, found by its name when first asked for: the program makes a
// control's window as the control first shows, so one not shown yet has none (null).
class NamedControl {
 public:
  NamedControl() = default;
  NamedControl(HWND main, const char* name) : main_(main), name_(name) {}
  operator HWND() const;
  // For the notifications that carry the control's window.
  explicit operator LPARAM() const { return reinterpret_cast<LPARAM>(static_cast<HWND>(*this)); }

 private:
  HWND main_ = nullptr;
  const char* name_ = "";
  mutable HWND hwnd_ = nullptr;
};

struct Panel {
  HWND main = nullptr;
  NamedControl radio1, panel1, dateEdit, timeEdit, timeTip, panel2, spin, unit;
  NamedControl radio2, tips, info, picker, add, list;
};

// Waits for the main window, shown unless `whileHidden` (in the tray, say); a failed check when
// it or a control that shows with it is missing.
std::optional<Panel> FindPanel(bool whileHidden = false);

int CheckedItem(HWND group);
// A click on a radio item, as a user's click reaches the group. Posted: the handler may open a
// modal box.
bool ClickRadio(HWND group, int index, const char* check);

bool WaitShown(HWND hwnd, bool shown);
void CheckShown(HWND hwnd, bool shown, const char* check);
void CheckText(HWND hwnd, const std::string& expected, const char* check);

// Text put into the field as typing does: the field changes, and the program hears of it.
void TypeInto(HWND edit, const std::string& text);

// ---- the task list ----

// The strings of a list box or a combo box of another process, which hands them over as UTF-16
// whatever the call's variant. Nothing when the list changed while it was read: a refill that
// tells the tray or reads other programs' windows lets our messages in half-way.
struct ListMessages {
  UINT count, length, text;
};
inline constexpr ListMessages kListBoxMessages{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT};
inline constexpr ListMessages kComboBoxMessages{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT};

std::optional<std::vector<std::string>> ReadStrings(HWND hwnd, const ListMessages& m);
std::optional<std::vector<std::string>> ListRows(HWND list);
// A reading of the rows, once the program lets one through whole.
std::vector<std::string> StableRows(HWND list);
bool HasRowCount(HWND list, size_t count);
// The list shows exactly the expected tasks, earliest due first.
void CheckRows(const Panel& p, const State& state);

// ---- the date and time pickers ----

std::string ShortDate(const SYSTEMTIME& t);
// The time edit shows two-digit hours, minutes and seconds.
std::optional<int> SecondOfDay(const std::string& text);
std::string TimeText(const SYSTEMTIME& t);
// The day a short date stands for, found by formatting the days around today the same way.
std::optional<SYSTEMTIME> DayOf(const std::string& shortDate);
// The date edit's day at the time edit's time of day.
std::optional<SYSTEMTIME> EnteredMoment(const Panel& p);
// Where a click selects the first field of a picker (the year of the short date, the hours of
// the time): a few pixels into its text.
void PrintPickerPoints(const Panel& p);

// ---- the helper program of the process picker ----

// A file beside the probe: the helper programs are built there.
std::string BesideProbe(const std::string& name);

// A program file beside the probe, run under a window title.
struct Target {
  std::string title, image;
  // Its entry in the picker: its window title, "|" and its image name.
  std::string Entry() const { return title + "|" + image; }
};
// The helper, under a title with Chinese in it.
extern const Target kUsualTarget;
// The helper the steps start: the usual one, or the copy that a step put in its place.
Target TargetOf(const State& state);
// A copy of the helper under a Chinese file name, and a Chinese title, in place of the usual one
// for the steps that follow.
void UseChineseTarget(State& state);

// The entries of the picker. A ComboBoxEx answers CB_GETLBTEXT with its entries' captions.
std::optional<std::vector<std::string>> PickerItems(HWND picker);
// Its shown window, under its title.
HWND TargetWindow(DWORD pid, const Target& target);
// Starts it under its title; its process id, or 0 after a failed check.
DWORD StartTarget(const Target& target);
// Starts the helper program and waits until its window shows: its process id, kept in the state
// as target-pid, or 0 when it did not come up.
DWORD StartTargetWindow(State& state, const Target& target);
// Ends the helper program a step started: asked first, then by its process id.
void EndTarget(DWORD pid, const Target& target);

}  // namespace probe
