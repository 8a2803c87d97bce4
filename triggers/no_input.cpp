#include "triggers/no_input.h"

#include <utility>

#include "triggers/activity_meter.h"

namespace {

constexpr std::uint64_t kMsPerMinute = 60000;

}  // namespace

void NoInput::Add(const PresenceSample& sample) {
  const std::optional<PresenceSample> before = std::exchange(last_, sample);
  inputSeen_ = before && sample.lastInputTick != before->lastInputTick;
  if (!before || inputSeen_) {
    idleMs_ = 0;
    return;
  }
  if (sample.tickMs <= before->tickMs || sample.tickMs - before->tickMs > kLongestSampleGapMs) {
    return;
  }
  if (trigger_.guard && (sample.screenBusy || sample.displayRequired)) return;
  idleMs_ += sample.tickMs - before->tickMs;
}

bool NoInput::Holds() const {
  return idleMs_ >= static_cast<std::uint64_t>(trigger_.minutes) * kMsPerMinute;
}
