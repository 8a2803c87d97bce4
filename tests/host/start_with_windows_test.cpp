#include "startup/start_with_windows.h"

#include <gtest/gtest.h>

#include "main/program.h"
#include "tests/fakes/fake_platform.h"

namespace {

constexpr char kProgram[] = "C:\\Program Files\\Dusk\\Dusk.exe";
constexpr char kCommand[] = "\"C:\\Program Files\\Dusk\\Dusk.exe\" /tray";

}  // namespace

TEST(RunCommand, NamesTheProgramQuotedAndStartsItInTheTray) {
  EXPECT_EQ(RunCommandFor(kProgram), kCommand);
  EXPECT_EQ(ProgramOfRunCommand(RunCommandFor("D:\\软件\\Dusk.exe")), "D:\\软件\\Dusk.exe");
}

TEST(RunCommand, ItsProgramIsTheQuotedPartOrThePathUpToItsProgramName) {
  struct Case {
    const char* command;
    const char* program;
  };
  static constexpr Case kCases[] = {
      {"\"C:\\Program Files\\Dusk\\Dusk.exe\" /tray", "C:\\Program Files\\Dusk\\Dusk.exe"},
      {"  \"C:\\A B\\Dusk.exe\"", "C:\\A B\\Dusk.exe"},
      {"\"C:\\A B\\Dusk.exe", "C:\\A B\\Dusk.exe"},  // never closed
      {"C:\\Program Files\\Dusk\\Dusk.exe /tray", "C:\\Program Files\\Dusk\\Dusk.exe"},
      {"C:\\Program Files\\Dusk\\DUSK.EXE", "C:\\Program Files\\Dusk\\DUSK.EXE"},
      {"C:\\my.exe files\\Dusk.exe /tray", "C:\\my.exe"},
      {"C:\\Tools\\x.exe.bak\\Dusk.exe", "C:\\Tools\\x.exe.bak\\Dusk.exe"},
      {"C:\\Tools\\run.cmd /quiet", "C:\\Tools\\run.cmd"},
      {"", ""},
      {"   ", ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(ProgramOfRunCommand(c.command), c.program);
  }
}

// What start-up makes of the value, and what the tray menu shows for it.
TEST(StartWithWindows, StartUpBringsAValueOfThisProgramUpToDateAndLeavesOthersAlone) {
  struct Case {
    const char* what;
    std::optional<std::string> value;
    RunEntry entry;
    std::optional<std::string> after;
  };
  const Case kCases[] = {
      {"absent", std::nullopt, RunEntry::Absent, std::nullopt},
      {"ours", kCommand, RunEntry::ThisProgram, kCommand},
      {"ours, letters in another case", "\"c:\\program files\\dusk\\DUSK.exe\" /tray",
       RunEntry::ThisProgram, kCommand},
      {"ours, not quoted", "C:\\Program Files\\Dusk\\Dusk.exe /tray", RunEntry::ThisProgram,
       kCommand},
      {"ours, without /tray", "\"C:\\Program Files\\Dusk\\Dusk.exe\"", RunEntry::ThisProgram,
       kCommand},
      {"ours at an old path", "\"D:\\Old Place\\Dusk.exe\" /tray", RunEntry::ThisProgramElsewhere,
       kCommand},
      {"ours at an old path, not quoted", "D:\\Old Place\\dusk.exe /tray",
       RunEntry::ThisProgramElsewhere, kCommand},
      {"someone else's path", "\"C:\\Program Files\\Other\\Other.exe\" /tray",
       RunEntry::OtherProgram, "\"C:\\Program Files\\Other\\Other.exe\" /tray"},
      {"someone else's path, not quoted", "C:\\Program Files\\Dusk\\Dusk.exe.old",
       RunEntry::OtherProgram, "C:\\Program Files\\Dusk\\Dusk.exe.old"},
      {"empty", "", RunEntry::OtherProgram, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ClassifyRunEntry(c.value, kProgram), c.entry);
    FakeRunAtLogon registry;
    if (c.value) registry.values[kRunValueName] = *c.value;
    StartWithWindows startWithWindows(registry, kProgram);
    startWithWindows.FollowProgramFile();
    EXPECT_EQ(registry.Read(kRunValueName), c.after);
    // Written only where it changes.
    EXPECT_EQ(registry.calls.size(), c.after != c.value ? 1u : 0u);
    // Checked in the menu from then on.
    EXPECT_EQ(startWithWindows.On(), c.after == kCommand);
  }
}

class StartWithWindowsMenu : public testing::Test {
 protected:
  StartWithWindowsMenu() : platform(At(9, 0, 0)) { platform.files.programFilePath = kProgram; }

  // Opens the tray menu and chooses "开机时启动"; whether it showed checked.
  bool ChooseStartWithWindows() {
    platform.windowSystem.menuChoice = 2;
    platform.notificationArea.Raise(NotificationArea::Mouse::RightUp);
    const WindowSystem::MenuItem& item = platform.windowSystem.menus.back().at(2);
    EXPECT_EQ(item.text, "开机时启动");
    return item.checked;
  }

  FakePlatform platform;
};

TEST_F(StartWithWindowsMenu, TheItemAddsAndRemovesTheValueAndShowsWhetherItIsThere) {
  Program program(platform.Set(), kTestUpdateHost);
  program.Start();
  // Off by default: start-up writes nothing.
  EXPECT_TRUE(platform.runAtLogon.calls.empty());

  EXPECT_FALSE(ChooseStartWithWindows());
  EXPECT_EQ(platform.runAtLogon.values, (std::map<std::string, std::string>{{"Dusk", kCommand}}));
  EXPECT_TRUE(ChooseStartWithWindows());
  EXPECT_TRUE(platform.runAtLogon.values.empty());
  EXPECT_FALSE(ChooseStartWithWindows());
  EXPECT_EQ(platform.runAtLogon.calls,
            (std::vector<std::string>{"write Dusk = " + std::string(kCommand), "remove Dusk",
                                      "write Dusk = " + std::string(kCommand)}));
  EXPECT_TRUE(program.Form1.Form1.Visible());
}

TEST_F(StartWithWindowsMenu, AnotherProgramsValueIsReplacedOnlyByTheUsersChoice) {
  platform.runAtLogon.values["Dusk"] = "\"C:\\Other\\Other.exe\"";
  Program program(platform.Set(), kTestUpdateHost);
  program.Start();
  EXPECT_EQ(platform.runAtLogon.values["Dusk"], "\"C:\\Other\\Other.exe\"");
  EXPECT_FALSE(ChooseStartWithWindows());
  EXPECT_EQ(platform.runAtLogon.values["Dusk"], kCommand);
}

TEST_F(StartWithWindowsMenu, ARefusedChangeLeavesTheCheckMarkAsTheRegistryIs) {
  Program program(platform.Set(), kTestUpdateHost);
  program.Start();
  platform.runAtLogon.refuses = true;
  EXPECT_FALSE(ChooseStartWithWindows());
  EXPECT_FALSE(ChooseStartWithWindows());
  EXPECT_TRUE(platform.runAtLogon.values.empty());
  EXPECT_TRUE(platform.windowSystem.boxes.empty());
}

// A copy under another name hands over to the fixed name, or is a leftover:
// it never points the value at itself.
TEST_F(StartWithWindowsMenu, OnlyTheProgramUnderItsFixedNameMovesTheValue) {
  for (const char* runningAs : {"Dusk.exe", "upDusk.exe", "Foo.exe"}) {
    SCOPED_TRACE(runningAs);
    FakePlatform p(At(9, 0, 0));
    p.files.programFilePath = std::string("E:\\New\\") + runningAs;
    p.files.contents[p.files.programFilePath] = "this program";
    p.runAtLogon.values["Dusk"] = "\"D:\\Old\\Dusk.exe\" /tray";
    Program program(p.Set(), kTestUpdateHost);
    const bool moved = std::string(runningAs) == "Dusk.exe";
    EXPECT_EQ(p.runAtLogon.values["Dusk"],
              moved ? "\"E:\\New\\Dusk.exe\" /tray" : "\"D:\\Old\\Dusk.exe\" /tray");
  }
}
