#include "platform/date_time.h"

#include <gtest/gtest.h>

#include "scheduler/moment_text.h"
#include "tests/fakes/fake_platform.h"

TEST(DateTime, EncodesOnTheDayCountSinceTheEpoch) {
  EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 30}), 0.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2000, 1, 1}), 36526.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2000, 1, 1, 18, 0, 0, 0}), 36526.75);
}

TEST(DateTime, DecodesRoundedToTheMillisecond) {
  struct Case {
    CalendarTime in;
    CalendarTime out;
  };
  static const Case kCases[] = {
      {{2026, 12, 10, 23, 59, 59, 999}, {2026, 12, 10, 23, 59, 59, 999}},
      {{2024, 2, 29, 0, 0, 0, 0}, {2024, 2, 29, 0, 0, 0, 0}},
      {{2026, 12, 31, 12, 34, 56, 789}, {2026, 12, 31, 12, 34, 56, 789}},
  };
  for (const Case& c : kCases) {
    const CalendarTime t = DecodeDateTime(EncodeDateTime(c.in));
    SCOPED_TRACE(testing::Message() << c.in.year << "-" << c.in.month << "-" << c.in.day);
    EXPECT_EQ(t.year, c.out.year);
    EXPECT_EQ(t.month, c.out.month);
    EXPECT_EQ(t.day, c.out.day);
    EXPECT_EQ(t.hour, c.out.hour);
    EXPECT_EQ(t.minute, c.out.minute);
    EXPECT_EQ(t.second, c.out.second);
    EXPECT_EQ(t.millisecond, c.out.millisecond);
  }
  // Less than half a millisecond before midnight is midnight of the next day.
  const CalendarTime next = DecodeDateTime(EncodeDateTime({2026, 12, 31}) - 0.0004 / 86400.0);
  EXPECT_EQ(next.year, 2026);
  EXPECT_EQ(next.month, 12);
  EXPECT_EQ(next.day, 31);
  EXPECT_TRUE(IsMidnight(next));
}

TEST(DateTime, ComparesEqualWithinAMillisecond) {
  const DateTime base = At(10, 0, 0);
  const double ms = 1.0 / 86'400'000.0;
  EXPECT_EQ(CompareDateTime(base, base + 0.9 * ms), 0);
  EXPECT_EQ(CompareDateTime(base + 0.9 * ms, base), 0);
  EXPECT_LT(CompareDateTime(base, base + 1.1 * ms), 0);
  EXPECT_GT(CompareDateTime(base + 1.1 * ms, base), 0);
}

TEST(DateTime, WholeSecondsAreTruncatedAndNeverNegative) {
  const DateTime base = At(10, 0, 0);
  EXPECT_EQ(WholeSecondsApart(base + 59.9 / 86400, base), 59);
  EXPECT_EQ(WholeSecondsApart(base - 59.9 / 86400, base), 59);
  EXPECT_EQ(WholeSecondsApart(base + 0.5 / 86400, base), 0);
  EXPECT_EQ(WholeSecondsApart(base + 2.0, base), 172800);
}

TEST(MomentText, LeavesTheTimeOutAtExactlyMidnight) {
  const FakeClock clock(0);
  EXPECT_EQ(MomentText(clock, At(9, 5, 7)), "2026/12/10 9:05:07");
  EXPECT_EQ(MomentText(clock, At(0, 0, 0)), "2026/12/10");
  EXPECT_EQ(MomentText(clock, At(0, 0, 0) + 0.4 / 86400), "2026/12/10");
  EXPECT_EQ(MomentText(clock, At(0, 0, 1)), "2026/12/10 0:00:01");
}
