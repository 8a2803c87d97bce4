// A task that repeats every day, seen from outside: an alarm entered a minute ahead with "每天"
// chosen rings in its second and stays in the list, due at the same time tomorrow.
//
// Every step takes the path of a state file, which carries the due moment from step to step.

#include <windows.h>

#include <cstdlib>
#include <string>

#include "action_support.h"
#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

constexpr const char* kReminder = "每天喝水 daily";
// ComboBoxRepeat
constexpr int kDaily = 1;
// A minute ahead; the keys and the probe runs between take a few seconds of it.
constexpr Lead kDailyLead{60, 30};
// The program performs a task in the tick whose distance to it is 0.
constexpr long long kEarliestBeforeDue = 2;
constexpr long long kLatestAfterDue = 4;

bool AlarmWindowShown() {
  for (HWND form : Forms("TipForm"))
    if (Shown(form)) return true;
  return false;
}

// "闹钟：每天 9:05:30 <reminder>\r\n": the row's first line for an alarm due at `due` every day.
std::string DailyPrefix(long long due) {
  const SYSTEMTIME t = MomentOf(due);
  std::string time = Format("%d:%02d", t.wHour, t.wMinute);
  if (t.wSecond) time += Format(":%02d", t.wSecond);
  return std::string("闹钟：每天 ") + time + " " + kReminder + "\r\n";
}

void StepDailyEntry(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  if (!ClickRadio(p->radio2, kAlarm, "alarm kind")) return;
  TypeInto(p->info, kReminder);
  CheckText(p->info, kReminder, "reminder typed");
  const NamedControl repeat(p->main, "ComboBoxRepeat");
  Ask(repeat, CB_SETCURSEL, kDaily);
  PostMessageW(GetParent(repeat), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(repeat), CBN_SELCHANGE),
               (LPARAM)repeat);
  const bool daily = WaitFor([&] { return TextOf(repeat) == "每天"; });
  Check(daily, "every day chosen", "ComboBoxRepeat reads " + Q(TextOf(repeat)));
  PlanDueMoment(*p, state, kDailyLead.typed);
}

void StepDailyAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  const long long due = atoll(state.Get("due").c_str());
  AddAtDueMoment(*p, state, DailyPrefix(due), kDailyLead);
}

// Rung in its second, and back in the list for the same time tomorrow.
void StepDailyDue(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  const long long due = atoll(state.Get("due").c_str());
  const std::optional<long long> at = WaitAndTime(AlarmWindowShown, due + kLatestAfterDue);
  Check(at && *at >= due - kEarliestBeforeDue && *at <= due + kLatestAfterDue, "alarm on time",
        (at ? "alarm window shown at " + At(*at) : std::string("no alarm window")) + ", due at " +
            At(due));
  state.ClearRows();
  state.AddRow({DailyPrefix(due), due + kSecondsPerDay, due + kSecondsPerDay});
  CheckRows(*p, state);
}

}  // namespace

const std::vector<Step>& RepeatSteps() {
  static const std::vector<Step> steps = {
      {"daily-entry", "STATE", StepDailyEntry},
      {"daily-add", "STATE", StepDailyAdd},
      {"daily-due", "STATE", StepDailyDue},
  };
  return steps;
}

}  // namespace probe
