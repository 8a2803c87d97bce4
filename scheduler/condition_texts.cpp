#include "scheduler/condition_texts.h"

#include <variant>

#include "language/language.h"

namespace {

constexpr std::uint64_t kKilobyte = 1024;
constexpr std::uint64_t kMegabyte = 1024 * 1024;

// "12.5": to the nearest tenth, the ".0" kept.
std::string Tenths(std::uint64_t value, std::uint64_t unit) {
  const std::uint64_t tenths = (value * 10 + unit / 2) / unit;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

int MinutesOf(const WaitCondition& condition) {
  if (const auto* network = std::get_if<NetworkQuietTrigger>(&condition)) return network->minutes;
  if (const auto* idle = std::get_if<NoInputTrigger>(&condition)) return idle->minutes;
  return 0;
}

}  // namespace

std::string RateText(std::uint64_t bytesPerSecond) {
  const std::string rate = bytesPerSecond >= kMegabyte
                               ? Tenths(bytesPerSecond, kMegabyte) + " MB/s"
                               : Tenths(bytesPerSecond, kKilobyte) + " KB/s";
  return FormatText(TextId::RateNow, {rate});
}

std::string HeldText(std::uint64_t milliseconds) {
  const std::uint64_t seconds = milliseconds / 1000;
  const auto number = [](std::uint64_t n) { return std::to_string(n); };
  if (seconds < 60) return FormatText(TextId::HeldSeconds, {number(seconds)});
  if (seconds < 3600) {
    return FormatText(TextId::HeldMinutesSeconds, {number(seconds / 60), number(seconds % 60)});
  }
  return FormatText(TextId::HeldHoursMinutes,
                    {number(seconds / 3600), number(seconds % 3600 / 60)});
}

std::string WaitingRowText(const WaitCondition& condition, const WaitProgress& progress) {
  const std::string needed = std::to_string(MinutesOf(condition));
  if (std::holds_alternative<NetworkQuietTrigger>(condition)) {
    const std::string rate = progress.bytesPerSecond ? RateText(*progress.bytesPerSecond)
                                                     : std::string(Text(TextId::RateUnknown));
    return FormatText(TextId::WaitingRowNetworkQuiet, {rate, HeldText(progress.heldMs), needed});
  }
  return FormatText(TextId::WaitingRowNoInput, {HeldText(progress.heldMs), needed});
}

std::int64_t SecondsToGo(const WaitCondition& condition, const WaitProgress& progress) {
  const auto needed = static_cast<std::int64_t>(MinutesOf(condition)) * 60;
  const auto held = static_cast<std::int64_t>(progress.heldMs / 1000);
  return held >= needed ? 0 : needed - held;
}
