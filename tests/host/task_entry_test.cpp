#include "main/task_entry.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"

TEST(TaskEntry, CountdownsLandOnTheMinuteScale) {
  const DateTime now = At(14, 0, 0);
  struct Case {
    int count;
    int unit;
    double minutes;
  };
  static const Case kCases[] = {
      {30, kUnitMinutes, 30},       {1, kUnitHours, 60}, {1, kUnitDays, 1440},
      {1000000, kUnitDays, 1.44e9}, {5, -1, 5},          {5, 7, 5},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.count << " x unit " << c.unit);
    const DateTime due = CountdownDueMoment(now, c.count, c.unit, FakeTimeZone());
    EXPECT_NEAR((due - now) * kMinutesPerDay, c.minutes, 1e-3);
  }
  EXPECT_EQ(CountForUnit(kUnitMinutes), 30);
  EXPECT_EQ(CountForUnit(kUnitHours), 1);
  EXPECT_EQ(CountForUnit(kUnitDays), 1);
}

TEST(TaskEntry, AMomentIsPastOnlyAMillisecondOrMoreAgo) {
  const DateTime now = At(14, 0, 0) + 0.4 / 86'400'000.0;
  EXPECT_TRUE(IsPastMoment(EnteredMoment(At(0, 0, 0), 13 * 3600 + 59 * 60 + 59), now));
  EXPECT_FALSE(IsPastMoment(EnteredMoment(At(0, 0, 0), 14 * 3600), now));
  EXPECT_FALSE(IsPastMoment(EnteredMoment(At(0, 0, 0), 14 * 3600 + 1), now));
  // Started at 23:50 the default time is 00:10:00 of the same day: past.
  EXPECT_TRUE(IsPastMoment(EnteredMoment(At(23, 50, 0), 10 * 60), At(23, 50, 0)));
  EXPECT_FALSE(IsPastMoment(EnteredMoment(At(0, 0, 0, 11), 10 * 60), At(23, 50, 0)));
}

TEST(TaskEntry, CloseProgramTakesTheImageNameOfThePickedEntry) {
  struct Case {
    const char* picked;
    const char* param;
  };
  static const Case kCases[] = {
      {"无标题 - 记事本|notepad.exe", "notepad.exe"},
      {"notepad.exe", "notepad.exe"},
      {"a|b - 标题|app.exe", "app.exe"},  // a title holding "|"
      {"亅|x.exe", "x.exe"},              // 亅 was "|" in its second byte in GBK
      {"亅y.exe", "亅y.exe"},
      {"", ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.picked);
    EXPECT_EQ(CloseProgramParam(c.picked), c.param);
  }
}

TEST(TaskEntry, OnlyExeFilesAreProgramsWhateverTheirCase) {
  EXPECT_TRUE(HasProgramExtension("C:\\a b\\run.exe"));
  EXPECT_TRUE(HasProgramExtension("C:\\RUN.EXE"));
  EXPECT_TRUE(HasProgramExtension("x.ExE"));
  EXPECT_FALSE(HasProgramExtension("C:\\notes.txt"));
  EXPECT_FALSE(HasProgramExtension("C:\\dir.exe\\file"));
  EXPECT_FALSE(HasProgramExtension("C:\\run.exe.lnk"));
  EXPECT_FALSE(HasProgramExtension("exe"));
}
