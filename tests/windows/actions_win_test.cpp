#include <gtest/gtest.h>

#include "platform/win32_platform.h"

namespace {

std::string BesideThisTest(const char* fileName) {
  const std::string self = Win32Files().ProgramFilePath();
  return self.substr(0, self.find_last_of('\\') + 1) + fileName;
}

}  // namespace

// The adjustment answers TRUE even when the token lacks the privilege; only its last error,
// ERROR_NOT_ALL_ASSIGNED, tells. Closing the token afterwards succeeds and leaves that error.
TEST(Win32Power, EnablesTheShutdownPrivilege) {
  Win32Power power;
  ASSERT_TRUE(power.EnableShutdownPrivilege());
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED));
}

TEST(Win32Shell, StartsAProgramWhosePathHoldsASpaceAsOneFileName) {
  const std::string folder = BesideThisTest("launch test folder");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string program = folder + "\\launch fixture.exe";
  ASSERT_TRUE(CopyFileA(BesideThisTest("launch_fixture.exe").c_str(), program.c_str(), FALSE));

  const UniqueKernelHandle started(CreateEventA(nullptr, TRUE, FALSE, "DuskLaunchFixtureStarted"));
  ASSERT_TRUE(started);
  Win32Shell shell;
  // What the open-program task hands over: the path whole, no verb, no arguments.
  EXPECT_TRUE(shell.Execute({0, std::nullopt, program, std::nullopt, std::nullopt,
                             Shell::kShowNormal}));
  EXPECT_EQ(WaitForSingleObject(started.Get(), 30'000), WAIT_OBJECT_0);
}
