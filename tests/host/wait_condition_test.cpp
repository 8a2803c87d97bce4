#include <gtest/gtest.h>

#include <vector>

#include "triggers/activity_meter.h"
#include "triggers/network_quiet.h"
#include "triggers/no_input.h"

// The "下载完成后" and "无人操作时" decisions, fed with sample sequences.
namespace {

constexpr std::uint64_t kEthernet = 1;
constexpr std::uint64_t kWifi = 2;
// 20 KB/s over one second.
constexpr std::uint64_t kThresholdPerSecond = 20 * 1024;

ActivitySample Traffic(std::uint64_t tickMs, std::vector<AdapterOctets> adapters,
                       std::optional<ProcessorTimes> processors = std::nullopt) {
  return {tickMs, std::move(adapters), processors};
}

// Received only on the one adapter.
ActivitySample Received(std::uint64_t tickMs, std::uint64_t octets) {
  return Traffic(tickMs, {{kEthernet, octets, 0}});
}

struct QuietCase {
  const char* name;
  std::vector<ActivitySample> samples;
  std::uint64_t quietMs;
};

std::uint64_t QuietAfter(const NetworkQuietTrigger& trigger,
                         const std::vector<ActivitySample>& samples) {
  ActivityMeter meter;
  NetworkQuiet quiet(trigger);
  for (const ActivitySample& sample : samples) {
    if (const std::optional<ActivityInterval> interval = meter.Add(sample)) quiet.Add(*interval);
  }
  return quiet.QuietMilliseconds();
}

}  // namespace

TEST(NetworkQuietTest, QuietTimeGrowsAndStartsAgain) {
  const QuietCase cases[] = {
      {"a first sample measures nothing", {Received(1000, 5)}, 0},
      {"little traffic counts as quiet",
       {Received(1000, 0), Received(2000, 1000), Received(3000, 2000), Received(4000, 3000)},
       3000},
      {"a spike starts the quiet time again",
       {Received(1000, 0), Received(2000, 100), Received(3000, 900000), Received(4000, 900100)},
       1000},
      {"exactly at the threshold is not below it",
       {Received(1000, 0), Received(2000, kThresholdPerSecond)},
       0},
      {"one byte below the threshold is",
       {Received(1000, 0), Received(2000, kThresholdPerSecond - 1)},
       1000},
      {"the rate, not the bytes: 30 KB in two seconds is below 20 KB/s",
       {Received(1000, 0), Received(3000, 30 * 1024)},
       2000},
      {"received and sent count together",
       {Traffic(1000, {{kEthernet, 0, 0}}), Traffic(2000, {{kEthernet, 12000, 12000}})},
       0},
      {"every adapter counts",
       {Traffic(1000, {{kEthernet, 0, 0}, {kWifi, 0, 0}}),
        Traffic(2000, {{kEthernet, 15000, 0}, {kWifi, 15000, 0}})},
       0},
      {"a 32-bit counter that wraps is no burst",
       {Received(1000, 0xFFFFF000), Received(2000, 0xFFFFFF00), Received(3000, 0x100)},
       2000},
      {"a counter reset to zero is no burst",
       {Received(1000, 0), Received(2000, 5000000), Received(3000, 5000100), Received(4000, 0),
        Received(5000, 100)},
       3000},
      {"an adapter that vanishes is no traffic",
       {Traffic(1000, {{kEthernet, 0, 0}, {kWifi, 0, 0}}),
        Traffic(2000, {{kEthernet, 100, 0}, {kWifi, 100, 0}}),
        Traffic(3000, {{kEthernet, 200, 0}})},
       2000},
      {"an adapter that appears with its counters is no traffic",
       {Received(1000, 0), Traffic(2000, {{kEthernet, 100, 0}, {kWifi, 900000000, 900000000}}),
        Traffic(3000, {{kEthernet, 200, 0}, {kWifi, 900000100, 900000000}})},
       2000},
      {"a sleep does not count as quiet",
       {Received(1000, 0), Received(2000, 100), Received(3000, 200), Received(3000 + 3600000, 300)},
       0},
      {"after a sleep the quiet time grows again",
       {Received(1000, 0), Received(2000, 100), Received(3602000, 200), Received(3603000, 300)},
       1000},
      {"the system's tick going back is a gap",
       {Received(5000, 0), Received(6000, 100), Received(4000, 200)},
       0},
  };
  for (const QuietCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(QuietAfter(NetworkQuietTrigger{}, c.samples), c.quietMs);
  }
}

