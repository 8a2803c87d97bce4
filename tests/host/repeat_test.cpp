#include "scheduler/repeat.h"

#include <gtest/gtest.h>

#include "scheduler/moment_text.h"
#include "tests/fakes/fake_platform.h"

namespace {

// A moment by its date first, as the tables read best.
DateTime On(int year, int month, int day, int hour, int minute, int second = 0) {
  return At(hour, minute, second, day, month, year);
}

std::string Text(DateTime moment) { return MomentText(FakeClock(0), moment); }

}  // namespace

TEST(ClockChangeMoment, FindsTheNamedWeekdayOfTheMonth) {
  struct Case {
    ClockChangeRule rule;
    int year;
    DateTime moment;
  };
  const Case kCases[] = {
      {{3, 5, 0, 0, 2, 0, 0, 0}, 2026, On(2026, 3, 29, 2, 0)},    // last Sunday of March
      {{10, 5, 0, 0, 3, 0, 0, 0}, 2026, On(2026, 10, 25, 3, 0)},  // last Sunday of October
      {{3, 5, 0, 0, 2, 0, 0, 0}, 2027, On(2027, 3, 28, 2, 0)},
      {{10, 5, 0, 0, 3, 0, 0, 0}, 2027, On(2027, 10, 31, 3, 0)},         // the 31st itself
      {{3, 2, 0, 0, 2, 0, 0, 0}, 2026, On(2026, 3, 8, 2, 0)},            // second Sunday
      {{11, 1, 0, 0, 2, 0, 0, 0}, 2026, On(2026, 11, 1, 2, 0)},          // first Sunday, the 1st
      {{2, 5, 6, 0, 23, 59, 59, 0}, 2028, On(2028, 2, 26, 23, 59, 59)},  // last Saturday
      {{3, 1, 0, 21, 0, 0, 0, 0}, 2026, On(2026, 3, 21, 0, 0)},          // one date
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.rule.month << "/" << c.rule.week << " " << c.year);
    EXPECT_EQ(CompareDateTime(ClockChangeMoment(c.rule, c.year), c.moment), 0);
  }
}

TEST(DueMomentOf, MovesOnlyWhatTheSkippedHourHoldsToItsEnd) {
  FakeTimeZone europe;
  FakeTimeZone noChanges;
  noChanges.keepsDaylightSaving = false;
  struct Case {
    const TimeZone& zone;
    DateTime wallClock;
    DateTime due;
  };
  const Case kCases[] = {
      {europe, On(2027, 3, 28, 1, 59, 59), On(2027, 3, 28, 1, 59, 59)},
      {europe, On(2027, 3, 28, 2, 0), On(2027, 3, 28, 3, 0)},
      {europe, On(2027, 3, 28, 2, 30), On(2027, 3, 28, 3, 0)},
      {europe, On(2027, 3, 28, 2, 59, 59), On(2027, 3, 28, 3, 0)},
      {europe, On(2027, 3, 28, 3, 0), On(2027, 3, 28, 3, 0)},
      {europe, On(2027, 3, 21, 2, 30), On(2027, 3, 21, 2, 30)},    // a week before
      {europe, On(2027, 10, 31, 2, 30), On(2027, 10, 31, 2, 30)},  // the hour comes twice
      {noChanges, On(2027, 3, 28, 2, 30), On(2027, 3, 28, 2, 30)},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(Text(c.wallClock));
    EXPECT_EQ(CompareDateTime(DueMomentOf(c.wallClock, c.zone), c.due), 0);
  }
}

