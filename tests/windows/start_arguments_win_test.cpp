#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/wide_text_win.h"
#include "startup/start_arguments.h"

namespace {

// The command line as the system splits it for the program started.
std::vector<std::string> SplitBySystem(const std::string& arguments) {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(ToWide("Dusk.exe " + arguments).c_str(), &count);
  std::vector<std::string> split;
  for (int i = 1; i < count; ++i) split.push_back(FromWide(words[i]));
  LocalFree(words);
  return split;
}

}  // namespace

// What a copy that hands over passes reaches the program it starts as the
// same words, and the report in them as it was.
TEST(StartArgumentsWin, AHandedOverReportIsOneWordToTheSystem) {
  static const std::string kReports[] = {
      "有 2 个任务无法读取，原文件已保存为 C:\\Users\\李 雷\\AppData\\Roaming\\Dusk\\"
      "tasks.bad-20261210-090000.txt",
      "\"/tray\" \\\"\r\n无法保存任务列表：系统错误112。\\",
  };
  for (const std::string& report : kReports) {
    SCOPED_TRACE(report);
    const std::string arguments = HandOverArguments(true, report);
    const std::vector<std::string> words = SplitBySystem(arguments);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0], kHandOverArgument);
    EXPECT_EQ(words[1], kTrayArgument);
    EXPECT_EQ(ParseStartArguments(words[2]).loadReport, report);
    EXPECT_EQ(ParseStartArguments(arguments).loadReport, report);
  }
}
