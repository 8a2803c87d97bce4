#pragma once

#include <cstdint>
#include <optional>

#include "scheduler/wait_conditions.h"
#include "triggers/activity_meter.h"

// "下载完成后" as a decision: how long the traffic (and the processors, when
// asked) has stayed below the threshold, from the intervals of the meter. Any
// interval at or above it starts the quiet time again, and so does a gap: a
// sleep is not a quiet network.
class NetworkQuiet {
 public:
  explicit NetworkQuiet(const NetworkQuietTrigger& trigger) : trigger_(trigger) {}

  void Add(const ActivityInterval& interval);
  [[nodiscard]] bool Holds() const;
  [[nodiscard]] std::uint64_t QuietMilliseconds() const { return quietMs_; }
  // The rate of the last interval; none before the first or after a gap.
  [[nodiscard]] std::optional<std::uint64_t> BytesPerSecond() const { return bytesPerSecond_; }
  // After the task it stands for was performed: it waits anew.
  void Restart() { quietMs_ = 0; }

 private:
  [[nodiscard]] bool IsQuiet(const ActivityInterval& interval) const;

  NetworkQuietTrigger trigger_;
  std::uint64_t quietMs_ = 0;
  std::optional<std::uint64_t> bytesPerSecond_;
};
