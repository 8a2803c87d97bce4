#include <gtest/gtest.h>

#include <functional>

#include "language/language.h"
#include "main/program.h"
#include "tests/fakes/fake_platform.h"
#include "tests/host/running_program.h"

namespace {

// The real program with its own actions, on the fake platform.
class TaskActionsTest : public testing::Test {
 protected:
  TaskActionsTest()
      : platform(At(14, 0, 0)), program(platform.Set(), kTestUpdateHost), f(program.Form1) {
    platform.files.contents["C:\\Program Files\\Dusk\\clock\\1.wav"] = "wave";
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
      // The warning window plays its sound as it opens, with the balloon.
      {TaskKind::TurnOff,
       "",
       "你的计算机将在30秒后关机。",
       {"privilege", "exit 21 2147483648"},
       {"C:\\Dusk\\warn.wav 17"},
       0,
       false},
      {TaskKind::Restart,
       "",
       "你的计算机将在30秒后重启。",
       {"privilege", "exit 6 2147483648"},
       {"C:\\Dusk\\warn.wav 17"},
       0,
       false},
      {TaskKind::LogOff,
       "",
       "你的计算机将在30秒后注销。",
       {"exit 0 2147483648"},
       {"C:\\Dusk\\warn.wav 17"},
       0,
       false},
      {TaskKind::Sleep,
       "",
       "你的计算机将在30秒后进入睡眠。",
       {"privilege", "suspend"},
       {"C:\\Dusk\\warn.wav 17"},
       0,
       false},
      {TaskKind::Hibernate,
       "",
       "你的计算机将在30秒后进入休眠。",
       {"privilege", "hibernate"},
       {"C:\\Dusk\\warn.wav 17"},
       0,
       false},
      // Locking and turning the screen off need no privilege, no warning and no window.
      {TaskKind::Lock, "", nullptr, {"lock"}, {}, 0, false},
      {TaskKind::ScreenOff, "", nullptr, {"screen off 0"}, {}, 0, false},
      {TaskKind::Alarm, "喝水", nullptr, {}, {"C:\\Dusk\\clock\\1.wav 9"}, 0, true},
      {TaskKind::OpenProgram, "C:\\a b\\c.exe -x", nullptr, {}, {}, 1, false},
      {TaskKind::CloseProgram, "notepad.exe", nullptr, {}, {}, 0, false},
      {TaskKind::OpenWebPage, "http://example.invalid/", nullptr, {}, {}, 1, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    FakePlatform p(At(14, 0, 0));
    p.files.programFilePath = "C:\\Dusk\\Dusk.exe";
    p.files.contents["C:\\Dusk\\clock\\1.wav"] = "wave";
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
  EXPECT_EQ(platform.power.calls, (std::vector<std::string>{"privilege", "exit 21 2147483648"}));
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
  EXPECT_EQ(platform.sound.calls, std::vector<std::string>{"C:\\Program Files\\Dusk\\warn.wav 17"});

  AddIn(5, TaskKind::Alarm, "tea");
  TickTo(At(14, 0, 6));
  platform.notificationArea.events->TrayBalloonClicked();
  EXPECT_EQ(platform.sound.calls.back(), "stop");
  EXPECT_TRUE(program.TipForm.Showing());  // the window stays until its button
  EXPECT_EQ(f.Tasks().Queue().Count(), 1u);
}

TEST_F(TaskActionsTest, TheAlarmBalloonSilencesTheAlarmAfterALanguageSwitchToo) {
  AddIn(5, TaskKind::Alarm, "tea");
  TickTo(At(14, 0, 5));
  SetActiveLanguage(Language::English);
  platform.notificationArea.events->TrayBalloonClicked();
  SetActiveLanguage(Language::Chinese);
  EXPECT_EQ(platform.sound.calls.back(), "stop");
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

TEST(TaskFailures, EachFailedActionIsToldWithItsReason) {
  struct Case {
    const char* what;
    TaskKind kind;
    const char* param;
    std::function<void(FakePlatform&)> fail;
    const char* title;
    const char* text;
  };
  const Case kCases[] = {
      {"the system refuses to shut down", TaskKind::TurnOff, "",
       [](FakePlatform& p) { p.power.exitAnswer = 5; }, "Lumo定时关机：",
       "未能执行的任务：关机：2026/12/10 14:01:00\r\n电脑没有关机：系统错误5。"},
      {"no shut-down privilege", TaskKind::TurnOff, "",
       [](FakePlatform& p) {
         p.power.privilegeAnswer = 1300;  // ERROR_NOT_ALL_ASSIGNED
         p.power.exitAnswer = 1314;
       },
       "Lumo定时关机：",
       "未能执行的任务：关机：2026/12/10 14:01:00\r\n电脑没有关机：系统错误1300。"},
      {"no restart", TaskKind::Restart, "", [](FakePlatform& p) { p.power.exitAnswer = 1115; },
       "Lumo定时关机：",
       "未能执行的任务：重启电脑：2026/12/10 14:01:00\r\n电脑没有重启：系统错误1115。"},
      {"no log-off", TaskKind::LogOff, "", [](FakePlatform& p) { p.power.exitAnswer = 5; },
       "Lumo定时关机：", "未能执行的任务：注销：2026/12/10 14:01:00\r\n没有注销：系统错误5。"},
      {"the system does not sleep", TaskKind::Sleep, "",
       [](FakePlatform& p) { p.power.suspendAnswer = 50; }, "Lumo定时关机：",
       "未能执行的任务：睡眠：2026/12/10 14:01:00\r\n电脑没有进入睡眠：系统错误50。"},
      {"no privilege to sleep", TaskKind::Sleep, "",
       [](FakePlatform& p) {
         p.power.privilegeAnswer = 1300;
         p.power.suspendAnswer = 1314;
       },
       "Lumo定时关机：",
       "未能执行的任务：睡眠：2026/12/10 14:01:00\r\n电脑没有进入睡眠：系统错误1300。"},
      {"the workstation does not lock", TaskKind::Lock, "",
       [](FakePlatform& p) { p.power.lockAnswer = 120; }, "Lumo定时关机：",
       "未能执行的任务：锁定：2026/12/10 14:01:00\r\n电脑没有锁定：系统错误120。"},
      {"the program is gone", TaskKind::OpenProgram, "C:\\gone.exe",
       [](FakePlatform& p) { p.shell.answer = 2; }, "Lumo定时关机：",
       "未能执行的任务：打开软件：C:\\gone.exe\r\n2026/12/10 14:01:00\r\n无法打开：系统错误2。"},
      {"no program for the address", TaskKind::OpenWebPage, "http://x.invalid/",
       [](FakePlatform& p) { p.shell.answer = 1155; }, "Lumo定时关机：",
       "未能执行的任务：打开网页：http://x.invalid/\r\n2026/12/10 14:01:00\r\n"
       "无法打开：系统错误1155。"},
      {"no process of that name runs", TaskKind::CloseProgram, "notepad.exe", [](FakePlatform&) {},
       "Lumo定时关机：",
       "未能执行的任务：关闭软件：notepad.exe\r\n2026/12/10 14:01:00\r\n"
       "没有正在运行的这个程序。"},
      {"a process refuses to end", TaskKind::CloseProgram, "notepad.exe",
       [](FakePlatform& p) {
         p.processes.processes.emplace_back(100, "notepad.exe", "C:\\notepad.exe");
         p.processes.processes.emplace_back(104, "notepad.exe", "C:\\notepad.exe");
         p.processes.processes.back().refusesToEnd = true;
       },
       "Lumo定时关机：",
       "未能执行的任务：关闭软件：notepad.exe\r\n2026/12/10 14:01:00\r\n有1个进程未能结束。"},
      // The alarm itself rings (in the system's default sound): its balloon stays
      // and the failure is told below it.
      {"the alarm's sound file is gone", TaskKind::Alarm, "喝水",
       [](FakePlatform& p) { p.files.contents.erase("C:\\Dusk\\clock\\1.wav"); },
       "设定的时间到了：",
       "喝水\r\n未能执行的任务：闹钟：喝水\r\n2026/12/10 14:01:00\r\n"
       "找不到闹钟的声音文件：C:\\Dusk\\clock\\1.wav"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    FakePlatform p(At(14, 0, 0));
    p.files.programFilePath = "C:\\Dusk\\Dusk.exe";
    p.files.contents["C:\\Dusk\\clock\\1.wav"] = "wave";
    c.fail(p);
    Program program(p.Set(), kTestUpdateHost);
    program.Start();
    program.Form1.Tasks().Add({At(14, 1, 0), c.kind, c.param});
    while (p.clock.Now() < At(14, 1, 0) - 0.5 / kSecondsPerDay) {
      p.clock.AdvanceSeconds(1);
      program.Form1.TimerNow.Fire();
    }
    ASSERT_FALSE(p.notificationArea.balloons.empty());
    EXPECT_EQ(p.notificationArea.balloons.back().title, c.title);
    EXPECT_EQ(p.notificationArea.balloons.back().text, c.text);
    // No retry: the task has left the queue.
    EXPECT_TRUE(program.Form1.Tasks().Queue().Empty());
  }
}

TEST(TaskFailures, FailuresOfOneTickShareOneBalloon) {
  FakePlatform p(At(14, 0, 0));
  p.shell.answer = 2;
  Program program(p.Set(), kTestUpdateHost);
  program.Start();
  program.Form1.Tasks().Add({At(14, 0, 5), TaskKind::OpenProgram, "C:\\a.exe"});
  program.Form1.Tasks().Add({At(14, 0, 5), TaskKind::OpenProgram, "C:\\b.exe"});
  for (int i = 0; i < 5; ++i) {
    p.clock.AdvanceSeconds(1);
    program.Form1.TimerNow.Fire();
  }
  ASSERT_EQ(p.notificationArea.balloons.size(), 1u);
  EXPECT_EQ(
      p.notificationArea.balloons[0].text,
      "未能执行的2个任务：\r\n打开软件：C:\\a.exe\r\n2026/12/10 14:00:05\r\n无法打开：系统错误2。"
      "\r\n打开软件：C:\\b.exe\r\n2026/12/10 14:00:05\r\n无法打开：系统错误2。");
}

TEST_F(TaskActionsTest, AnExitClosesProgramsAsTheTrayMenuSaysAndRemembersIt) {
  struct Case {
    const char* method;  // the entry chosen in "关机方式"; nullptr: none chosen
    std::vector<std::string> calls;
  };
  const Case kCases[] = {
      {nullptr,
       {"privilege", "exit 21 2147483648", "privilege", "exit 6 2147483648", "exit 0 2147483648"}},
      {"关闭未响应的程序",
       {"privilege", "exit 17 2147483648", "privilege", "exit 18 2147483648",
        "exit 16 2147483648"}},
      {"让程序自己决定",
       {"privilege", "exit 1 2147483648", "privilege", "exit 2 2147483648", "exit 0 2147483648"}},
      {"强制关闭所有程序",
       {"privilege", "exit 21 2147483648", "privilege", "exit 6 2147483648", "exit 0 2147483648"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.method ? c.method : "none chosen");
    FakePlatform chosenIn(At(14, 0, 0));
    {
      Program before(chosenIn.Set(), kTestUpdateHost);
      before.Start();
      if (c.method) {
        ASSERT_TRUE(RunningProgram::ChooseFromTrayMenu(chosenIn, c.method));
      }
    }
    // The next start reads the choice back from the settings file.
    FakePlatform p(At(14, 0, 0));
    p.profileFiles.contents = chosenIn.profileFiles.contents;
    Program next(p.Set(), kTestUpdateHost);
    next.Start();
    for (const TaskKind kind : {TaskKind::TurnOff, TaskKind::Restart, TaskKind::LogOff}) {
      EXPECT_FALSE(next.taskActions.PerformTask({p.clock.Now(), kind}));
    }
    EXPECT_EQ(p.power.calls, c.calls);
  }
}

TEST_F(TaskActionsTest, HibernationIsGreyedWhereTheComputerCannotHibernate) {
  EXPECT_TRUE(f.RadioGroup2.ItemEnabled(static_cast<int>(TaskKind::Hibernate)));
  FakePlatform p(At(14, 0, 0));
  p.power.canHibernate = false;
  Program cannot(p.Set(), kTestUpdateHost);
  cannot.Start();
  RadioGroup& kinds = cannot.Form1.RadioGroup2;
  const int hibernate = static_cast<int>(TaskKind::Hibernate);
  EXPECT_FALSE(kinds.ItemEnabled(hibernate));
  EXPECT_EQ(kinds.ItemHint(hibernate), "这台电脑不能休眠：休眠没有开启，或没有休眠文件。");
  kinds.UserSelect(hibernate);
  EXPECT_EQ(kinds.ItemIndex(), -1);
  // The others stay as they were, each in its place.
  EXPECT_TRUE(kinds.ItemEnabled(static_cast<int>(TaskKind::Sleep)));
  const std::vector<RadioGroup::Cell> cells = kinds.Cells();
  EXPECT_EQ(cells[static_cast<std::size_t>(TaskKind::Lock)].column, 2);
  EXPECT_EQ(cells[static_cast<std::size_t>(TaskKind::Lock)].row, 2);
  EXPECT_EQ(cells[static_cast<std::size_t>(hibernate)].column, 0);
  EXPECT_EQ(cells[static_cast<std::size_t>(hibernate)].row, 3);
  EXPECT_EQ(cells[static_cast<std::size_t>(TaskKind::ScreenOff)].column, 2);
  EXPECT_EQ(cells[static_cast<std::size_t>(TaskKind::ScreenOff)].row, 3);
}

TEST_F(TaskActionsTest, FailedHibernationAndScreenOffAreToldInTheUsersWords) {
  platform.power.suspendAnswer = 5;
  platform.power.screenOffAnswer = 1400;
  EXPECT_EQ(program.taskActions.PerformTask({platform.clock.Now(), TaskKind::Hibernate}),
            "电脑没有休眠：" + platform.messages.Describe(5));
  EXPECT_EQ(program.taskActions.PerformTask({platform.clock.Now(), TaskKind::ScreenOff}),
            "显示器没有关闭：" + platform.messages.Describe(1400));
}
