#include "triggers/activity_meter.h"

#include <algorithm>
#include <utility>

namespace {

std::uint64_t Growth(std::uint64_t before, std::uint64_t after) {
  return after >= before ? after - before : 0;
}

std::uint64_t Octets(const std::vector<AdapterOctets>& before,
                     const std::vector<AdapterOctets>& after) {
  std::uint64_t octets = 0;
  for (const AdapterOctets& now : after) {
    const auto then = std::find_if(before.begin(), before.end(), [&](const AdapterOctets& a) {
      return a.adapter == now.adapter;
    });
    if (then == before.end()) continue;
    octets += Growth(then->received, now.received) + Growth(then->sent, now.sent);
  }
  return octets;
}

void MeasureProcessors(const std::optional<ProcessorTimes>& before,
                       const std::optional<ProcessorTimes>& after, ActivityInterval& interval) {
  if (!before || !after) return;
  const std::uint64_t totalBefore = before->kernel + before->user;
  const std::uint64_t totalAfter = after->kernel + after->user;
  if (totalAfter < totalBefore || after->idle < before->idle) return;
  const std::uint64_t total = totalAfter - totalBefore;
  const std::uint64_t idle = after->idle - before->idle;
  if (idle > total) return;
  interval.processorTotal = total;
  interval.processorBusy = total - idle;
}

}  // namespace

std::optional<ActivityInterval> ActivityMeter::Add(ActivitySample sample) {
  std::optional<ActivitySample> before = std::exchange(last_, std::move(sample));
  if (!before) return std::nullopt;
  const ActivitySample& after = *last_;
  ActivityInterval interval;
  if (after.tickMs <= before->tickMs || after.tickMs - before->tickMs > kLongestSampleGapMs) {
    interval.gap = true;
    return interval;
  }
  interval.milliseconds = after.tickMs - before->tickMs;
  interval.octets = Octets(before->adapters, after.adapters);
  MeasureProcessors(before->processors, after.processors, interval);
  return interval;
}
