#pragma once

#include <windows.h>

#include <optional>

#include "platform/power_requests.h"
#include "platform/system_error.h"
#include "platform/unique_handle_win.h"

// The local moment as an absolute due time of a waitable timer (UTC), with
// the daylight-saving rule of its own date; nothing for a moment the system
// cannot place.
[[nodiscard]] std::optional<FILETIME> LocalMomentToUtc(DateTime when);

// A waitable timer of our own; empty when the system made none.
[[nodiscard]] UniqueKernelHandle CreateWakeTimer();
// Sets the timer to this local moment and to wake the computer for it.
// ERROR_NOT_SUPPORTED: set, but the system does not wake for it.
[[nodiscard]] SystemError SetWakeTimer(HANDLE timer, DateTime when);

class Win32PowerRequests : public PowerRequests {
 public:
  Win32PowerRequests() : timer_(CreateWakeTimer()) {}
  bool KeepSystemAwake(bool on) override;
  bool ArmWakeTimer(DateTime when) override;
  void CancelWakeTimer() override;

 private:
  UniqueKernelHandle timer_;
};
