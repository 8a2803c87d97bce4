// What waiting for programs to end adds to a tick: the whole tick of the program on the fake
// platform (clock label, program-end watch, due tasks, warning, wake keeper), timed with no task
// and with 100 tasks that wait for 100 running programs, in the same run. The fake's handles
// answer at once, so the figures are the program's own work; the system's zero-timeout wait per
// handle comes on top. Prints figures only; nothing passes or fails on them.
//
//   program_end_tick_bench [ROUNDS]     (default 9; each round times 20,000 ticks of each)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "main/program.h"
#include "tests/fakes/fake_platform.h"

namespace {

constexpr int kWaitingTasks = 100;
constexpr int kTicksPerRound = 20000;

double NowNs() {
  return std::chrono::duration<double, std::nano>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A program that never ends, asked without any bookkeeping of the fake's.
class RunningForever : public Processes::WatchedProcess {
 public:
  explicit RunningForever(long long& asked) : asked_(asked) {}
  [[nodiscard]] bool HasEnded() override {
    ++asked_;
    return false;
  }
  [[nodiscard]] std::uint64_t StartTime() override { return 1; }

 private:
  long long& asked_;
};

class ForeverProcesses : public FakeProcesses {
 public:
  [[nodiscard]] std::unique_ptr<WatchedProcess> OpenToWatch(std::uint32_t) override {
    return std::make_unique<RunningForever>(asked);
  }
  long long asked = 0;
};

struct Rig {
  explicit Rig(int waiting) : platform(At(9, 0, 0)) {
    for (int i = 0; i < waiting; ++i) {
      processes.processes.emplace_back(static_cast<std::uint32_t>(1000 + 4 * i),
                                       "program" + std::to_string(i) + ".exe");
    }
    program = std::make_unique<Program>(Platform(), kTestUpdateHost, actions);
    program->Start();
    TForm1& f = program->Form1;
    f.RadioGroup1.UserSelect(2);
    for (int i = 0; i < waiting; ++i) {
      f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::Alarm));
      f.bsSkinComboBoxEx1.UserSelect(i);
      f.EditInfo.UserEdit("task " + std::to_string(i));
      f.ButtonAdd.UserClick();
    }
  }

  PlatformSet Platform() {
    PlatformSet set = platform.Set();
    return {set.clock,
            set.codePage,
            set.files,
            set.versionResource,
            set.notificationArea,
            set.shell,
            set.windowSystem,
            set.power,
            set.sound,
            processes,
            set.threads,
            set.download,
            set.signatures,
            set.messages,
            set.profileFiles,
            set.powerRequests,
            set.sessionInstance,
            set.runAtLogon,
            set.timeZone,
            set.machineActivity,
            set.presenceSensor,
            set.displayLanguage,
            set.mirrors};
  }

  double TimeTicksNs(int ticks) {
    const double start = NowNs();
    for (int i = 0; i < ticks; ++i) {
      platform.clock.AdvanceSeconds(1);
      program->Form1.TimerNow.Fire();
    }
    return (NowNs() - start) / ticks;
  }

  FakePlatform platform;
  ForeverProcesses processes;
  RecordingTaskActions actions{platform.clock};
  std::unique_ptr<Program> program;
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  Rig none(0);
  Rig waiting(kWaitingTasks);
  if (waiting.program->Form1.Tasks().Queue().Count() != kWaitingTasks) {
    std::fprintf(stderr, "the waiting tasks were not all added\n");
    return 1;
  }
  std::vector<double> noneNs, waitingNs;
  const long long askedBefore = waiting.processes.asked;
  const int snapshotsBefore = waiting.processes.snapshots;
  for (int round = 0; round < rounds; ++round) {
    noneNs.push_back(none.TimeTicksNs(kTicksPerRound));
    waitingNs.push_back(waiting.TimeTicksNs(kTicksPerRound));
  }
  const double ticks = static_cast<double>(rounds) * kTicksPerRound;
  std::printf("per tick, median of %d rounds of %d ticks:\n", rounds, kTicksPerRound);
  std::printf("  no task:                     %8.0f ns\n", Median(noneNs));
  std::printf("  %d tasks waiting for ends: %8.0f ns\n", kWaitingTasks, Median(waitingNs));
  std::printf("  handles asked per tick: %.1f, snapshots in the ticks: %d, tasks performed: %zu\n",
              static_cast<double>(waiting.processes.asked - askedBefore) / ticks,
              waiting.processes.snapshots - snapshotsBefore, waiting.actions.performed.size());
  return 0;
}
