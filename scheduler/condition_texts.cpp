#include "scheduler/condition_texts.h"

#include <variant>

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
  if (bytesPerSecond >= kMegabyte) return "当前 " + Tenths(bytesPerSecond, kMegabyte) + " MB/s";
  return "当前 " + Tenths(bytesPerSecond, kKilobyte) + " KB/s";
}

std::string HeldText(std::uint64_t milliseconds) {
  const std::uint64_t seconds = milliseconds / 1000;
  if (seconds < 60) return std::to_string(seconds) + "秒";
  if (seconds < 3600) {
    return std::to_string(seconds / 60) + "分" + std::to_string(seconds % 60) + "秒";
  }
  return std::to_string(seconds / 3600) + "小时" + std::to_string(seconds % 3600 / 60) + "分";
}

std::string WaitingRowText(const WaitCondition& condition, const WaitProgress& progress) {
  const std::string needed = "/" + std::to_string(MinutesOf(condition)) + "分钟";
  if (std::holds_alternative<NetworkQuietTrigger>(condition)) {
    const std::string rate =
        progress.bytesPerSecond ? RateText(*progress.bytesPerSecond) : "当前 —";
    return std::string(kNetworkQuietModeText) + "：" + rate + "，低速" + HeldText(progress.heldMs) +
           needed;
  }
  return std::string(kNoInputModeText) + "：已空闲" + HeldText(progress.heldMs) + needed;
}

std::int64_t SecondsToGo(const WaitCondition& condition, const WaitProgress& progress) {
  const auto needed = static_cast<std::int64_t>(MinutesOf(condition)) * 60;
  const auto held = static_cast<std::int64_t>(progress.heldMs / 1000);
  return held >= needed ? 0 : needed - held;
}
