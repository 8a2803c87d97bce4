// What waiting for a quiet network and for nobody at the computer adds to a tick: the whole
// tick of the program on the fake platform (the samples, both decisions, the live captions,
// the headline, the wake keeper), timed with no task and with one "下载完成后" and one
// "无人操作时" task waiting, in the same run. The fakes answer at once, so the figures are the
// program's own work; the system's samples come on top (activity_sample_bench under Wine).
// Prints figures only; nothing passes or fails on them.
//
//   condition_tick_bench [ROUNDS]     (default 9; each round times 20,000 ticks of each)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "main/program.h"
#include "tests/fakes/fake_platform.h"

namespace {

constexpr int kTicksPerRound = 20000;
// Above the threshold: the download never ends while timed.
constexpr std::uint64_t kOctetsPerTick = 1 << 20;

double NowNs() {
  return std::chrono::duration<double, std::nano>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Rig {
  explicit Rig(bool waiting) : platform(At(9, 0, 0)) {
    // Four adapters, as a laptop with a wired and a wireless card and two virtual ones has.
    platform.machineActivity.adapters = {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
    platform.machineActivity.processors = ProcessorTimes{0, 0, 0};
    program = std::make_unique<Program>(platform.Set(), kTestUpdateHost, actions);
    program->Start();
    if (!waiting) return;
    TForm1& f = program->Form1;
    f.RadioGroup1.UserSelect(3);
    f.CheckCpuQuiet.UserSetChecked(true);
    f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::TurnOff));
    f.ButtonAdd.UserClick();
    f.RadioGroup1.UserSelect(4);
    f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::Alarm));
    f.EditInfo.UserEdit("下班");
    f.ButtonAdd.UserClick();
  }

  double TimeTicksNs(int ticks) {
    const double start = NowNs();
    for (int i = 0; i < ticks; ++i) {
      platform.machineActivity.Receive(kOctetsPerTick);
      // Someone at the computer now and then.
      if (i % 60 == 0) platform.presenceSensor.Input();
      platform.clock.AdvanceSeconds(1);
      program->Form1.TimerNow.Fire();
    }
    return (NowNs() - start) / ticks;
  }

  FakePlatform platform;
  RecordingTaskActions actions{platform.clock};
  std::unique_ptr<Program> program;
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  Rig none(false);
  Rig waiting(true);
  if (waiting.program->Form1.Tasks().Queue().Count() != 2) {
    std::fprintf(stderr, "the waiting tasks were not both added\n");
    return 1;
  }
  std::vector<double> noneNs, waitingNs;
  for (int round = 0; round < rounds; ++round) {
    noneNs.push_back(none.TimeTicksNs(kTicksPerRound));
    waitingNs.push_back(waiting.TimeTicksNs(kTicksPerRound));
  }
  std::printf("per tick, median of %d rounds of %d ticks:\n", rounds, kTicksPerRound);
  std::printf("  no task:                  %8.0f ns\n", Median(noneNs));
  std::printf("  both conditions waiting:  %8.0f ns\n", Median(waitingNs));
  std::printf(
      "  samples per tick: %.2f traffic, %.2f presence; tasks performed: %zu\n",
      static_cast<double>(waiting.platform.machineActivity.samples) / (rounds * kTicksPerRound),
      static_cast<double>(waiting.platform.presenceSensor.samples) / (rounds * kTicksPerRound),
      waiting.actions.performed.size());
  return 0;
}
