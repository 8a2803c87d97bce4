#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/interface.h"

// The traffic counters of one network adapter, as the system keeps them since
// the adapter came up; `adapter` tells adapters apart while they exist.
struct AdapterOctets {
  std::uint64_t adapter = 0;
  std::uint64_t received = 0;
  std::uint64_t sent = 0;
};

// The processors' time since start, summed over all of them, in the system's
// units. The kernel time includes the idle time, as the system counts it.
struct ProcessorTimes {
  std::uint64_t idle = 0;
  std::uint64_t kernel = 0;
  std::uint64_t user = 0;
};

// One look at what the computer is busy with.
struct ActivitySample {
  // Milliseconds since the system started, sleep included: a sleep shows as a gap.
  std::uint64_t tickMs = 0;
  std::vector<AdapterOctets> adapters;
  std::optional<ProcessorTimes> processors;  // none when the system did not say
};

// What the computer is busy with: the traffic of its physical network adapters
// (not loopback, tunnels or virtual switches) and the load of its processors.
class MachineActivity : public PlatformInterface {
 public:
  [[nodiscard]] virtual ActivitySample Sample() = 0;
};
