#include "triggers/network_quiet.h"

namespace {

constexpr std::uint64_t kBytesPerKilobyte = 1024;
constexpr std::uint64_t kMsPerMinute = 60000;

}  // namespace

bool NetworkQuiet::IsQuiet(const ActivityInterval& interval) const {
  // In whole numbers: exactly at the threshold is not below it.
  using Wide = unsigned __int128;
  const Wide threshold = static_cast<Wide>(trigger_.rateKilobytes) * kBytesPerKilobyte;
  if (static_cast<Wide>(interval.octets) * 1000 >= threshold * interval.milliseconds) return false;
  if (!trigger_.cpuQuiet) return true;
  // A load nobody could measure is not a low one.
  if (interval.processorTotal == 0) return false;
  return static_cast<Wide>(interval.processorBusy) * 100 <
         static_cast<Wide>(trigger_.cpuPercent) * interval.processorTotal;
}

void NetworkQuiet::Add(const ActivityInterval& interval) {
  if (interval.gap || interval.milliseconds == 0) {
    quietMs_ = 0;
    bytesPerSecond_.reset();
    return;
  }
  bytesPerSecond_ = interval.octets * 1000 / interval.milliseconds;
  quietMs_ = IsQuiet(interval) ? quietMs_ + interval.milliseconds : 0;
}

bool NetworkQuiet::Holds() const {
  return quietMs_ >= static_cast<std::uint64_t>(trigger_.minutes) * kMsPerMinute;
}
