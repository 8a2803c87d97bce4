// Tasks that wait for a condition, seen from outside: the steps of the end-to-end test that add
// an alarm for a quiet network and one for nobody at the computer, watch the first ring with the
// live rate in its row while input keeps the second waiting, and time the second once the input
// stops. The input itself comes from xdotool, in the script.

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

constexpr int kNetworkQuietMode = 3;
constexpr int kNoInputMode = 4;
constexpr const char* kNetworkReminder = "下载完了 done";
constexpr const char* kIdleReminder = "没人了 gone";
// Far above what the machine's own traffic reaches: the network counts as quiet at once.
constexpr const char* kRateAboveBackground = "50000";
// The quiet-network alarm rings within this of its add: its minute, and the ticks around it.
constexpr ULONGLONG kNetworkRingMs = 90000;
// After the last input the idle alarm rings within this: its minute and a tick or two.
constexpr ULONGLONG kIdleRingMs = 75000;

std::string NetworkRowStart() {
  return std::string("闹钟：") + kNetworkReminder + "\r\n下载完成后：";
}
std::string IdleRowStart() { return std::string("闹钟：") + kIdleReminder + "\r\n无人操作时："; }

// The reminder the alarm window shows, or nothing while it is hidden.
std::optional<std::string> AlarmReminder() {
  for (HWND form : Forms("TipForm")) {
    if (Shown(form)) return TextOf(FindNamed(form, "Label2"));
  }
  return std::nullopt;
}

std::optional<std::string> RowStartingWith(HWND list, const std::string& start) {
  for (const std::string& row : StableRows(list)) {
    if (row.rfind(start, 0) == 0) return row;
  }
  return std::nullopt;
}

// "当前 12.5 KB/s": a figure, then a unit per second.
bool ShowsLiveRate(const std::string& row) {
  const std::size_t at = row.find("当前 ");
  if (at == std::string::npos) return false;
  const std::size_t figure = at + std::string("当前 ").size();
  return figure < row.size() && row[figure] >= '0' && row[figure] <= '9' &&
         row.find("B/s", figure) != std::string::npos;
}

bool AddInMode(Panel& p, int mode, const char* modeName,
               const std::vector<std::pair<const char*, const char*>>& fields, const char* reminder,
               const std::string& rowStart) {
  if (!ClickRadio(p.radio1, mode, modeName)) return false;
  CheckShown(p.panel1, false, "date fields hidden");
  for (const auto& [name, value] : fields) {
    const NamedControl field(p.main, name);
    TypeInto(field, value);
    CheckText(field, value, name);
  }
  if (!ClickRadio(p.radio2, kAlarm, "alarm kind")) return false;
  TypeInto(p.info, reminder);
  const size_t before = StableRows(p.list).size();
  PostMessageA(p.add, BM_CLICK, 0, 0);
  const bool added = WaitFor([&] { return HasRowCount(p.list, before + 1); });
  Check(added, "row added", Format("%zu rows before the press", before));
  const std::optional<std::string> row = RowStartingWith(p.list, rowStart);
  Check(row.has_value(), "waiting row", "no row starts with " + Q(rowStart));
  return added && row;
}

void StepNetworkAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  if (AddInMode(*p, kNetworkQuietMode, "quiet-network mode",
                {{"EditNetRate", kRateAboveBackground}, {"EditNetMinutes", "1"}}, kNetworkReminder,
                NetworkRowStart())) {
    state.Set("network-added", std::to_string(GetTickCount64()));
    // The first figure comes with the second tick's sample.
    const bool live = WaitFor([&] {
      const std::optional<std::string> row = RowStartingWith(p->list, NetworkRowStart());
      return row && ShowsLiveRate(*row);
    });
    Check(live, "the live rate in the row after the add", "no figure within the bound");
  }
}

void StepIdleAdd(const std::string&) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  (void)AddInMode(*p, kNoInputMode, "nobody-at-the-computer mode", {{"EditIdleMinutes", "1"}},
                  kIdleReminder, IdleRowStart());
  Check(!AlarmReminder(), "no alarm at the add", "the alarm window shows");
}

// Runs while the script moves the mouse every ten seconds for 90 s: the quiet-network alarm
// rings within its bound, its row showing the live rate before; the idle alarm never does.
void StepWatchWhileInput(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  const State state(statePath);
  const ULONGLONG added = strtoull(state.Get("network-added").c_str(), nullptr, 10);
  if (!added) {
    Check(false, "quiet-network task", "the step before added none");
    return;
  }
  bool liveRate = false;
  bool idleRang = false;
  std::optional<ULONGLONG> networkRangAfter;
  std::string lastRow;
  const ULONGLONG until = GetTickCount64() + 88000;
  while (GetTickCount64() < until) {
    if (const std::optional<std::string> row = RowStartingWith(p->list, NetworkRowStart())) {
      lastRow = *row;
      liveRate = liveRate || ShowsLiveRate(*row);
    }
    const std::optional<std::string> reminder = AlarmReminder();
    if (reminder == kNetworkReminder && !networkRangAfter) {
      networkRangAfter = GetTickCount64() - added;
    }
    idleRang = idleRang || reminder == kIdleReminder;
    Sleep(250);
  }
  Check(liveRate, "the live rate in the row", "last row seen: " + Q(lastRow));
  Check(networkRangAfter && *networkRangAfter <= kNetworkRingMs,
        "the quiet-network alarm within 90 s",
        networkRangAfter ? Format("rang %llu ms after the add", *networkRangAfter)
                         : std::string("it never rang"));
  Check(!idleRang, "no idle alarm while input comes", "the idle alarm rang");
  Check(RowStartingWith(p->list, IdleRowStart()).has_value(), "the idle task still waits",
        "its row is gone");
}

// Started right after the last input: the idle alarm rings within its bound and leaves the list.
void StepIdleRings(const std::string&) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  const ULONGLONG from = GetTickCount64();
  const bool rang = WaitFor([] { return AlarmReminder() == kIdleReminder; }, kIdleRingMs + 10000);
  const ULONGLONG tookMs = GetTickCount64() - from;
  Check(rang && tookMs <= kIdleRingMs, "the idle alarm within 75 s of the last input",
        rang ? Format("rang after %llu ms", tookMs) : std::string("it never rang"));
  const bool left = WaitFor([&] { return StableRows(p->list).empty(); });
  Check(left, "both tasks have left the list", "rows remain");
}

}  // namespace

const std::vector<Step>& ConditionSteps() {
  static const std::vector<Step> steps = {
      {"condition-network-add", "STATE", StepNetworkAdd},
      {"condition-idle-add", "STATE", StepIdleAdd},
      {"condition-watch", "STATE", StepWatchWhileInput},
      {"condition-idle-rings", "STATE", StepIdleRings},
  };
  return steps;
}

}  // namespace probe
