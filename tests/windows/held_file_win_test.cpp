#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"
#include "tests/windows/beside_this_test.h"

// The downloaded program is held from its check until it has been started:
// meanwhile nobody may change it, rename it or delete it, and readers (the
// check, the loader) still may read it.
TEST(Win32Files, AHeldFileCanBeReadButNotWrittenRenamedOrDeleted) {
  const std::string path = BesideThisTest("held program.exe");
  const std::string renamed = BesideThisTest("held program renamed.exe");
  (void)DeleteFileW(ToWide(renamed).c_str());
  {
    const UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), "program", 7, &written, nullptr));
  }
  Win32Files files;
  {
    const std::unique_ptr<Files::HeldFile> held = files.Hold(path);
    ASSERT_TRUE(held);

    const UniqueFile writer(CreateFileW(ToWide(path).c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(writer);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(
        MoveFileExW(ToWide(path).c_str(), ToWide(renamed).c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(files.Delete(path));
    EXPECT_EQ(files.ReadPrefix(path, 64), std::optional<std::string>("program"));
  }
  // Released, it is an ordinary file again.
  EXPECT_TRUE(files.MoveReplacing(path, renamed));
  EXPECT_TRUE(files.Delete(renamed));
  EXPECT_FALSE(files.Hold(path));
}
