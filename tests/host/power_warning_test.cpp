#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/program.h"
#include "scheduler/moment_text.h"
#include "tests/fakes/fake_mirrors.h"
#include "tests/fakes/fake_platform.h"
#include "tests/host/running_program.h"

// The warning window before a shut-down, restart or log-off, driven through
// the program's own controls on the fake clock.
namespace {

DateTime Later(double seconds) { return At(14, 0, 0) + seconds / kSecondsPerDay; }

class PowerWarningTest : public testing::Test {
 protected:
  PowerWarningTest() : platform(At(14, 0, 0)), program(WithWindows(), kTestUpdateHost) {
    program.Start();
  }

  PlatformSet WithWindows() {
    PlatformSet set = platform.Set();
    set.mirrors = &windows;
    return set;
  }

  void EnterAt(DateTime when, TaskKind kind, const std::string& param = "") {
    RunningProgram::EnterOnPanel(f, when, kind, param);
  }

  void TickTo(DateTime moment) {
    while (platform.clock.Now() < moment - 0.5 / kSecondsPerDay) {
      platform.clock.AdvanceSeconds(1);
      f.TimerNow.Fire();
    }
  }

  [[nodiscard]] std::vector<std::string> Rows() const {
    std::vector<std::string> captions;
    for (const auto& row : f.TaskList.Rows()) captions.push_back(row.caption);
    return captions;
  }

  [[nodiscard]] std::size_t ShutDowns() const {
    std::size_t count = 0;
    for (const auto& call : platform.power.calls) count += call == "exit 21 2147483648";
    return count;
  }

  FakePlatform platform;
  FakeMirrorFactory windows;
  Program program;
  TForm1& f = program.Form1;
  TForm4& warning = program.WarnForm;
};

}  // namespace

TEST_F(PowerWarningTest, OpensAtHalfAMinuteAndCountsDownToThePerformance) {
  EnterAt(Later(60), TaskKind::TurnOff);
  TickTo(Later(29));
  EXPECT_FALSE(warning.Showing());

  TickTo(Later(30));
  ASSERT_TRUE(warning.Showing());
  EXPECT_EQ(warning.WarnForm.FrameKind(), Form::Frame::Alert);
  EXPECT_EQ(warning.WarnForm.Text(), "Lumo定时关机");
  EXPECT_EQ(windows.alertsShown, 1);
  EXPECT_EQ(windows.lastAlertShown, "WarnForm");
  EXPECT_EQ(windows.taskbarFlashes, 1);
  EXPECT_EQ(platform.sound.calls, std::vector<std::string>{"C:\\Program Files\\Dusk\\warn.wav 17"});
  EXPECT_EQ(warning.LabelWarnTask.Text(), "关机：2026/12/10 14:01:00");
  EXPECT_EQ(warning.LabelCountdown.Text(), "30秒后关机。");
  ASSERT_EQ(platform.notificationArea.balloons.size(), 1u);  // the balloon stays
  EXPECT_EQ(platform.notificationArea.balloons[0].text, "你的计算机将在30秒后关机。");

  for (int second = 31; second < 60; ++second) {
    TickTo(Later(second));
    ASSERT_EQ(warning.LabelCountdown.Text(), std::to_string(60 - second) + "秒后关机。");
  }
  EXPECT_EQ(ShutDowns(), 0u);
  TickTo(Later(60));
  EXPECT_FALSE(warning.Showing());
  EXPECT_EQ(ShutDowns(), 1u);
  TickTo(Later(90));
  EXPECT_EQ(ShutDowns(), 1u);
  // Opened once: one sound, one flash.
  EXPECT_EQ(platform.sound.calls.size(), 1u);
  EXPECT_EQ(windows.taskbarFlashes, 1);
}

