#pragma once

#include "platform/date_time.h"
#include "platform/interface.h"

// Keeping the computer awake for a task close ahead, and waking it from sleep
// for the next one. Both belong to the thread that asks: call them from the
// window's thread only.
class PowerRequests : public PlatformInterface {
 public:
  // While on, the system does not sleep (the display may still turn off).
  // False when the system refused.
  [[nodiscard]] virtual bool KeepSystemAwake(bool on) = 0;
  // One timer, moved to this local moment, that wakes the computer for it.
  // False when it could not be set. A system that does not wake for timers
  // sets it all the same: asking again would not change that.
  [[nodiscard]] virtual bool ArmWakeTimer(DateTime when) = 0;
  virtual void CancelWakeTimer() = 0;
};
