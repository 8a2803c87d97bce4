// The update hand-over with tasks pending, seen from outside: two alarms entered in the old
// program are listed by the new one, which rings the first in its due second.
//
// Every step takes the path of a state file, which keeps the alarms' due moments.

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "action_support.h"
#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

constexpr const char* kFirstReminder = "第一个|交接前添加";
constexpr const char* kSecondReminder = "第二个|交接前添加";
// bsSkinComboBox1's units.
constexpr int kMinutes = 0;
constexpr int kHours = 1;
// More than the two minutes ahead that hold a hand-over back, and little more: the test waits
// for it.
constexpr int kFirstMinutes = 3;
// The program's clock and ours are read apart: the alarm window has been seen a second before the
// second the list shows, and it may come a few seconds after it.
constexpr long long kEarliestBeforeDue = 1;
constexpr long long kLatestAfterDue = 3;

// An alarm by the countdown, entered through the controls; false when it was not listed.
bool AddCountdownAlarm(const Panel& p, State& state, int unit, int count, long long unitSeconds,
                       const char* reminder, const std::string& key) {
  if (!ClickRadio(p.radio1, kCountdown, "countdown mode")) return false;
  Ask(p.unit, CB_SETCURSEL, unit);
  // Choosing the unit puts its default count into the field: sent, so that it is done before the
  // count goes in.
  Ask(GetParent(p.unit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(p.unit), CBN_SELCHANGE),
      (LPARAM)p.unit);
  TypeInto(p.spin, std::to_string(count));
  CheckText(p.spin, std::to_string(count), "count");
  if (!ClickRadio(p.radio2, kAlarm, "alarm kind")) return false;
  TypeInto(p.info, reminder);
  const size_t before = StableRows(p.list).size();
  const long long pressed = Now();
  PostMessageW(p.add, BM_CLICK, 0, 0);
  const bool added = WaitFor([&] { return HasRowCount(p.list, before + 1); });
  Check(added, "row added", Format("%zu rows before the press", before));
  if (!added) return false;
  const long long ahead = count * unitSeconds;
  // The program's second of the press may differ from ours by one either way.
  state.Set(key + "-earliest", std::to_string(pressed + ahead - 1));
  state.Set(key + "-latest", std::to_string(Now() + ahead + 1));
  state.AddRow({std::string("闹钟：") + reminder + "\r\n", pressed + ahead - 1, Now() + ahead + 1});
  return true;
}

ExpectedRow SecondRow(const State& state) {
  return {std::string("闹钟：") + kSecondReminder + "\r\n",
          atoll(state.Get("second-earliest").c_str()), atoll(state.Get("second-latest").c_str())};
}

// Two alarms in the old program while its download is held: one a few minutes ahead, one an
// hour ahead.
void StepHandOverTasksAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  state.ClearRows();
  if (!AddCountdownAlarm(*p, state, kMinutes, kFirstMinutes, kSecondsPerMinute, kFirstReminder,
                         "first") ||
      !AddCountdownAlarm(*p, state, kHours, 1, 60 * kSecondsPerMinute, kSecondReminder, "second")) {
    return;
  }
  CheckRows(*p, state);
}

// The new program lists both, with their due moments.
void StepHandOverTasksListed(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  CheckRows(*p, State(statePath));
}

// The new program rings the first alarm in its due second; the second stays listed.
void StepHandOverTasksDue(const std::string& statePath) {
  std::optional<Panel> p = FindPanel(true);
  if (!p) return;
  State state(statePath);
  const long long earliest = atoll(state.Get("first-earliest").c_str()) - kEarliestBeforeDue;
  const long long latest = atoll(state.Get("first-latest").c_str()) + kLatestAfterDue;
  // The alarm window is made when it first shows.
  std::vector<HWND> tips;
  const std::optional<long long> at = WaitAndTime(
      [&] {
        tips = Forms("TipForm");
        return tips.size() == 1 && Shown(tips[0]);
      },
      latest);
  Check(at && *at >= earliest && *at <= latest, "first alarm on time",
        (at ? "alarm window shown at " + At(*at) : "no alarm window until " + At(latest)) +
            ", expected from " + At(earliest) + " to " + At(latest));
  if (!at) return;
  CheckText(FindNamed(tips[0], "Label2"), kFirstReminder, "its reminder");
  state.ClearRows();
  state.AddRow(SecondRow(state));
  CheckRows(*p, state);
}

}  // namespace

const std::vector<Step>& HandOverSteps() {
  static const std::vector<Step> steps = {
      {"handover-tasks-add", "STATE", StepHandOverTasksAdd},
      {"handover-tasks-listed", "STATE", StepHandOverTasksListed},
      {"handover-tasks-due", "STATE", StepHandOverTasksDue},
  };
  return steps;
}

}  // namespace probe
