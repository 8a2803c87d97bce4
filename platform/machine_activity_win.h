#pragma once

#include "platform/machine_activity.h"

// GetIfTable2's rows of physical adapters (HardwareInterface set, no filter
// layered on an adapter, which repeats its counters) and GetSystemTimes.
class Win32MachineActivity : public MachineActivity {
 public:
  // With loopback, a test sees its own local traffic; the program never does.
  explicit Win32MachineActivity(bool includeLoopback = false) : includeLoopback_(includeLoopback) {}
  [[nodiscard]] ActivitySample Sample() override;

 private:
  bool includeLoopback_;
};
