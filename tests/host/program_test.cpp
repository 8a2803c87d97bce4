#include "main/program.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"
#include "tests/host/running_program.h"

// The whole program on the fake platform, driven second by second through its
// controls; what it did shows in what the fake system recorded.
class ProgramTest : public testing::Test {
 protected:
  ProgramTest() : platform(At(14, 0, 0, 10)), program(platform.Set(), kTestUpdateHost) {
    program.Start();
  }

  void Tick() {
    platform.clock.AdvanceSeconds(1);
    program.Form1.TimerNow.Fire();
  }

  void EnterCountdownOfOneMinute(TaskKind kind, const std::string& param = "") {
    TForm1& f = program.Form1;
    f.RadioGroup1.UserSelect(1);
    f.bsSkinComboBox1.UserSelect(0);  // minutes
    f.bsSkinSpinEdit1.UserSetValue(1);
    f.RadioGroup2.UserSelect(static_cast<int>(kind));
    if (!param.empty()) f.EditInfo.UserEdit(param);
    f.ButtonAdd.UserClick();
  }

  FakePlatform platform;
  Program program;
};

TEST_F(ProgramTest, AOneMinuteCountdownRunsDownToItsDueTick) {
  TForm1& f = program.Form1;
  Tick();
  EXPECT_EQ(f.Title.Text(), "你还没有添加定时任务。     ");

  EnterCountdownOfOneMinute(TaskKind::Restart);
  ASSERT_EQ(f.TaskList.Rows().size(), 1u);

  for (int seconds = 59; seconds >= 0; --seconds) {
    Tick();
    ASSERT_EQ(f.Title.Text(), std::to_string(seconds) + "秒后重启电脑。     ");
    ASSERT_EQ(platform.power.calls.empty(), seconds > 0) << seconds;
  }
  EXPECT_EQ(platform.power.calls, (std::vector<std::string>{"privilege", "exit 6 2147483648"}));
  ASSERT_EQ(platform.notificationArea.balloons.size(), 1u);
  EXPECT_EQ(platform.notificationArea.balloons[0].text, "你的计算机将在30秒后重启。");
  EXPECT_TRUE(f.Tasks().Queue().Empty());
  EXPECT_TRUE(f.TaskList.Rows().empty());
  EXPECT_EQ(f.LabelNow.Text(), "2026/12/10 14:01:01");

  Tick();
  EXPECT_EQ(f.Title.Text(), "你还没有添加定时任务。     ");
  EXPECT_EQ(platform.power.calls.size(), 2u);
}

TEST_F(ProgramTest, TwoTasksInTheSameSecondAreBothPerformed) {
  EnterCountdownOfOneMinute(TaskKind::OpenWebPage, "http://a.invalid/");
  EnterCountdownOfOneMinute(TaskKind::OpenProgram, "C:\\x.exe");
  for (int i = 0; i < 60; ++i) Tick();
  ASSERT_EQ(platform.shell.launches.size(), 2u);
  EXPECT_EQ(platform.shell.launches[0].file, "http://a.invalid/");
  EXPECT_EQ(platform.shell.launches[1].file, "C:\\x.exe");
  EXPECT_TRUE(program.Form1.Tasks().Queue().Empty());
}

TEST_F(ProgramTest, ATickInsideATickDoesNothing) {
  TForm1& f = program.Form1;
  EnterCountdownOfOneMinute(TaskKind::OpenProgram, "C:\\x.exe");
  // The shell dispatches messages while it starts the program, and the timer
  // fires inside it.
  platform.shell.whileLaunching = [&] { f.TimerNowTimer(); };
  for (int i = 0; i < 60; ++i) Tick();
  EXPECT_EQ(platform.shell.launches.size(), 1u);
  EXPECT_TRUE(f.Tasks().Queue().Empty());
}

