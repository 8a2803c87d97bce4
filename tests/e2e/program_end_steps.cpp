// A task that waits for a program to end, seen from outside: the steps of the end-to-end test
// that pick a running helper program in the after-a-program-ends mode, add an alarm for its end,
// end the helper from outside and time the alarm window.

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "action_support.h"
#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

constexpr int kProgramEndMode = 2;
constexpr const char* kReminder = "程序关了 closed";
constexpr const char* kAlarmPrompt = "请输入提醒的信息：";
// From the helper's end to the alarm window: the tick comes within a second, and the window
// shows in it.
constexpr ULONGLONG kLatestAlarmMs = 2000;

bool AlarmWindowShown() {
  for (HWND form : Forms("TipForm"))
    if (Shown(form)) return true;
  return false;
}

std::string WaitingRow(const Target& target) {
  return std::string("闹钟：") + kReminder + "\r\n等待 " + target.Entry() + " 结束后";
}

// Starts the helper, switches to the mode, chooses the alarm kind, types the reminder and picks
// the helper: the panel as the user leaves it before the add.
void StepWaitEntry(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  const Target target = TargetOf(state);
  if (!StartTargetWindow(state, target) ||
      !ClickRadio(p->radio1, kProgramEndMode, "after-a-program-ends mode")) {
    return;
  }
  CheckShown(p->panel1, false, "date fields hidden");
  CheckShown(p->picker, true, "picker shown in the mode");
  if (!ClickRadio(p->radio2, kAlarm, "alarm kind")) return;
  CheckShown(p->picker, true, "picker shown with the alarm kind");
  CheckShown(p->info, true, "reminder field shown");
  CheckText(p->tips, kAlarmPrompt, "reminder prompt");
  TypeInto(p->info, kReminder);
  PickTarget(*p, target);
}

void StepWaitAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  Target target = TargetOf(State(statePath));
  size_t before = StableRows(p->list).size();
  PostMessageA(p->add, BM_CLICK, 0, 0);
  bool added = WaitFor([&] { return HasRowCount(p->list, before + 1); });
  Check(added, "row added", Format("%zu rows before the press", before));
  std::vector<std::string> rows = StableRows(p->list);
  Check(!rows.empty() && rows.back() == WaitingRow(target), "waiting row",
        rows.empty() ? "no rows" : Q(rows.back()) + ", expected " + Q(WaitingRow(target)));
  Check(!AlarmWindowShown(), "no alarm while the helper runs", "no TipForm shown");
}

// Ends the helper from outside and times the alarm window from the moment the process is gone.
void StepWaitEnd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  Target target = TargetOf(state);
  DWORD pid = strtoul(state.Get("target-pid").c_str(), nullptr, 10);
  if (!pid) {
    Check(false, "helper", "the steps before started none");
    return;
  }
  Check(!AlarmWindowShown(), "no alarm before the end", "no TipForm shown");
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!process) {
    Check(false, "helper", Format("process %lu cannot be opened", pid));
    return;
  }
  TerminateProcess(process, 1);
  bool gone = WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
  ULONGLONG endedAt = GetTickCount64();
  CloseHandle(process);
  Check(gone, "helper ended from outside", Format("process %lu", pid));
  if (!gone) return;
  bool shown = WaitFor(AlarmWindowShown, 10000);
  ULONGLONG tookMs = GetTickCount64() - endedAt;
  Check(shown && tookMs <= kLatestAlarmMs, "alarm within two seconds of the end",
        shown ? Format("alarm window after %llu ms", tookMs) : std::string("no alarm window"));
  bool left = WaitFor([&] { return StableRows(p->list).empty(); });
  Check(left, "the task has left the list", "rows remain");
}

}  // namespace

const std::vector<Step>& ProgramEndSteps() {
  static const std::vector<Step> steps = {
      {"wait-entry", "STATE", StepWaitEntry},
      {"wait-add", "STATE", StepWaitAdd},
      {"wait-end", "STATE", StepWaitEnd},
  };
  return steps;
}

}  // namespace probe
