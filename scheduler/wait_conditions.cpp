#include "scheduler/wait_conditions.h"

namespace {

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

}  // namespace

bool IsValidCondition(const WaitCondition& condition) {
  if (const auto* network = std::get_if<NetworkQuietTrigger>(&condition)) {
    return InRange(network->rateKilobytes, 1, kMaxRateKilobytes) &&
           InRange(network->minutes, 1, kMaxConditionMinutes) &&
           InRange(network->cpuPercent, kMinCpuPercent, kMaxCpuPercent);
  }
  if (const auto* idle = std::get_if<NoInputTrigger>(&condition)) {
    return InRange(idle->minutes, 1, kMaxConditionMinutes);
  }
  return true;
}
