#include <gtest/gtest.h>

#include "language/language.h"
#include "main/error_text.h"
#include "main/program.h"
#include "scheduler/tick.h"
#include "tests/fakes/fake_mirrors.h"
#include "tests/fakes/fake_platform.h"

namespace {

std::map<std::string, const Control*> ByName(const Control& root) {
  std::map<std::string, const Control*> found{{root.Name(), &root}};
  for (const Control* child : root.Children()) found.merge(ByName(*child));
  return found;
}

}  // namespace

TEST(MainWindow, LaysOutEveryControlWhereTheDesignPutsIt) {
  FakePlatform platform(At(14, 0, 0));
  Program program(platform.Set(), kTestUpdateHost);
  const auto controls = ByName(program.Form1.Form1);
  struct Case {
    const char* name;
    Bounds bounds;
    bool visible;
  };
  static const Case kCases[] = {
      {"Form1", {337, 220, 780, 550}, false},  // shown by Start()
      {"PanelTop", {0, 0, 780, 60}, true},
      {"PanelLeft", {0, 61, 300, 460}, true},
      {"GroupBox1", {20, 20, 265, 160}, true},
      {"RadioGroup1", {20, 20, 210, 60}, true},
      {"Panel1", {20, 90, 210, 60}, true},
      {"bsSkinDateEdit1", {8, 8, 96, 18}, true},
      {"bsSkinTimeEdit1", {120, 8, 75, 18}, true},
      {"PanelTimeTip", {8, 32, 126, 22}, false},
      {"ComboBoxRepeat", {136, 32, 66, 20}, true},
      {"Panel2", {20, 90, 210, 40}, false},
      {"bsSkinSpinEdit1", {8, 8, 50, 20}, true},
      {"bsSkinComboBox1", {72, 8, 65, 20}, true},
      {"Panel4", {20, 90, 235, 56}, false},
      {"EditNetRate", {56, 6, 58, 20}, true},
      {"EditNetMinutes", {172, 6, 34, 20}, true},
      {"CheckCpuQuiet", {8, 32, 92, 20}, true},
      {"EditCpuPercent", {102, 32, 40, 20}, true},
      {"ComboBoxNetRepeat", {162, 32, 66, 20}, true},
      {"Panel5", {20, 90, 235, 56}, false},
      {"EditIdleMinutes", {34, 6, 48, 20}, true},
      {"CheckIdleGuard", {8, 32, 150, 20}, true},
      {"ComboBoxIdleRepeat", {162, 32, 66, 20}, true},
      {"RadioGroup2", {20, 200, 265, 117}, true},
      {"EditInfo", {20, 362, 265, 21}, false},
      {"bsSkinComboBoxEx1", {20, 362, 265, 20}, false},
      {"ButtonAdd", {20, 337, 75, 25}, true},
      {"PanelRight", {300, 60, 480, 460}, true},
      {"TaskList", {15, 15, 430, 420}, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(controls.contains(c.name));
    EXPECT_EQ(controls.at(c.name)->GetBounds(), c.bounds);
    EXPECT_EQ(controls.at(c.name)->Visible(), c.visible);
  }
  const TForm1& f = program.Form1;
  EXPECT_EQ(f.Title.Left(), 10);
  EXPECT_EQ(f.Title.Top(), 10);
  EXPECT_EQ(f.LabelNow.Right(), 753);  // grows to the left with its text
  EXPECT_EQ(f.LabelNow.Top(), 24);
  EXPECT_EQ(f.LabelTips.Top(), 337);
  EXPECT_FALSE(f.LabelTips.Visible());
  EXPECT_EQ(f.PanelTop.BackColor(), ColorRef::Of({72, 162, 244}));
  EXPECT_EQ(f.LabelNow.TextColor(), ColorRef::Of({255, 255, 255}));
  EXPECT_EQ(f.LabelTips.TextColor(), ColorRef::Of({72, 162, 244}));
  EXPECT_EQ(f.Title.Font(), (FontStyle{"Arial", 29, true}));
  EXPECT_EQ(f.RadioGroup1.ItemIndex(), 0);
  EXPECT_EQ(f.RadioGroup2.ItemIndex(), -1);
  EXPECT_EQ(f.RadioGroup2.Items().size(), 11u);
  EXPECT_EQ(f.ComboBoxRepeat.Items(),
            (std::vector<std::string>{"不重复", "每天", "工作日", "每周"}));
  EXPECT_EQ(f.ComboBoxRepeat.ItemIndex(), 0);
  EXPECT_EQ(f.RadioGroup2.Text(), "  执行任务  ");
  EXPECT_FALSE(program.UpForm.UpForm.Visible());
  EXPECT_FALSE(program.TipForm.TipForm.Visible());
  EXPECT_EQ(program.TipForm.TipForm.Width(), 500);
}

TEST(MainWindow, StartsWithStateCaptionClockAndTrayIcon) {
  FakePlatform platform(At(14, 3, 9));
  platform.files.programFilePath = "C:\\Tools\\Dusk.exe";
  Program program(platform.Set(), kTestUpdateHost);
  program.Start();

  EXPECT_EQ(program.state.AppPath, "C:\\Tools\\");
  EXPECT_EQ(program.state.AppVersion, "1.0.1.2");
  EXPECT_EQ(program.state.ExeFileName, "Dusk.exe");
  EXPECT_EQ(program.state.UpdateInfoUrl.rfind("http://", 0), 0u);
  EXPECT_TRUE(program.state.UpdateInfoUrl.ends_with("/v/dusk.html"));
  EXPECT_EQ(platform.versionResource.askedFor, std::vector<std::string>{"C:\\Tools\\Dusk.exe"});
  EXPECT_EQ(program.Form1.Form1.Text(), "Lumo定时关机     1.0.1.2");
  EXPECT_TRUE(program.Form1.Form1.Visible());
  EXPECT_EQ(program.Form1.LabelNow.Text(), "2026/12/10 14:03:09");
  EXPECT_EQ(program.Form1.Title.Text(), "");
  EXPECT_EQ(program.Form1.bsSkinTimeEdit1.Text(), "14:23:09");
  EXPECT_EQ(platform.notificationArea.added, std::vector<std::string>{""});
  EXPECT_TRUE(platform.notificationArea.iconShown);
}

// Each native window made before the main window shows holds it up: only what
// the first view shows has one, and a hidden control gets its own as it shows.
TEST(MainWindow, MakesNativeWindowsAtStartOnlyForWhatItShows) {
  FakePlatform platform(At(14, 0, 0));
  FakeMirrorFactory windows;
  PlatformSet set = platform.Set();
  set.mirrors = &windows;
  Program program(set, kTestUpdateHost);
  program.Start();
  TForm1& f = program.Form1;
  for (const auto& [name, control] : ByName(f.Form1)) {
    SCOPED_TRACE(name);
    EXPECT_EQ(control->Handle() != 0, control->Showing());
  }

  f.bsSkinTimeEdit1.UserSetTimeOfDay(13, 0, 0);  // gone by: the hint shows
  ASSERT_TRUE(f.PanelTimeTip.Showing());
  for (const Control* control :
       {static_cast<const Control*>(&f.PanelTimeTip), static_cast<const Control*>(&f.Image1),
        static_cast<const Control*>(&f.Label1)}) {
    SCOPED_TRACE(control->Name());
    EXPECT_NE(control->Handle(), 0u);
  }
}

TEST(MainWindow, TheProgramsFolderIsCutAfterWholeCharacters) {
  struct Case {
    const char* programFile;
    const char* appPath;
  };
  // 乗 was 0x81 0x5C in GBK, whose second byte is "\\": no part of it cuts.
  static const Case kCases[] = {
      {"C:\\Tools\\Dusk.exe", "C:\\Tools\\"},
      {"C:\\Tools\\乗.exe", "C:\\Tools\\"},
      {"C:\\乗\\Dusk.exe", "C:\\乗\\"},
      {"C:\\乗乗.exe", "C:\\"},
      {"C:\\工具\\Dusk.exe", "C:\\工具\\"},
      {"C:/Tools/Dusk.exe", "C:/Tools/"},
      {"D:Dusk.exe", "D:"},
      {"Dusk.exe", ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.programFile);
    FakePlatform platform(At(14, 0, 0));
    platform.files.programFilePath = c.programFile;
    Program program(platform.Set(), kTestUpdateHost);
    EXPECT_EQ(program.state.AppPath, c.appPath);
  }
}

TEST(MainWindow, CaptionEndsWithWhatTheVersionResourceGives) {
  using Outcome = VersionResource::Outcome;
  struct Case {
    VersionResource::Result result;
    const char* caption;
  };
  static const Case kCases[] = {
      {{Outcome::Found, (2u << 16) | 10u, (0u << 16) | 7u}, "Lumo定时关机     2.10.0.7"},
      {{Outcome::NoVersionInfo, 0, 0}, "Lumo定时关机     "},
      {{Outcome::Failed, 0, 0}, "Lumo定时关机     -1"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.caption);
    FakePlatform platform(At(14, 0, 0));
    platform.versionResource.result = c.result;
    Program program(platform.Set(), kTestUpdateHost);
    EXPECT_EQ(program.Form1.Form1.Text(), c.caption);
  }
}

TEST(MainWindow, TimeEditWrapsPastMidnightAndClockShowsTheDateAlone) {
  FakePlatform late(At(23, 45, 0));
  Program lateProgram(late.Set(), kTestUpdateHost);
  EXPECT_EQ(lateProgram.Form1.bsSkinTimeEdit1.Text(), "00:05:00");
  EXPECT_EQ(lateProgram.Form1.bsSkinDateEdit1.Date(), At(0, 0, 0));
  // The time set by the program is no entry of the user's: no expired hint yet.
  EXPECT_FALSE(lateProgram.Form1.PanelTimeTip.Visible());
  lateProgram.Form1.bsSkinTimeEdit1.UserSetTimeOfDay(0, 6, 0);
  EXPECT_TRUE(lateProgram.Form1.PanelTimeTip.Visible());

  FakePlatform midnight(At(0, 0, 0));
  Program midnightProgram(midnight.Set(), kTestUpdateHost);
  EXPECT_EQ(midnightProgram.Form1.LabelNow.Text(), "2026/12/10");
  midnight.clock.AdvanceSeconds(1);
  midnightProgram.Form1.TimerNow.Fire();
  EXPECT_EQ(midnightProgram.Form1.LabelNow.Text(), "2026/12/10 0:00:01");
}

TEST(MainWindow, TaskListPopupDeletesTheRowUnderThePointer) {
  FakePlatform platform(At(14, 0, 0));
  Program program(platform.Set(), kTestUpdateHost);
  TForm1& f = program.Form1;
  f.Tasks().Add({At(15, 0, 0), TaskKind::TurnOff, ""});
  f.Tasks().Add({At(16, 0, 0), TaskKind::Alarm, "b"});

  platform.windowSystem.menuChoice = -1;  // dismissed
  f.TaskList.UserContextMenu(1);
  EXPECT_EQ(f.Tasks().Queue().Count(), 2u);
  ASSERT_EQ(platform.windowSystem.menus.back().size(), 1u);
  EXPECT_EQ(platform.windowSystem.menus.back()[0].text, "删除选中的任务");

  platform.windowSystem.menuChoice = 0;
  f.TaskList.UserContextMenu(1);
  ASSERT_EQ(f.Tasks().Queue().Count(), 1u);
  EXPECT_EQ(f.Tasks().Queue().Head().Kind, TaskKind::TurnOff);
  EXPECT_EQ(f.TaskList.Rows().size(), 1u);
}

// The headline follows the user's add and delete at once, not at the next tick.
TEST(MainWindow, TheHeadlineFollowsAnAddAndADeleteAtOnce) {
  FakePlatform platform(At(14, 0, 0));
  Program program(platform.Set(), kTestUpdateHost);
  program.Start();
  TForm1& f = program.Form1;
  f.RadioGroup1.UserSelect(1);
  f.bsSkinSpinEdit1.UserSetValue(5);
  f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::Alarm));
  f.ButtonAdd.UserClick();
  EXPECT_EQ(f.Title.Text(), "5分钟后闹钟响起。     ");

  platform.windowSystem.menuChoice = 0;
  f.TaskList.UserContextMenu(0);
  EXPECT_EQ(f.Title.Text(), Text(TextId::EmptyQueueHeadline));
}

