#include <gtest/gtest.h>

#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"
#include "tests/windows/beside_this_test.h"
#include "upgrade/version_text.h"

TEST(Win32VersionResource, ReadsTheFixedFileVersionOnly) {
  const Win32VersionResource versions;
  struct Case {
    const char* file;
    const char* version;
  };
  static const Case kCases[] = {
      // The product version (9.9.9.9) and the text entry (8.8.8.8) are not used.
      {"version_fixture.exe", "2.10.0.7"},
      {"plain_fixture.exe", ""},
      {"no_such_file.exe", ""},
      {"Dusk.exe", "1.0.1.2"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(GetFileVersionString(versions, BesideThisTest(c.file)), c.version);
  }
}

// The tests run with code page 936, as a Simplified Chinese system has it.
TEST(Win32CodePage, ReadsTheSystemsBytesAsUtf8) {
  ASSERT_EQ(GetACP(), 936u);
  const Win32CodePage codePage;
  EXPECT_TRUE(codePage.IsLeadByte(0x81));
  EXPECT_TRUE(codePage.IsLeadByte(0xFE));
  EXPECT_FALSE(codePage.IsLeadByte('a'));
  EXPECT_FALSE(codePage.IsLeadByte(0x80));
  EXPECT_EQ(codePage.ToUtf8("ab\xB9\xD8\xBB\xFA"), "ab关机");
  EXPECT_EQ(codePage.ToUtf8(""), "");
}

TEST(Win32Clock, WritesTheUsersShortDateAndLongTime) {
  const Win32Clock clock;
  const CalendarTime time{2026, 12, 10, 21, 5, 9, 0};
  const std::string date = clock.FormatShortDate(time);
  const std::string clockTime = clock.FormatLongTime(time);
  EXPECT_NE(date.find("2026"), std::string::npos) << date;
  EXPECT_NE(date.find("10"), std::string::npos) << date;
  EXPECT_NE(clockTime.find("05"), std::string::npos) << clockTime;
  EXPECT_NE(clockTime.find("09"), std::string::npos) << clockTime;
  const CalendarTime now = DecodeDateTime(clock.Now());
  EXPECT_GE(now.year, 2024);
}

TEST(Win32Files, TellsAFixedDiskFromAShareAndFromNoDriveAtAll) {
  wchar_t windows[MAX_PATH];
  ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  const Win32Files files;
  EXPECT_EQ(files.KindOfDrive(FromWide(windows) + "\\notepad.exe"), DriveKind::Fixed);
  EXPECT_EQ(files.KindOfDrive("\\\\server\\share\\Dusk\\Dusk.exe"), DriveKind::Network);
  EXPECT_EQ(files.KindOfDrive("\\\\?\\UNC\\server\\share\\Dusk.exe"), DriveKind::Network);
  // A letter no drive has.
  const DWORD drives = GetLogicalDrives();
  char letter = 'Z';
  while (letter > 'D' && (drives & (1u << (letter - 'A')))) --letter;
  ASSERT_GT(letter, 'D');
  EXPECT_EQ(files.KindOfDrive(std::string(1, letter) + ":\\Dusk.exe"), DriveKind::Other);
}
