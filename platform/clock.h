#pragma once

#include <string>

#include "platform/date_time.h"
#include "platform/interface.h"

// The local clock and the user's way of writing dates and times. Everything
// that reads the time goes through here, so tests can hold time still or move
// it by hand.
class Clock : public PlatformInterface {
 public:
  [[nodiscard]] virtual DateTime Now() const = 0;
  // The date in the user's short date format.
  [[nodiscard]] virtual std::string FormatShortDate(const CalendarTime& time) const = 0;
  // The time of day in the user's long time format.
  [[nodiscard]] virtual std::string FormatLongTime(const CalendarTime& time) const = 0;
  // Waits this long before going on: a file another program holds for a
  // moment is tried again after it.
  virtual void Pause(unsigned milliseconds) const = 0;
};