TEST(MainWindow, RelaunchPendingStartsTheFixedNameAndEnds) {
  FakePlatform platform(At(14, 0, 0));
  platform.files.programFilePath = "C:\\Tools\\upDusk.exe";
  RecordingTaskActions actions(platform.clock);
  Program program(platform.Set(), kTestUpdateHost, actions);
  program.Start();
  program.Form1.Tasks().Add({At(14, 0, 0), TaskKind::Alarm, "due now"});
  program.state.RelaunchPending = true;
  program.Form1.TimerNow.Fire();
  ASSERT_EQ(platform.shell.launches.size(), 1u);
  const Shell::Launch& launch = platform.shell.launches[0];
  EXPECT_EQ(launch.verb, "open");
  EXPECT_EQ(launch.file, "C:\\Tools\\Dusk.exe");
  EXPECT_EQ(launch.parameters, "/handover");
  EXPECT_EQ(launch.directory, std::nullopt);
  EXPECT_EQ(launch.showCommand, 1);
  EXPECT_EQ(platform.sessionInstance.calls, std::vector<std::string>{"give up"});
  EXPECT_EQ(platform.windowSystem.terminations, 1);
  // Before the loop ends, a clock change ticks again: one program is started, and the task
  // the started one loaded is left to it.
  program.Form1.Form1.SystemTimeChanged();
  EXPECT_EQ(platform.shell.launches.size(), 1u);
  EXPECT_EQ(platform.windowSystem.terminations, 1);
  EXPECT_TRUE(actions.performed.empty());
}

TEST(ErrorBoxText, AddsAFullStopOnlyWhereNoneIs) {
  EXPECT_EQ(ErrorBoxText("Access violation"), "Access violation.");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("出错了。"), "出错了。");
  EXPECT_EQ(ErrorBoxText(""), ".");
}
