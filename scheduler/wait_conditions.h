#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <variant>

// What a task may wait for besides a moment, as plain values: the entry panel
// fills them, the saved list writes them, a command line may name them.

// "下载完成后": the traffic of the physical network adapters stays below a rate
// for a number of minutes, and optionally the processors below a load.
struct NetworkQuietTrigger {
  int rateKilobytes = 20;  // KB/s, received and sent together
  int minutes = 3;
  bool cpuQuiet = false;
  int cpuPercent = 15;
  friend auto operator<=>(const NetworkQuietTrigger&, const NetworkQuietTrigger&) = default;
};

// "无人操作时": no keyboard or mouse input for a number of minutes; with the
// guard, time spent watching (a full-screen program, a film) does not count.
struct NoInputTrigger {
  int minutes = 30;
  bool guard = true;
  friend auto operator<=>(const NoInputTrigger&, const NoInputTrigger&) = default;
};

// The bounds the panel and the saved list hold the values to.
inline constexpr int kMaxRateKilobytes = 1000000;
inline constexpr int kMaxConditionMinutes = 1440;
inline constexpr int kMinCpuPercent = 1;
inline constexpr int kMaxCpuPercent = 100;

// None for a task due at its moment or after a program's end.
using WaitCondition = std::variant<std::monostate, NetworkQuietTrigger, NoInputTrigger>;

// Whether the values lie within the bounds above (minutes at least 1).
[[nodiscard]] bool IsValidCondition(const WaitCondition& condition);

// What a waiting task has seen so far, for its row and the headline.
struct WaitProgress {
  // The traffic of the last interval; none before the first or after a gap.
  std::optional<std::uint64_t> bytesPerSecond;
  // How long the condition has held: the network quiet, nobody at the computer.
  std::uint64_t heldMs = 0;
};