TEST(NextOccurrence, FollowsTheCalendarAndTheWallClock) {
  const FakeTimeZone europe;
  struct Case {
    RepeatKind kind;
    DateTime occurrence;
    DateTime after;
    DateTime next;
  };
  const Case kCases[] = {
      {RepeatKind::Daily, On(2026, 12, 10, 23, 30), On(2026, 12, 10, 23, 30),
       On(2026, 12, 11, 23, 30)},
      {RepeatKind::Daily, On(2027, 1, 31, 8, 0), On(2027, 1, 31, 8, 0), On(2027, 2, 1, 8, 0)},
      {RepeatKind::Daily, On(2026, 12, 31, 23, 30, 15), On(2026, 12, 31, 23, 30, 15),
       On(2027, 1, 1, 23, 30, 15)},
      {RepeatKind::Daily, On(2028, 2, 28, 6, 0), On(2028, 2, 28, 6, 0), On(2028, 2, 29, 6, 0)},
      {RepeatKind::Daily, On(2027, 2, 28, 6, 0), On(2027, 2, 28, 6, 0), On(2027, 3, 1, 6, 0)},
      {RepeatKind::Weekly, On(2028, 2, 29, 6, 0), On(2028, 2, 29, 6, 0), On(2028, 3, 7, 6, 0)},
      {RepeatKind::Weekly, On(2026, 12, 31, 0, 0), On(2026, 12, 31, 0, 0), On(2027, 1, 7, 0, 0)},
      // Friday to Monday, Monday to Tuesday.
      {RepeatKind::Weekdays, On(2026, 12, 11, 7, 0), On(2026, 12, 11, 7, 0),
       On(2026, 12, 14, 7, 0)},
      {RepeatKind::Weekdays, On(2026, 12, 14, 7, 0), On(2026, 12, 14, 7, 0),
       On(2026, 12, 15, 7, 0)},
      // Three days missed: the first occurrence still to come, once.
      {RepeatKind::Daily, On(2026, 12, 10, 23, 30), On(2026, 12, 13, 23, 31),
       On(2026, 12, 14, 23, 30)},
      {RepeatKind::Weekdays, On(2026, 12, 10, 7, 0), On(2026, 12, 12, 9, 0),
       On(2026, 12, 14, 7, 0)},
      // Years ahead: the weekday of the series stays (2030-01-01 is a Tuesday).
      {RepeatKind::Weekly, On(2026, 12, 10, 23, 30), On(2030, 1, 1, 0, 0), On(2030, 1, 3, 23, 30)},
      // Into the day that skips 02:00 to 03:00, and out of it at 02:30 again.
      {RepeatKind::Daily, On(2027, 3, 27, 2, 30), On(2027, 3, 27, 2, 30), On(2027, 3, 28, 2, 30)},
      {RepeatKind::Daily, On(2027, 3, 28, 2, 30), On(2027, 3, 28, 3, 0), On(2027, 3, 29, 2, 30)},
      // The day whose 02:30 comes twice: performed at the first, next the day after.
      {RepeatKind::Daily, On(2027, 10, 30, 2, 30), On(2027, 10, 30, 2, 30),
       On(2027, 10, 31, 2, 30)},
      {RepeatKind::Daily, On(2027, 10, 31, 2, 30), On(2027, 10, 31, 2, 30), On(2027, 11, 1, 2, 30)},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(Text(c.occurrence) + " after " + Text(c.after));
    const std::optional<TaskRepeat> next = NextOccurrence({c.kind, c.occurrence}, c.after, europe);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->kind, c.kind);
    EXPECT_EQ(Text(next->occurrence), Text(c.next));
  }
  EXPECT_FALSE(NextOccurrence({}, On(2026, 12, 10, 0, 0), europe));
}

TEST(FirstOccurrence, StartsAtTheEnteredMomentOrTheSeriesNextOne) {
  const FakeTimeZone europe;
  const DateTime now = On(2026, 12, 10, 9, 0);  // a Thursday
  struct Case {
    RepeatKind kind;
    DateTime entered;
    DateTime first;
  };
  const Case kCases[] = {
      {RepeatKind::Daily, On(2026, 12, 10, 9, 30), On(2026, 12, 10, 9, 30)},
      {RepeatKind::Daily, On(2026, 12, 10, 9, 0), On(2026, 12, 10, 9, 0)},
      {RepeatKind::Daily, On(2026, 12, 10, 8, 0), On(2026, 12, 11, 8, 0)},
      {RepeatKind::Daily, On(2026, 12, 1, 8, 0), On(2026, 12, 11, 8, 0)},
      {RepeatKind::Weekly, On(2026, 12, 10, 8, 0), On(2026, 12, 17, 8, 0)},
      {RepeatKind::Weekdays, On(2026, 12, 12, 8, 0), On(2026, 12, 14, 8, 0)},  // a Saturday
      {RepeatKind::Weekdays, On(2026, 12, 11, 8, 0), On(2026, 12, 11, 8, 0)},
      {RepeatKind::Daily, On(2027, 3, 28, 2, 30), On(2027, 3, 28, 2, 30)},  // due at 03:00
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(Text(c.entered));
    const TaskRepeat first = FirstOccurrence(c.kind, c.entered, now, europe);
    EXPECT_EQ(first.kind, c.kind);
    EXPECT_EQ(Text(first.occurrence), Text(c.first));
  }
}

TEST(RepeatText, NamesTheDaysAndTheTimeOfDay) {
  struct Case {
    TaskRepeat repeat;
    const char* text;
  };
  const Case kCases[] = {
      {{RepeatKind::None, On(2026, 12, 10, 23, 30)}, ""},
      {{RepeatKind::Daily, On(2026, 12, 10, 23, 30)}, "每天 23:30"},
      {{RepeatKind::Weekdays, On(2026, 12, 10, 7, 5)}, "工作日 7:05"},
      {{RepeatKind::Weekly, On(2026, 12, 11, 23, 30, 15)}, "每周五 23:30:15"},
      {{RepeatKind::Weekly, On(2026, 12, 13, 0, 0)}, "每周日 0:00"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(RepeatText(c.repeat), c.text);
  }
}
