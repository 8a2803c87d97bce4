#include "scheduler/elapsed_time.h"

#include <gtest/gtest.h>

#include "scheduler/moment_text.h"
#include "tests/fakes/fake_platform.h"

namespace {

DateTime On(int year, int month, int day, int hour, int minute) {
  return At(hour, minute, 0, day, month, year);
}

std::string Text(DateTime moment) { return MomentText(FakeClock(0), moment); }

// The south: forward on the first Sunday of October at 02:00, back on the
// first Sunday of April at 03:00, daylight-saving time over the new year.
class SouthernZone : public TimeZone {
 public:
  [[nodiscard]] std::optional<DaylightSaving> DaylightSavingIn(int) const override {
    return DaylightSaving{{10, 1, 0, 0, 2, 0, 0, 0}, {4, 1, 0, 0, 3, 0, 0, 0}, 60};
  }
};

}  // namespace

// The European zone of the fake skips 02:00 to 03:00 on 2026-03-29 and goes
// back from 03:00 to 02:00 on 2026-10-25.
TEST(ElapsedMinutesLater, CountsElapsedTimeAcrossTheClockChanges) {
  const FakeTimeZone europe;
  FakeTimeZone noChanges;
  noChanges.keepsDaylightSaving = false;
  const SouthernZone south;
  struct Case {
    const char* what;
    const TimeZone& zone;
    DateTime now;
    long long minutes;
    DateTime due;
  };
  const Case kCases[] = {
      {"before the skipped hour", europe, On(2026, 3, 29, 1, 30), 20, On(2026, 3, 29, 1, 50)},
      {"onto its end", europe, On(2026, 3, 29, 1, 30), 30, On(2026, 3, 29, 3, 0)},
      {"over it", europe, On(2026, 3, 29, 1, 30), 60, On(2026, 3, 29, 3, 30)},
      {"a day over it", europe, On(2026, 3, 28, 2, 30), 1440, On(2026, 3, 29, 3, 30)},
      {"after it", europe, On(2026, 3, 29, 3, 10), 60, On(2026, 3, 29, 4, 10)},
      {"without clock changes", noChanges, On(2026, 3, 29, 1, 30), 60, On(2026, 3, 29, 2, 30)},
      {"into the first of an hour that comes twice", europe, On(2026, 10, 25, 1, 30), 60,
       On(2026, 10, 25, 2, 30)},
      // The second 02:30 reads like the first, which the tick meets an hour early.
      {"into the second: its end", europe, On(2026, 10, 25, 1, 30), 120, On(2026, 10, 25, 3, 0)},
      {"a day before, into the second", europe, On(2026, 10, 24, 3, 30), 1440,
       On(2026, 10, 25, 3, 0)},
      {"over both", europe, On(2026, 10, 25, 1, 30), 180, On(2026, 10, 25, 3, 30)},
      // Either coming of 02:10 meets 02:40 thirty minutes later.
      {"within it", europe, On(2026, 10, 25, 2, 10), 30, On(2026, 10, 25, 2, 40)},
      {"from within it, read as the second", europe, On(2026, 10, 25, 2, 30), 60,
       On(2026, 10, 25, 3, 30)},
      {"the south, over its skipped hour", south, On(2026, 10, 4, 1, 30), 60,
       On(2026, 10, 4, 3, 30)},
      {"the south, over the new year", south, On(2026, 12, 31, 23, 30), 60, On(2027, 1, 1, 0, 30)},
      {"the south, into its first hour twice", south, On(2026, 4, 5, 1, 30), 60,
       On(2026, 4, 5, 2, 30)},
      {"the south, into its second", south, On(2026, 4, 5, 1, 30), 120, On(2026, 4, 5, 3, 0)},
      {"the south, over both", south, On(2026, 4, 5, 1, 30), 180, On(2026, 4, 5, 3, 30)},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Text(ElapsedMinutesLater(c.now, c.minutes, c.zone)), Text(c.due));
  }
}