TEST_F(PowerWarningTest, APostponedTaskMovesInTheListAndIsWarnedOfAgain) {
  for (const int minutes : {5, 30}) {
    SCOPED_TRACE(minutes);
    const DateTime start = platform.clock.Now();
    const auto at = [&](double seconds) { return start + seconds / kSecondsPerDay; };
    EnterAt(at(60), TaskKind::Restart);
    EnterAt(at(240), TaskKind::Alarm, "tea");
    TickTo(at(35));
    ASSERT_TRUE(warning.Showing());

    (minutes == 5 ? warning.ButtonPostpone5 : warning.ButtonPostpone30).UserClick();
    EXPECT_FALSE(warning.Showing());
    const DateTime postponed = at(35 + minutes * 60);
    ASSERT_EQ(f.Tasks().Queue().Count(), 2u);
    EXPECT_EQ(f.Tasks().Queue().Head().Kind, TaskKind::Alarm);
    EXPECT_EQ(WholeSecondsApart(f.Tasks().Queue().At(1).When, postponed), 0);
    EXPECT_EQ(Rows().back(), TaskRowCaption(f.Tasks().Queue().At(1), platform.clock));
    EXPECT_EQ(f.Title.Text(), "3分钟后闹钟响起。     ");

    TickTo(at(60));
    EXPECT_TRUE(platform.power.calls.empty());
    program.TipForm.bsSkinButton1.UserClick();
    TickTo(postponed - 31.0 / kSecondsPerDay);
    EXPECT_FALSE(warning.Showing());
    TickTo(postponed - 30.0 / kSecondsPerDay);
    ASSERT_TRUE(warning.Showing());
    EXPECT_EQ(warning.LabelCountdown.Text(), "30秒后重启电脑。");
    TickTo(postponed);
    EXPECT_EQ(platform.power.calls, (std::vector<std::string>{"privilege", "exit 6 2147483648"}));
    EXPECT_TRUE(f.Tasks().Queue().Empty());
    platform.ForgetCalls();
  }
}

TEST_F(PowerWarningTest, CancelRemovesTheTaskAndRunNowPerformsItOnce) {
  EnterAt(Later(60), TaskKind::TurnOff);
  TickTo(Later(40));
  warning.ButtonCancelTask.UserClick();
  EXPECT_FALSE(warning.Showing());
  EXPECT_TRUE(f.Tasks().Queue().Empty());
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(f.Title.Text(), "你还没有添加定时任务。     ");
  TickTo(Later(70));
  EXPECT_TRUE(platform.power.calls.empty());

  EnterAt(Later(100), TaskKind::LogOff);
  TickTo(Later(75));
  ASSERT_TRUE(warning.Showing());
  warning.ButtonRunNow.UserClick();
  EXPECT_FALSE(warning.Showing());
  EXPECT_EQ(platform.power.calls, std::vector<std::string>{"exit 0 2147483648"});
  EXPECT_TRUE(f.Tasks().Queue().Empty());
  TickTo(Later(110));
  EXPECT_EQ(platform.power.calls.size(), 1u);
}

TEST_F(PowerWarningTest, ATaskEnteredWithLessThanHalfAMinuteLeftIsWarnedOfAtOnce) {
  EnterAt(Later(20), TaskKind::TurnOff);
  ASSERT_TRUE(warning.Showing());
  EXPECT_EQ(warning.LabelCountdown.Text(), "20秒后关机。");
  TickTo(Later(20));
  EXPECT_EQ(ShutDowns(), 1u);
}

TEST_F(PowerWarningTest, TheWindowFollowsTheQueue) {
  EnterAt(Later(50), TaskKind::TurnOff);
  EnterAt(Later(52), TaskKind::Restart);
  TickTo(Later(25));
  EXPECT_EQ(warning.LabelWarnTask.Text(), "关机：2026/12/10 14:00:50");

  // The row of the task shown is deleted: the next power task takes its place.
  f.TaskList.UserSelect(0);
  f.N1Click();
  ASSERT_TRUE(warning.Showing());
  EXPECT_EQ(warning.LabelWarnTask.Text(), "重启电脑：2026/12/10 14:00:52");
  EXPECT_EQ(warning.LabelCountdown.Text(), "27秒后重启电脑。");

  // Closed by the user: not shown again for that task, which is still performed.
  warning.WarnForm.UserClose();
  TickTo(Later(40));
  EXPECT_FALSE(warning.Showing());
  TickTo(Later(52));
  EXPECT_EQ(platform.power.calls, (std::vector<std::string>{"privilege", "exit 6 2147483648"}));
}

TEST_F(PowerWarningTest, APowerTaskFoundLateAfterSleepIsWarnedOfFirst) {
  // At most a minute late (later, it is missed): postponed on waking, it waits
  // for its new moment; otherwise it runs half a minute after the wake.
  for (const bool postpone : {false, true}) {
    SCOPED_TRACE(postpone ? "postponed" : "left alone");
    const DateTime start = platform.clock.Now();
    const auto at = [&](double seconds) { return start + seconds / kSecondsPerDay; };
    EnterAt(at(600), TaskKind::TurnOff);
    platform.clock.Set(at(600 + 40));
    f.Form1.SystemResumed();
    EXPECT_TRUE(platform.power.calls.empty());
    ASSERT_TRUE(warning.Showing());
    EXPECT_EQ(warning.LabelCountdown.Text(), "30秒后关机。");
    if (postpone) warning.ButtonPostpone5.UserClick();
    TickTo(at(600 + 40 + 30));
    EXPECT_EQ(ShutDowns(), postpone ? 0u : 1u);
    if (postpone) {
      TickTo(at(600 + 40 + 300));
      EXPECT_EQ(ShutDowns(), 1u);
    }
    EXPECT_TRUE(f.Tasks().Queue().Empty());
    platform.ForgetCalls();
  }
}

