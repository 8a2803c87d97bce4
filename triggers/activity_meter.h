#pragma once

#include <cstdint>
#include <optional>

#include "platform/machine_activity.h"

// Longer than this between two samples, the computer slept or stood still:
// what happened meanwhile is not known.
inline constexpr std::uint64_t kLongestSampleGapMs = 10000;

// What the computer did between two samples.
struct ActivityInterval {
  std::uint64_t milliseconds = 0;
  // Received and sent over the adapters seen in both samples.
  std::uint64_t octets = 0;
  // The processors' busy and total time; a total of 0 is unknown.
  std::uint64_t processorBusy = 0;
  std::uint64_t processorTotal = 0;
  // A sleep or a stall: nothing can be said of this interval.
  bool gap = false;
};

// Turns successive samples into intervals. A counter that went back (a reset,
// a 32-bit wrap) and an adapter that came or went count as no traffic: a
// change of adapters never looks like a burst.
class ActivityMeter {
 public:
  // None for the first sample.
  [[nodiscard]] std::optional<ActivityInterval> Add(ActivitySample sample);

 private:
  std::optional<ActivitySample> last_;
};
