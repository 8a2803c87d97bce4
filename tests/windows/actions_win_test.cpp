#include <gtest/gtest.h>

#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"
#include "tests/windows/beside_this_test.h"

// The adjustment answers TRUE even when the token lacks the privilege; only its last error,
// ERROR_NOT_ALL_ASSIGNED, tells, and the call reports that as its failure.
TEST(Win32Power, EnablesTheShutdownPrivilege) {
  Win32Power power;
  EXPECT_EQ(power.EnableShutdownPrivilege(), kSucceeded);
}

TEST(Win32SystemMessages, DescribesAnErrorInOneLine) {
  const Win32SystemMessages messages;
  const std::string text = messages.Describe(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
  EXPECT_EQ(messages.Describe(0xDEADBEEF), std::to_string(0xDEADBEEFul));
}

// Hangul has no place in code page 936: only a wide call finds the program.
TEST(Win32Shell, StartsAProgramWhosePathHoldsSpacesAndTextOutsideTheCodePageAsOneFileName) {
  const std::string folder = BesideThisTest("launch test 启动 테스트");
  CreateDirectoryW(ToWide(folder).c_str(), nullptr);
  const std::string program = folder + "\\launch fixture.exe";
  ASSERT_TRUE(CopyFileW(ToWide(BesideThisTest("launch_fixture.exe")).c_str(),
                        ToWide(program).c_str(), FALSE));

  const UniqueKernelHandle started(CreateEventA(nullptr, TRUE, FALSE, "DuskLaunchFixtureStarted"));
  ASSERT_TRUE(started);
  Win32Shell shell;
  // What the open-program task hands over: the path whole, no verb, no arguments.
  EXPECT_EQ(
      shell.Execute({0, std::nullopt, program, std::nullopt, std::nullopt, Shell::kShowNormal}),
      kSucceeded);
  EXPECT_EQ(WaitForSingleObject(started.Get(), 30'000), WAIT_OBJECT_0);
}

TEST(Win32Shell, TellsWhyAProgramCouldNotBeStarted) {
  Win32Shell shell;
  EXPECT_EQ(shell.Execute({0, std::nullopt, BesideThisTest("no such program.exe"), std::nullopt,
                           std::nullopt, Shell::kShowNormal}),
            static_cast<SystemError>(ERROR_FILE_NOT_FOUND));
}
