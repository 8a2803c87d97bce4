#pragma once

#include <optional>

#include "platform/time_zone.h"

// A zone set by hand to the European rule: forward an hour on the last Sunday
// of March at 02:00, back on the last Sunday of October at 03:00. Without
// daylight saving when the test says so.
class FakeTimeZone : public TimeZone {
 public:
  [[nodiscard]] std::optional<DaylightSaving> DaylightSavingIn(int) const override {
    if (!keepsDaylightSaving) return std::nullopt;
    return DaylightSaving{{3, 5, 0, 0, 2, 0, 0, 0}, {10, 5, 0, 0, 3, 0, 0, 0}, 60};
  }
  bool keepsDaylightSaving = true;
};
