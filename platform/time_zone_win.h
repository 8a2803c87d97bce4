#pragma once

#include <windows.h>

#include "platform/time_zone.h"

// The system's rules for the zone the user has set.
class Win32TimeZone : public TimeZone {
 public:
  [[nodiscard]] std::optional<DaylightSaving> DaylightSavingIn(int year) const override;
};
