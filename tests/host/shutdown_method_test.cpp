#include "scheduler/shutdown_method.h"

#include <gtest/gtest.h>

#include "language/language.h"
#include "main/shutdown_method_menu.h"
#include "process/open_programs.h"
#include "scheduler/task_kinds.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_processes.h"
#include "tests/fakes/fake_profile_files.h"

TEST(ShutdownMethod, ExitFlagsForEachMethodAndKind) {
  struct Case {
    ShutdownMethod method;
    TaskKind kind;
    unsigned flags;
  };
  static constexpr Case kCases[] = {
      // Forced: as the program has always asked.
      {ShutdownMethod::ForceAll, TaskKind::TurnOff, 0x15},  // shut down, force, force if hung
      {ShutdownMethod::ForceAll, TaskKind::Restart, 0x06},  // reboot, force
      {ShutdownMethod::ForceAll, TaskKind::LogOff, 0x00},
      // Only the hung ones ended.
      {ShutdownMethod::ForceHung, TaskKind::TurnOff, 0x11},
      {ShutdownMethod::ForceHung, TaskKind::Restart, 0x12},
      {ShutdownMethod::ForceHung, TaskKind::LogOff, 0x10},
      // No force at all.
      {ShutdownMethod::AskPrograms, TaskKind::TurnOff, 0x01},
      {ShutdownMethod::AskPrograms, TaskKind::Restart, 0x02},
      {ShutdownMethod::AskPrograms, TaskKind::LogOff, 0x00},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(ShutdownMethodWord(c.method)) + " " +
                 std::string(Text(TraitsOf(c.kind).itemText)));
    EXPECT_EQ(ExitFlags(c.method, c.kind), c.flags);
  }
}

TEST(ShutdownMethod, WordsReadBackAndUnknownWordsAreNone) {
  for (ShutdownMethod method : kShutdownMethods) {
    EXPECT_EQ(ShutdownMethodFromWord(ShutdownMethodWord(method)), method);
  }
  EXPECT_EQ(ShutdownMethodFromWord(""), std::nullopt);
  EXPECT_EQ(ShutdownMethodFromWord("Force"), std::nullopt);
  EXPECT_EQ(ShutdownMethodFromWord("force "), std::nullopt);
}

TEST(ShutdownMethod, ClosingProgramsLine) {
  struct Case {
    std::vector<std::string> names;
    ShutdownMethod method;
    const char* text;
  };
  const Case kCases[] = {
      {{}, ShutdownMethod::ForceAll, ""},
      {{"记事本"}, ShutdownMethod::ForceHung, "将关闭：记事本"},
      {{"记事本", "Word"}, ShutdownMethod::AskPrograms, "将关闭：记事本、Word"},
      {{"记事本", "Word", "画图", "计算器", "Excel"},
       ShutdownMethod::ForceHung,
       "将关闭：记事本、Word 等 5 个程序"},
      {{"记事本", "Word", "画图"},
       ShutdownMethod::ForceAll,
       "将关闭且不保存：记事本、Word 等 3 个程序"},
      // A program whose name could not be read is counted, not named.
      {{"", "记事本"}, ShutdownMethod::ForceHung, "将关闭：记事本 等 2 个程序"},
      {{"", ""}, ShutdownMethod::ForceHung, "将关闭：2 个程序"},
      // Long titles are cut at a whole character; exactly sixteen are kept whole.
      {{"无标题 - 记事本 - 第二页文档"},
       ShutdownMethod::ForceHung,
       "将关闭：无标题 - 记事本 - 第二页…"},
      {{"一二三四五六七八九十甲乙丙丁戊己"},
       ShutdownMethod::ForceHung,
       "将关闭：一二三四五六七八九十甲乙丙丁戊己"},
      // A character outside the basic plane is two units: never split in half.
      {{"一二三四五六七八九十甲乙丙丁\U0001F600"},
       ShutdownMethod::ForceHung,
       "将关闭：一二三四五六七八九十甲乙丙丁\U0001F600"},
      {{"一二三四五六七八九十甲乙丙丁戊\U0001F600"},
       ShutdownMethod::ForceHung,
       "将关闭：一二三四五六七八九十甲乙丙丁戊…"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ClosingProgramsText(c.names, c.method), c.text);
  }
}

TEST(OpenPrograms, OneNamePerProgramOnTheTaskbarTopFirstNeverThisOne) {
  FakeProcesses processes;
  processes.currentProcessId = 10;
  processes.processes = {{10, "Dusk.exe", "C:\\Dusk\\Dusk.exe"},
                         {20, "notepad.exe", "C:\\Windows\\notepad.exe"},
                         {30, "tool.exe", "C:\\Tools\\tool.exe"},
                         {40, "hidden.exe", "C:\\hidden.exe"},
                         {50, "locked.exe"}};
  processes.windows = {
      {1, 10, "Dusk"},        {2, 30, ""}, {3, 20, "无标题 - 记事本"}, {4, 20, "另一个记事本"},
      {5, 40, "后台", false}, {7, 50, ""}};
  FakeProcesses::Window palette(6, 30, "工具箱");
  palette.onTaskbar = false;
  processes.windows.insert(processes.windows.begin(), palette);

  // The untitled window names its program by its image; a program that cannot be read stays
  // unnamed but counted.
  EXPECT_EQ(OpenProgramNames(processes),
            (std::vector<std::string>{"tool.exe", "无标题 - 记事本", ""}));
}

TEST(ShutdownMethodMenu, ShowsTheChoiceInUseAndKeepsTheNewOne) {
  FakeProfileFiles files;
  FakeClock clock(At(9, 0, 0));
  const std::string folder = "C:\\Dusk";
  struct Case {
    const char* file;
    ShutdownMethod method;
  };
  const Case kCases[] = {
      {nullptr, ShutdownMethod::ForceAll},
      {"shutdown-method=ask\r\n", ShutdownMethod::AskPrograms},
      {"shutdown-method=force-if-hung\r\n", ShutdownMethod::ForceHung},
      {"shutdown-method=gently\r\n", ShutdownMethod::ForceAll},  // a word no version wrote
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file ? c.file : "no file");
    files.contents.clear();
    if (c.file) files.contents[folder + "\\settings.txt"] = c.file;
    SettingsFile settings(files, clock, folder);
    settings.Load();
    ShutdownMethodMenu menu(settings);
    EXPECT_EQ(menu.Current(), c.method);
    const auto items = menu.Items();
    ASSERT_EQ(items.size(), 3u);
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].text, ShutdownMethodText(kShutdownMethods[i]));
      EXPECT_TRUE(items[i].radio);
      EXPECT_EQ(items[i].checked, kShutdownMethods[i] == c.method);
    }
  }

  SettingsFile settings(files, clock, folder);
  settings.Load();
  ShutdownMethodMenu menu(settings);
  menu.Choose(1);
  EXPECT_EQ(menu.Current(), ShutdownMethod::ForceHung);
  SettingsFile nextRun(files, clock, folder);
  nextRun.Load();
  EXPECT_EQ(ShutdownMethodMenu(nextRun).Current(), ShutdownMethod::ForceHung);
}
