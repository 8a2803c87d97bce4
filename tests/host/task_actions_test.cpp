#include <gtest/gtest.h>

#include "main/program.h"
#include "tests/fakes/fake_platform.h"

namespace {

// The real program with its own actions, on the fake platform.
class TaskActionsTest : public testing::Test {
 protected:
  TaskActionsTest()
      : platform(At(14, 0, 0)), program(platform.Set(), kTestUpdateHost), f(program.Form1) {
    program.Start();
  }

  void AddIn(int seconds, TaskKind kind, std::string param = "") {
    f.Tasks().Add({platform.clock.Now() + seconds / kSecondsPerDay, kind, std::move(param)});
  }
  void TickTo(DateTime moment) {
    while (platform.clock.Now() < moment - 0.5 / kSecondsPerDay) {
      platform.clock.AdvanceSeconds(1);
      f.TimerNow.Fire();
    }
  }

  FakePlatform platform;
  Program program;
  TForm1& f;
};

}  // namespace

TEST_F(TaskActionsTest, EachKindWarnsAndActsAsItShould) {
  struct Case {
    TaskKind kind;
    const char* param;
    const char* warning;  // nullptr: no balloon 30 seconds before
    std::vector<std::string> power;
    std::vector<std::string> sound;
    int launches;
    bool alarmWindow;
  };
  const Case kCases[] = {
      {TaskKind::TurnOff,
       "",
       "你的计算机将在30秒后关机。",
       {"privilege", "exit 21 0"},
       {},
       0,
       false},
      {TaskKind::Restart,
       "",
       "你的计算机将在30秒后重启。",
       {"privilege", "exit 6 0"},
       {},
       0,
       false},
      {TaskKind::LogOff, "", "你的计算机将在30秒后注销。", {"exit 0 0"}, {}, 0, false},
      {TaskKind::Alarm, "喝水", nullptr, {}, {"C:\\Dusk\\clock\\1.wav 9"}, 0, true},
      {TaskKind::OpenProgram, "C:\\a b\\c.exe -x", nullptr, {}, {}, 1, false},
      {TaskKind::CloseProgram, "notepad.exe", nullptr, {}, {}, 0, false},
      {TaskKind::OpenWebPage, "http://example.invalid/", nullptr, {}, {}, 1, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    FakePlatform p(At(14, 0, 0));
    p.files.programFilePath = "C:\\Dusk\\Dusk.exe";
    Program program(p.Set(), kTestUpdateHost);
    program.Start();
    const DateTime due = At(14, 1, 0);
    program.Form1.Tasks().Add({due, c.kind, c.param});
    while (p.clock.Now() < due - 30.5 / kSecondsPerDay) {
      p.clock.AdvanceSeconds(1);
      program.Form1.TimerNow.Fire();
    }
    if (c.warning) {
      ASSERT_EQ(p.notificationArea.balloons.size(), 1u);
      EXPECT_EQ(p.notificationArea.balloons[0].title, "Lumo定时关机：");
      EXPECT_EQ(p.notificationArea.balloons[0].text, c.warning);
    } else {
      EXPECT_TRUE(p.notificationArea.balloons.empty());
    }
    EXPECT_TRUE(p.power.calls.empty());
    while (p.clock.Now() < due - 0.5 / kSecondsPerDay) {
      p.clock.AdvanceSeconds(1);
      program.Form1.TimerNow.Fire();
    }
    EXPECT_EQ(p.power.calls, c.power);
    EXPECT_EQ(p.sound.calls, c.sound);
    ASSERT_EQ(static_cast<int>(p.shell.launches.size()), c.launches);
    if (c.launches) {
      const Shell::Launch& launch = p.shell.launches[0];
      EXPECT_EQ(launch.file, c.param);  // whole: no arguments split off
      EXPECT_EQ(launch.verb, std::nullopt);
      EXPECT_EQ(launch.parameters, std::nullopt);
      EXPECT_EQ(launch.directory, std::nullopt);
      EXPECT_EQ(launch.showCommand, 1);
    }
    EXPECT_EQ(program.TipForm.Showing(), c.alarmWindow);
    if (c.alarmWindow) {
      EXPECT_EQ(program.TipForm.Label2.Text(), c.param);
      EXPECT_EQ(p.notificationArea.balloons.back().title, "设定的时间到了：");
      EXPECT_EQ(p.notificationArea.balloons.back().text, c.param);
    }
    EXPECT_TRUE(program.Form1.Tasks().Queue().Empty());
  }
}

TEST_F(TaskActionsTest, APowerTaskHeadingTheQueueLateGetsNoWarning) {
  AddIn(20, TaskKind::TurnOff);
  TickTo(At(14, 0, 20));
  EXPECT_TRUE(platform.notificationArea.balloons.empty());
  EXPECT_EQ(platform.power.calls, (std::vector<std::string>{"privilege", "exit 21 0"}));
}

TEST_F(TaskActionsTest, ASecondAlarmStartsTheSoundAgainAndReplacesBalloonAndText) {
  AddIn(5, TaskKind::Alarm, "first");
  AddIn(10, TaskKind::Alarm, "second");
  TickTo(At(14, 0, 10));
  const std::string alarm = "C:\\Program Files\\Dusk\\clock\\1.wav 9";
  EXPECT_EQ(platform.sound.calls, (std::vector<std::string>{alarm, alarm}));
  EXPECT_EQ(platform.notificationArea.balloons.back().text, "second");
  EXPECT_EQ(program.TipForm.Label2.Text(), "second");
  EXPECT_TRUE(program.TipForm.TipForm.Visible());
}

TEST_F(TaskActionsTest, AnAlarmWithoutTextShowsNoBalloonButEverythingElse) {
  AddIn(5, TaskKind::Alarm, "");
  f.Form1.UserMinimize();
  TickTo(At(14, 0, 5));
  EXPECT_TRUE(platform.notificationArea.balloons.empty());
  EXPECT_EQ(platform.sound.calls.size(), 1u);
  EXPECT_EQ(program.TipForm.Label2.Text(), "");
  EXPECT_TRUE(f.Form1.Visible());
  EXPECT_TRUE(program.TipForm.TipForm.Visible());
}

TEST_F(TaskActionsTest, OnlyTheAlarmBalloonSilencesTheAlarm) {
  platform.notificationArea.events->TrayBalloonClicked();  // nothing shown, empty queue
  AddIn(31, TaskKind::TurnOff);
  TickTo(At(14, 0, 1));
  platform.notificationArea.events->TrayBalloonClicked();  // the 30-second warning
  EXPECT_TRUE(platform.sound.calls.empty());

  AddIn(5, TaskKind::Alarm, "tea");
  TickTo(At(14, 0, 6));
  platform.notificationArea.events->TrayBalloonClicked();
  EXPECT_EQ(platform.sound.calls.back(), "stop");
  EXPECT_TRUE(program.TipForm.Showing());  // the window stays until its button
  EXPECT_EQ(f.Tasks().Queue().Count(), 1u);
}

TEST_F(TaskActionsTest, TheAlarmWindowStandsBesideTheMainWindowAndComesBackInFront) {
  f.Form1.UserMoved({100, 50, 780, 550});
  AddIn(2, TaskKind::Alarm, "x");
  TickTo(At(14, 0, 2));
  EXPECT_EQ(program.TipForm.TipForm.Left(), 240);
  EXPECT_EQ(program.TipForm.TipForm.Top(), 190);

  // Moved away, it stays; activating the main window puts it back beside it.
  f.Form1.UserMoved({300, 100, 780, 550});
  EXPECT_EQ(program.TipForm.TipForm.Left(), 240);
  f.Form1.UserActivate();
  EXPECT_EQ(program.TipForm.TipForm.Left(), 440);
  EXPECT_EQ(program.TipForm.TipForm.Top(), 240);

  // To the tray and back with a click on the icon.
  f.Form1.UserMinimize();
  EXPECT_FALSE(program.TipForm.TipForm.Visible());
  EXPECT_TRUE(program.TipForm.Showing());
  f.TrayClick();
  EXPECT_TRUE(f.Form1.Visible());
  EXPECT_TRUE(program.TipForm.TipForm.Visible());

  program.TipForm.bsSkinButton1.UserClick();
  EXPECT_EQ(platform.sound.calls.back(), "x.wav 1");
  EXPECT_FALSE(program.TipForm.Showing());
  f.Form1.UserActivate();
  EXPECT_FALSE(program.TipForm.TipForm.Visible());
}
