// The saved task list seen from outside: tasks added through the entry panel are in the list
// again after the program was closed, or its process ended outright, and started anew.
//
// Every step takes the path of a state file, which keeps the rows the list showed last.

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

// bsSkinComboBox1's hours: the count becomes 1, an hour ahead, well after the test.
constexpr int kHours = 1;

std::string Joined(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& row : rows) text += Q(row) + " ";
  return text;
}

// One alarm an hour ahead, its reminder numbered and with a "|" and a line of Chinese in it.
void StepSavedAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  const std::string number = std::to_string(StableRows(p->list).size() + 1);
  if (!ClickRadio(p->radio1, kCountdown, "countdown mode")) return;
  Ask(p->unit, CB_SETCURSEL, kHours);
  PostMessageW(GetParent(p->unit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(p->unit), CBN_SELCHANGE),
               (LPARAM)p->unit);
  const bool hour = WaitFor([&] { return TextOf(p->spin) == "1"; });
  Check(hour, "an hour ahead", "bsSkinSpinEdit1 reads " + Q(TextOf(p->spin)));
  if (!ClickRadio(p->radio2, kAlarm, "alarm kind")) return;
  TypeInto(p->info, "第" + number + "个|保存的任务");
  const size_t before = StableRows(p->list).size();
  PostMessageW(p->add, BM_CLICK, 0, 0);
  const bool added = WaitFor([&] { return HasRowCount(p->list, before + 1); });
  Check(added, "row added", Joined(StableRows(p->list)));
  state.Set("saved-rows", Joined(StableRows(p->list)));
}

// The rows the list shows now are the rows it showed when the last task was added.
void StepSavedSame(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  const State state(statePath);
  const std::string expected = state.Get("saved-rows");
  std::string rows;
  const bool same = WaitFor([&] { return (rows = Joined(StableRows(p->list))) == expected; });
  Check(same && !expected.empty(), "the same rows after a new start",
        rows + "expected " + expected);
}

// The program closed from its tray menu: its window gone, then its process. (Its tray icon goes
// with the desktop, which closes once its last program has ended.)
void StepSavedClosed(const std::string& pidText) {
  const DWORD pid = strtoul(pidText.c_str(), nullptr, 10);
  const bool gone = WaitFor([] { return Forms("Form1").empty(); });
  Check(gone, "main window closed", gone ? "no Form1 any more" : "Form1 still there");
  const bool ended = pid && WaitFor([&] { return !ProcessRunning(pid); });
  Check(ended, "process ended", Format("process %lu %s", pid, ended ? "gone" : "still running"));
}

}  // namespace

const std::vector<Step>& SavedListSteps() {
  static const std::vector<Step> steps = {
      {"saved-add", "STATE", StepSavedAdd},
      {"saved-same", "STATE", StepSavedSame},
      {"saved-closed", "PID", StepSavedClosed},
  };
  return steps;
}

}  // namespace probe
