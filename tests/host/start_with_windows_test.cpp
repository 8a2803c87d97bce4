#include "startup/start_with_windows.h"

#include <gtest/gtest.h>

#include "main/program.h"
#include "platform/drive_root.h"
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
    FakeFiles files;
    files.programFilePath = kProgram;
    StartWithWindows startWithWindows(registry, files);
    startWithWindows.FollowProgramFile();
    EXPECT_EQ(registry.Read(kRunValueName), c.after);
    // Written only where it changes.
    EXPECT_EQ(registry.calls.size(), c.after != c.value ? 1u : 0u);
    // Checked in the menu from then on.
    EXPECT_EQ(startWithWindows.On(), c.after == kCommand);
  }
}

// A value that starts this program from elsewhere follows this copy only once
// that file is gone, and only to a disk that is there at the next logon.
TEST(StartWithWindows, AValueOfAnotherPlaceFollowsOnlyFromAGoneFileToAFixedDisk) {
  constexpr char kOldCommand[] = "\"D:\\Old Place\\Dusk.exe\" /tray";
  struct Case {
    const char* what;
    const char* program;  // this copy
    bool oldFileThere;
    DriveKind drive;  // of this copy's drive
    bool follows;
  };
  static constexpr Case kCases[] = {
      {"the old file gone", kProgram, false, DriveKind::Fixed, true},
      {"the old file still there", kProgram, true, DriveKind::Fixed, false},
      {"run from a stick", "E:\\Dusk\\Dusk.exe", false, DriveKind::Removable, false},
      {"run from a mapped share", "N:\\Tools\\Dusk.exe", false, DriveKind::Network, false},
      {"run from a drive the system cannot place", "R:\\Dusk.exe", false, DriveKind::Other, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    FakeRunAtLogon registry;
    registry.values[kRunValueName] = kOldCommand;
    FakeFiles files;
    files.programFilePath = c.program;
    files.driveKinds[std::string(c.program, 1)] = c.drive;
    if (c.oldFileThere) files.contents["D:\\Old Place\\Dusk.exe"] = "the installed program";
    StartWithWindows startWithWindows(registry, files);
    startWithWindows.FollowProgramFile();
    EXPECT_EQ(registry.Read(kRunValueName), c.follows ? RunCommandFor(c.program) : kOldCommand);
    EXPECT_EQ(startWithWindows.On(), c.follows);
  }
}

TEST(DriveRoot, SharesAndLetteredRootsAreToldApart) {
  struct Case {
    const char* path;
    bool unc;
    std::optional<std::string> root;
  };
  const Case kCases[] = {
      {"C:\\Program Files\\Dusk\\Dusk.exe", false, "C:\\"},
      {"e:/Dusk.exe", false, "e:\\"},
      {"\\\\?\\D:\\Tools\\Dusk.exe", false, "D:\\"},
      {"\\\\server\\share\\Dusk.exe", true, std::nullopt},
      {"//server/share/Dusk.exe", true, std::nullopt},
      {"\\\\?\\UNC\\server\\share\\Dusk.exe", true, std::nullopt},
      {"\\\\.\\PhysicalDrive0", false, std::nullopt},
      {"C:Dusk.exe", false, std::nullopt},
      {"Dusk.exe", false, std::nullopt},
      {"", false, std::nullopt},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(IsUncPath(c.path), c.unc);
    EXPECT_EQ(DriveLetterRoot(c.path), c.root);
  }
}

class StartWithWindowsMenu : public testing::Test {
 protected:
  StartWithWindowsMenu() : platform(At(9, 0, 0)) { platform.files.programFilePath = kProgram; }

  // Opens the tray menu and chooses "开机时启动"; whether it showed checked.
  bool ChooseStartWithWindows() {
    // Its number counts the entries above it, those of the submenus above it too.
    platform.windowSystem.menuChoice = -1;
    platform.notificationArea.Raise(NotificationArea::Mouse::RightUp);
    int number = 0;
    const WindowSystem::MenuItem* found = nullptr;
    for (const WindowSystem::MenuItem& item : platform.windowSystem.menus.back()) {
      if (item.text == "开机时启动") {
        found = &item;
        break;
      }
      number += 1 + static_cast<int>(item.submenu.size());
    }
    EXPECT_TRUE(found);
    if (!found) return false;
    const bool checked = found->checked;
    platform.windowSystem.menuChoice = number;
    platform.notificationArea.Raise(NotificationArea::Mouse::RightUp);
    return checked;
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
