#pragma once

#include <optional>

#include "platform/interface.h"

// The moment of a clock change as the system words its rule: "the last Sunday
// of March at 02:00" (week 5 is the last), or one date when `day` is set. The
// time of day is the wall clock's just before the change.
struct ClockChangeRule {
  int month = 1;
  int week = 1;       // 1 to 4, or 5 for the last of the month
  int dayOfWeek = 0;  // 0 is Sunday
  int day = 0;        // a fixed day of the month in place of week and day of week
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// The local clock goes forward by `shiftMinutes` at `forward` and back at `back`.
struct DaylightSaving {
  ClockChangeRule forward;
  ClockChangeRule back;
  int shiftMinutes = 60;
};

// The local time zone's clock changes: where the wall clock skips an hour, a
// task due in that hour runs at the first moment after it.
class TimeZone : public PlatformInterface {
 public:
  // None when the zone keeps one time all that year.
  [[nodiscard]] virtual std::optional<DaylightSaving> DaylightSavingIn(int year) const = 0;
};
