#pragma once

#include <cmath>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/machine_activity.h"
#include "platform/presence_sensor.h"

// The system's tick in milliseconds as the test's clock moves: a test that
// sets the clock far ahead makes a gap, as a sleep would.
inline std::uint64_t FakeTickMs(const Clock& clock) {
  return static_cast<std::uint64_t>(std::llround(clock.Now() * kSecondsPerDay * 1000));
}

// Adapters and processors as the test writes them; it counts the samples taken.
class FakeMachineActivity : public MachineActivity {
 public:
  explicit FakeMachineActivity(const Clock& clock) : clock_(clock) {}
  ActivitySample Sample() override {
    ++samples;
    return {FakeTickMs(clock_), adapters, processors};
  }
  // Traffic on the first adapter, received.
  void Receive(std::uint64_t octets) { adapters.front().received += octets; }

  std::vector<AdapterOctets> adapters{{1, 0, 0}};
  std::optional<ProcessorTimes> processors;
  int samples = 0;

 private:
  const Clock& clock_;
};

// The last input, the screen and the display as the test sets them; it counts
// the samples taken.
class FakePresenceSensor : public PresenceSensor {
 public:
  explicit FakePresenceSensor(const Clock& clock) : clock_(clock) {}
  PresenceSample Sample() override {
    ++samples;
    return {FakeTickMs(clock_), lastInputTick, screenBusy, displayRequired};
  }
  // A key pressed or the mouse moved now.
  void Input() { lastInputTick = static_cast<std::uint32_t>(FakeTickMs(clock_)); }

  std::uint32_t lastInputTick = 0;
  bool screenBusy = false;
  bool displayRequired = false;
  int samples = 0;

 private:
  const Clock& clock_;
};
