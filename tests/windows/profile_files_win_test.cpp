#include "platform/profile_files_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/unique_handle_win.h"
#include "platform/whole_file_write.h"
#include "platform/wide_text_win.h"
#include "tests/windows/beside_this_test.h"

namespace {

// A folder of its own beside the test, with a Chinese name, made afresh.
class ProfileFilesWin : public testing::Test {
 protected:
  ProfileFilesWin() : folder(BesideThisTest("任务列表 测试")) {
    Clear();
    EXPECT_EQ(files.CreateFolder(folder), kSucceeded);
  }
  ~ProfileFilesWin() override { Clear(); }

  void Clear() {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(ToWide(folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = ToWide(folder + "\\") + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveDirectoryW(path.c_str());
        } else {
          DeleteFileW(path.c_str());
        }
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(ToWide(folder).c_str());
  }

  [[nodiscard]] std::string In(const char* name) const { return folder + "\\" + name; }

  Win32ProfileFiles files;
  std::string folder;
};

}  // namespace

TEST_F(ProfileFilesWin, TheRoamingProfileFolderIsThere) {
  const std::string appData = files.RoamingAppDataFolder();
  ASSERT_FALSE(appData.empty());
  EXPECT_NE(appData.back(), '\\');
  const DWORD attributes = GetFileAttributesW(ToWide(appData).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(ProfileFilesWin, AFolderIsMadeOnceAndAFileOfItsNameIsNoFolder) {
  EXPECT_EQ(files.CreateFolder(folder), kSucceeded);
  EXPECT_EQ(files.CreateFolder(In("子文件夹")), kSucceeded);
  EXPECT_EQ(files.CreateFolder(In("没有\\这一层")), static_cast<SystemError>(ERROR_PATH_NOT_FOUND));
  ASSERT_EQ(ReplaceWholeFile(files, In("文件"), In("文件.tmp"), "x"), kSucceeded);
  EXPECT_NE(files.CreateFolder(In("文件")), kSucceeded);
}

TEST_F(ProfileFilesWin, AWholeFileIsReplacedAndReadBackByteForByte) {
  const std::string list = In("tasks.txt");
  const std::string temporary = In("tasks.tmp");
  EXPECT_EQ(files.ReadWhole(list).outcome, ProfileFiles::Contents::Outcome::Missing);
  EXPECT_EQ(files.ReadWhole(In("没有\\tasks.txt")).outcome,
            ProfileFiles::Contents::Outcome::Missing);

  const std::string first =
      std::string("Dusk task list 1\r\nalarm|2026-12-10 12:00:00|起床\0!", 53);
  ASSERT_EQ(ReplaceWholeFile(files, list, temporary, first), kSucceeded);
  EXPECT_FALSE(files.Exists(temporary));
  ProfileFiles::Contents read = files.ReadWhole(list);
  ASSERT_EQ(read.outcome, ProfileFiles::Contents::Outcome::Read);
  EXPECT_EQ(read.bytes, first);

  // Over the old one; a few megabytes, as a long list makes.
  std::string second;
  for (int i = 0; i < 100000; ++i)
    second += "alarm|2026-12-10 12:00:00|第" + std::to_string(i) + "个\r\n";
  ASSERT_EQ(ReplaceWholeFile(files, list, temporary, second), kSucceeded);
  read = files.ReadWhole(list);
  EXPECT_EQ(read.bytes.size(), second.size());
  EXPECT_TRUE(read.bytes == second);
  ASSERT_EQ(ReplaceWholeFile(files, list, temporary, ""), kSucceeded);
  EXPECT_EQ(files.ReadWhole(list).bytes, "");
}

TEST_F(ProfileFilesWin, AFailedReplaceLeavesTheOldFileAndNoTemporaryOne) {
  const std::string list = In("tasks.txt");
  ASSERT_EQ(ReplaceWholeFile(files, list, In("tasks.tmp"), "old"), kSucceeded);
  // The temporary file cannot be made: a folder has its name.
  ASSERT_EQ(files.CreateFolder(In("busy.tmp")), kSucceeded);
  EXPECT_NE(ReplaceWholeFile(files, list, In("busy.tmp"), "new"), kSucceeded);
  EXPECT_EQ(files.ReadWhole(list).bytes, "old");
  {
    // The list is open elsewhere, without leave to rename it: the move fails.
    const UniqueFile reader(CreateFileW(ToWide(list).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_NE(ReplaceWholeFile(files, list, In("tasks.tmp"), "new"), kSucceeded);
    EXPECT_FALSE(files.Exists(In("tasks.tmp")));
  }
  EXPECT_EQ(files.ReadWhole(list).bytes, "old");
}

TEST_F(ProfileFilesWin, AFileGoesAsideOnlyUnderAFreeName) {
  const std::string list = In("tasks.txt");
  const std::string aside = In("tasks.bad-20261210-233005.txt");
  ASSERT_EQ(ReplaceWholeFile(files, list, In("tasks.tmp"), "bad"), kSucceeded);
  ASSERT_EQ(ReplaceWholeFile(files, aside, In("tasks.tmp"), "earlier"), kSucceeded);
  EXPECT_NE(files.MoveToNewName(list, aside), kSucceeded);
  EXPECT_EQ(files.ReadWhole(aside).bytes, "earlier");
  EXPECT_EQ(files.MoveToNewName(list, In("tasks.bad-20261210-233005-2.txt")), kSucceeded);
  EXPECT_FALSE(files.Exists(list));
  EXPECT_EQ(files.ReadWhole(In("tasks.bad-20261210-233005-2.txt")).bytes, "bad");
}

TEST_F(ProfileFilesWin, AFileOpenedForWritingElsewhereIsNotRead) {
  const std::string list = In("tasks.txt");
  ASSERT_EQ(ReplaceWholeFile(files, list, In("tasks.tmp"), "list"), kSucceeded);
  const UniqueFile writer(CreateFileW(ToWide(list).c_str(), GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  const ProfileFiles::Contents read = files.ReadWhole(list);
  EXPECT_EQ(read.outcome, ProfileFiles::Contents::Outcome::Failed);
  EXPECT_EQ(read.error, static_cast<SystemError>(ERROR_SHARING_VIOLATION));
}