// The window's buttons act on the occurrence it shows: a daily sleep
// cancelled, run now or postponed comes back the next day at its own time.
TEST_F(PowerWarningTest, EachButtonEndsOrMovesOnlyTheOccurrenceOfASeries) {
  f.ComboBoxRepeat.UserSelect(1);
  EnterAt(Later(60), TaskKind::Sleep);
  ASSERT_EQ(Rows(), std::vector<std::string>{"睡眠：每天 14:01\r\n2026/12/10 14:01:00"});
  TickTo(Later(30));
  ASSERT_TRUE(warning.Showing());
  warning.ButtonCancelTask.UserClick();
  EXPECT_EQ(Rows(), std::vector<std::string>{"睡眠：每天 14:01\r\n2026/12/11 14:01:00"});

  TickTo(At(14, 0, 30, 11));
  ASSERT_TRUE(warning.Showing());
  warning.ButtonRunNow.UserClick();
  EXPECT_EQ(platform.power.calls, (std::vector<std::string>{"privilege", "suspend"}));
  EXPECT_EQ(Rows(), std::vector<std::string>{"睡眠：每天 14:01\r\n2026/12/12 14:01:00"});

  TickTo(At(14, 0, 30, 12));
  ASSERT_TRUE(warning.Showing());
  f.ButtonPostponeClick(5);
  EXPECT_EQ(Rows(), std::vector<std::string>{"睡眠：每天 14:01\r\n2026/12/12 14:05:30"});
  TickTo(At(14, 5, 30, 12));
  EXPECT_EQ(platform.power.calls.size(), 4u);
  EXPECT_EQ(Rows(), std::vector<std::string>{"睡眠：每天 14:01\r\n2026/12/13 14:01:00"});
}

// The minutes of a postponement are elapsed time: five minutes from 01:58:35,
// when 02:00 skips to 03:00 (the fake zone, 2026-03-29), are 03:03:35.
TEST_F(PowerWarningTest, APostponementOverTheSkippedHourIsItsMinutesOfElapsedTime) {
  platform.clock.Set(At(1, 58, 0, 29, 3));
  EnterAt(At(1, 59, 0, 29, 3), TaskKind::TurnOff);
  TickTo(At(1, 58, 35, 29, 3));
  ASSERT_TRUE(warning.Showing());
  warning.ButtonPostpone5.UserClick();
  ASSERT_EQ(f.Tasks().Queue().Count(), 1u);
  EXPECT_EQ(CompareDateTime(f.Tasks().Queue().Head().When, At(3, 3, 35, 29, 3)), 0)
      << MomentText(platform.clock, f.Tasks().Queue().Head().When);
}

TEST_F(PowerWarningTest, NamesWhatAnExitWillCloseAndFollowsTheProgramsWhileItShows) {
  platform.processes.processes = {{30, "notepad.exe", "C:\\Windows\\notepad.exe"},
                                  {40, "winword.exe", "C:\\Office\\winword.exe"}};
  platform.processes.windows = {{3, 30, "无标题 - 记事本"}, {4, 40, "报告.docx - Word"}};
  EnterAt(Later(60), TaskKind::TurnOff);
  TickTo(Later(30));
  ASSERT_TRUE(warning.Showing());
  EXPECT_EQ(warning.LabelClosingPrograms.Text(),
            "将关闭且不保存：无标题 - 记事本、报告.docx - Word");

  // Another program opens, then the user closes one: the line follows.
  platform.processes.processes.push_back({50, "mspaint.exe", "C:\\Windows\\mspaint.exe"});
  platform.processes.windows.push_back({5, 50, ""});
  TickTo(Later(31));
  EXPECT_EQ(warning.LabelClosingPrograms.Text(),
            "将关闭且不保存：无标题 - 记事本、报告.docx - Word 等 3 个程序");
  platform.processes.windows.erase(platform.processes.windows.begin());
  ASSERT_TRUE(RunningProgram::ChooseFromTrayMenu(platform, "让程序自己决定"));
  TickTo(Later(32));
  EXPECT_EQ(warning.LabelClosingPrograms.Text(), "将关闭：报告.docx - Word、mspaint.exe");
  TickTo(Later(60));

  // Sleep closes nothing: the programs wait for the wake.
  EnterAt(Later(120), TaskKind::Sleep);
  TickTo(Later(95));
  ASSERT_TRUE(warning.Showing());
  EXPECT_EQ(warning.LabelClosingPrograms.Text(), "");
}