// The European zone of the fake: 02:00 skips to 03:00 on 2026-03-29, and
// 03:00 goes back to 02:00 on 2026-10-25. The fake clock shows what the wall
// clock shows, second by second of elapsed time.
TEST_F(ProgramTest, ACountdownRunsItsHoursOfElapsedTimeAcrossAClockChange) {
  struct Case {
    const char* what;
    DateTime start;
    int hours;
    DateTime change;  // the wall clock just before it
    int shiftSeconds;
    int secondsToPerform;
    DateTime performedAt;
  };
  const Case kCases[] = {
      {"over the skipped hour", At(1, 30, 0, 29, 3), 1, At(2, 0, 0, 29, 3), 3600, 3600,
       At(3, 30, 0, 29, 3)},
      {"into the first of an hour that comes twice", At(1, 30, 0, 25, 10), 1, At(3, 0, 0, 25, 10),
       -3600, 3600, At(2, 30, 0, 25, 10)},
      // The second 02:30 cannot be told from the first: the end of that hour.
      {"into the second", At(1, 30, 0, 25, 10), 2, At(3, 0, 0, 25, 10), -3600, 9000,
       At(3, 0, 0, 25, 10)},
  };
  TForm1& f = program.Form1;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    platform.shell.launches.clear();
    platform.notificationArea.balloons.clear();
    platform.clock.Set(c.start);
    f.RadioGroup1.UserSelect(1);
    f.bsSkinComboBox1.UserSelect(1);  // hours
    f.bsSkinSpinEdit1.UserSetValue(c.hours);
    f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::OpenWebPage));
    f.EditInfo.UserEdit("http://a.invalid/");
    f.ButtonAdd.UserClick();
    const auto secondsToChange = WholeSecondsApart(c.change, c.start);
    int elapsed = 0;
    while (platform.shell.launches.empty() && elapsed < 4 * 3600) {
      ++elapsed;
      // Set, not added up: hours of added seconds drift by a millisecond.
      const int shift = elapsed >= secondsToChange ? c.shiftSeconds : 0;
      platform.clock.Set(c.start + (elapsed + shift) / kSecondsPerDay);
      f.TimerNow.Fire();
    }
    EXPECT_EQ(elapsed, c.secondsToPerform);
    EXPECT_EQ(CompareDateTime(platform.clock.Now(), c.performedAt), 0);
    EXPECT_EQ(platform.shell.launches.size(), 1u);
    // Nothing was missed on the way.
    EXPECT_TRUE(platform.notificationArea.balloons.empty());
    EXPECT_TRUE(f.Tasks().Queue().Empty());
  }
}

TEST_F(ProgramTest, ASleepHasLeftTheSavedListAndTheWakeTimerByTheTimeTheComputerSleeps) {
  TForm1& f = program.Form1;
  EnterCountdownOfOneMinute(TaskKind::Sleep);
  RunningProgram::EnterOnPanel(f, At(14, 30, 0), TaskKind::Alarm, "喝水");
  const std::string list = platform.profileFiles.appData + "\\Dusk\\tasks.txt";
  ASSERT_NE(platform.profileFiles.contents.at(list).find("sleep|"), std::string::npos);
  // The system's Suspend returns only after the wake.
  std::string savedWhileAsleep;
  DateTime wakeWhileAsleep = 0;
  platform.power.whileAsleep = [&] {
    savedWhileAsleep = platform.profileFiles.contents.at(list);
    wakeWhileAsleep = platform.powerRequests.armedFor.back();
  };
  for (int i = 0; i < 60; ++i) Tick();
  ASSERT_EQ(platform.power.calls, (std::vector<std::string>{"privilege", "suspend"}));
  EXPECT_EQ(savedWhileAsleep.find("sleep|"), std::string::npos) << savedWhileAsleep;
  EXPECT_NE(savedWhileAsleep.find("alarm|"), std::string::npos) << savedWhileAsleep;
  // Woken a minute before the alarm, not for the sleep's own moment, gone by.
  EXPECT_EQ(CompareDateTime(wakeWhileAsleep, At(14, 29, 0)), 0);
  EXPECT_EQ(f.TaskList.Rows().size(), 1u);
}

TEST_F(ProgramTest, AListNotSavedYetIsSavedWhenTheSessionEnds) {
  const std::string list = platform.profileFiles.appData + "\\Dusk\\tasks.txt";
  platform.profileFiles.failing = {{"flush", 112}};  // the disk was full
  EnterCountdownOfOneMinute(TaskKind::Alarm, "下班");
  EXPECT_FALSE(platform.profileFiles.contents.contains(list));
  platform.profileFiles.failing.clear();

  // The session ends: the window is not closed, and nothing changes the list any more.
  program.Form1.Form1.SessionEnding();
  ASSERT_TRUE(platform.profileFiles.contents.contains(list));
  EXPECT_NE(platform.profileFiles.contents.at(list).find("下班"), std::string::npos);
  EXPECT_EQ(platform.windowSystem.terminations, 0);
}