TEST(NetworkQuietTest, ProcessorConditionMustHoldToo) {
  struct Case {
    const char* name;
    bool cpuQuiet;
    std::optional<ProcessorTimes> before, after;
    std::uint64_t quietMs;
  };
  // Of 1000 units of processor time, `busy` were not idle; kernel includes idle.
  const auto busy = [](std::uint64_t units) {
    return std::optional(ProcessorTimes{1000 - units, 1000 - units + units / 2, units - units / 2});
  };
  const std::optional<ProcessorTimes> start = ProcessorTimes{0, 0, 0};
  const Case cases[] = {
      {"a load below the limit", true, start, busy(149), 1000},
      {"exactly at the limit is not below it", true, start, busy(150), 0},
      {"a build that keeps the processors busy", true, start, busy(900), 0},
      {"a load nobody measured is not low", true, std::nullopt, std::nullopt, 0},
      {"times that went back are not measured", true, busy(900), start, 0},
      {"without the condition the load does not matter", false, start, busy(900), 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NetworkQuietTrigger trigger;
    trigger.cpuQuiet = c.cpuQuiet;
    trigger.cpuPercent = 15;
    EXPECT_EQ(QuietAfter(trigger, {Traffic(1000, {{kEthernet, 0, 0}}, c.before),
                                   Traffic(2000, {{kEthernet, 10, 0}}, c.after)}),
              c.quietMs);
  }
}

TEST(NetworkQuietTest, HoldsOnceQuietForItsMinutesAndWaitsAnewAfterARestart) {
  NetworkQuietTrigger trigger;
  trigger.minutes = 1;
  ActivityMeter meter;
  NetworkQuiet quiet(trigger);
  const auto feed = [&](std::uint64_t second) {
    if (auto interval = meter.Add(Received(second * 1000, second * 100))) quiet.Add(*interval);
  };
  for (std::uint64_t second = 0; second <= 59; ++second) feed(second);
  EXPECT_FALSE(quiet.Holds());
  EXPECT_EQ(quiet.BytesPerSecond(), std::optional<std::uint64_t>(100));
  feed(60);
  EXPECT_TRUE(quiet.Holds());
  quiet.Restart();
  EXPECT_FALSE(quiet.Holds());
  feed(61);
  EXPECT_EQ(quiet.QuietMilliseconds(), 1000u);
}

namespace {

PresenceSample Presence(std::uint64_t tickMs, std::uint32_t lastInput, bool screenBusy = false,
                        bool displayRequired = false) {
  return {tickMs, lastInput, screenBusy, displayRequired};
}

}  // namespace

TEST(NoInputTest, IdleTimeWithAndWithoutTheGuard) {
  struct Case {
    const char* name;
    bool guard;
    std::vector<PresenceSample> samples;
    std::uint64_t idleMs;
    bool inputSeen;
  };
  const Case cases[] = {
      {"a first sample measures nothing", true, {Presence(1000, 500)}, 0, false},
      {"no input: the idle time grows",
       true,
       {Presence(1000, 500), Presence(2000, 500), Presence(3000, 500)},
       2000,
       false},
      {"input starts it again",
       true,
       {Presence(1000, 500), Presence(2000, 500), Presence(3000, 2500), Presence(4000, 2500)},
       1000,
       false},
      {"input in the last interval is seen",
       true,
       {Presence(1000, 500), Presence(2000, 500), Presence(3000, 2500)},
       0,
       true},
      {"the input tick wrapping is input",
       true,
       {Presence(1000, 0xFFFFFFF0), Presence(2000, 0xFFFFFFF0), Presence(3000, 0x10)},
       0,
       true},
      {"guarded: a full-screen window holds it",
       true,
       {Presence(1000, 500), Presence(2000, 500), Presence(3000, 500, true),
        Presence(4000, 500, true)},
       1000,
       false},
      {"guarded: a film keeping the display on holds it",
       true,
       {Presence(1000, 500), Presence(2000, 500, false, true), Presence(3000, 500, false, true),
        Presence(4000, 500)},
       1000,
       false},
      {"unguarded: a full-screen window does not hold it",
       false,
       {Presence(1000, 500), Presence(2000, 500, true), Presence(3000, 500, false, true)},
       2000,
       false},
      {"a sleep is not idle time, and what came before stays",
       true,
       {Presence(1000, 500), Presence(2000, 500), Presence(3602000, 500), Presence(3603000, 500)},
       2000,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NoInput idle(NoInputTrigger{30, c.guard});
    for (const PresenceSample& sample : c.samples) idle.Add(sample);
    EXPECT_EQ(idle.IdleMilliseconds(), c.idleMs);
    EXPECT_EQ(idle.InputSeen(), c.inputSeen);
  }
}

TEST(NoInputTest, HoldsAfterItsMinutes) {
  NoInput idle(NoInputTrigger{1, true});
  for (std::uint64_t second = 0; second < 60; ++second) idle.Add(Presence(second * 1000, 7));
  EXPECT_FALSE(idle.Holds());
  idle.Add(Presence(60000, 7));
  EXPECT_TRUE(idle.Holds());
  idle.Restart();
  EXPECT_FALSE(idle.Holds());
}
