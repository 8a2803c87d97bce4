#include "platform/profile_files_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/time_zone_win.h"
#include "platform/unique_handle_win.h"
#include "platform/whole_file_write.h"
#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"
#include "storage/saved_task_list.h"
#include "storage/task_file_format.h"
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

// The balloons a tray icon would show.
class BalloonRecorder : public NotificationArea {
 public:
  void SetEvents(Events*) override {}
  bool AddIcon(const std::string&) override { return true; }
  bool SetTip(const std::string&) override { return true; }
  void RemoveIcon() override {}
  bool ShowBalloon(const std::string&, const std::string& text, BalloonIcon) override {
    balloons.push_back(text);
    return true;
  }
  void HideBalloon() override {}
  std::vector<std::string> balloons;
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
  EXPECT_EQ(files.ReadWhole(list, kTaskListMaxBytes).outcome,
            ProfileFiles::Contents::Outcome::Missing);
  EXPECT_EQ(files.ReadWhole(In("没有\\tasks.txt"), kTaskListMaxBytes).outcome,
            ProfileFiles::Contents::Outcome::Missing);

  const std::string first =
      std::string("Dusk task list 1\r\nalarm|2026-12-10 12:00:00|起床\0!", 53);
  ASSERT_EQ(ReplaceWholeFile(files, list, temporary, first), kSucceeded);
  EXPECT_FALSE(files.Exists(temporary));
  ProfileFiles::Contents read = files.ReadWhole(list, kTaskListMaxBytes);
  ASSERT_EQ(read.outcome, ProfileFiles::Contents::Outcome::Read);
  EXPECT_EQ(read.bytes, first);

  // Over the old one; a few megabytes, as a long list makes.
  std::string second;
  for (int i = 0; i < 100000; ++i)
    second += "alarm|2026-12-10 12:00:00|第" + std::to_string(i) + "个\r\n";
  ASSERT_EQ(ReplaceWholeFile(files, list, temporary, second), kSucceeded);
  read = files.ReadWhole(list, kTaskListMaxBytes);
  EXPECT_EQ(read.bytes.size(), second.size());
  EXPECT_TRUE(read.bytes == second);
  ASSERT_EQ(ReplaceWholeFile(files, list, temporary, ""), kSucceeded);
  EXPECT_EQ(files.ReadWhole(list, kTaskListMaxBytes).bytes, "");
}

TEST_F(ProfileFilesWin, AFailedReplaceLeavesTheOldFileAndNoTemporaryOne) {
  const std::string list = In("tasks.txt");
  ASSERT_EQ(ReplaceWholeFile(files, list, In("tasks.tmp"), "old"), kSucceeded);
  // The temporary file cannot be made: a folder has its name.
  ASSERT_EQ(files.CreateFolder(In("busy.tmp")), kSucceeded);
  EXPECT_NE(ReplaceWholeFile(files, list, In("busy.tmp"), "new"), kSucceeded);
  EXPECT_EQ(files.ReadWhole(list, kTaskListMaxBytes).bytes, "old");
  {
    // The list is open elsewhere, without leave to rename it: the move fails.
    const UniqueFile reader(CreateFileW(ToWide(list).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_NE(ReplaceWholeFile(files, list, In("tasks.tmp"), "new"), kSucceeded);
    EXPECT_FALSE(files.Exists(In("tasks.tmp")));
  }
  EXPECT_EQ(files.ReadWhole(list, kTaskListMaxBytes).bytes, "old");
}

TEST_F(ProfileFilesWin, AFileGoesAsideOnlyUnderAFreeName) {
  const std::string list = In("tasks.txt");
  const std::string aside = In("tasks.bad-20261210-233005.txt");
  ASSERT_EQ(ReplaceWholeFile(files, list, In("tasks.tmp"), "bad"), kSucceeded);
  ASSERT_EQ(ReplaceWholeFile(files, aside, In("tasks.tmp"), "earlier"), kSucceeded);
  EXPECT_NE(files.MoveToNewName(list, aside), kSucceeded);
  EXPECT_EQ(files.ReadWhole(aside, kTaskListMaxBytes).bytes, "earlier");
  EXPECT_EQ(files.MoveToNewName(list, In("tasks.bad-20261210-233005-2.txt")), kSucceeded);
  EXPECT_FALSE(files.Exists(list));
  EXPECT_EQ(files.ReadWhole(In("tasks.bad-20261210-233005-2.txt"), kTaskListMaxBytes).bytes, "bad");
}

TEST_F(ProfileFilesWin, AFileOpenedForWritingElsewhereIsNotRead) {
  const std::string list = In("tasks.txt");
  ASSERT_EQ(ReplaceWholeFile(files, list, In("tasks.tmp"), "list"), kSucceeded);
  const UniqueFile writer(CreateFileW(ToWide(list).c_str(), GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  const ProfileFiles::Contents read = files.ReadWhole(list, kTaskListMaxBytes);
  EXPECT_EQ(read.outcome, ProfileFiles::Contents::Outcome::Failed);
  EXPECT_EQ(read.error, static_cast<SystemError>(ERROR_SHARING_VIOLATION));
}

TEST_F(ProfileFilesWin, AFileLargerThanAskedForIsNotRead) {
  const std::string list = In("tasks.txt");
  for (const std::size_t size : {kTaskListMaxBytes, kTaskListMaxBytes + 1}) {
    SCOPED_TRACE(size);
    {
      const UniqueFile file(CreateFileW(ToWide(list).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      ASSERT_TRUE(file);
      LARGE_INTEGER end{};
      end.QuadPart = static_cast<LONGLONG>(size);
      ASSERT_TRUE(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN));
      ASSERT_TRUE(SetEndOfFile(file.Get()));
    }
    const ProfileFiles::Contents read = files.ReadWhole(list, kTaskListMaxBytes);
    if (size > kTaskListMaxBytes) {
      EXPECT_EQ(read.outcome, ProfileFiles::Contents::Outcome::TooLarge);
      EXPECT_TRUE(read.bytes.empty());
    } else {
      EXPECT_EQ(read.outcome, ProfileFiles::Contents::Outcome::Read);
      EXPECT_EQ(read.bytes.size(), size);
    }
  }
}

// Another program holds the list at start, sharing nothing but its deletion:
// the list is neither set aside nor written over, and once released it holds
// its tasks and those added meanwhile.
TEST_F(ProfileFilesWin, AListHeldElsewhereAtStartKeepsItsTasks) {
  const std::string list = In("tasks.txt");
  const std::string file =
      "Dusk task list 2\r\nalarm|2030-01-01 08:00:00|文件里的||\r\n"
      "turn-off|2030-01-02 08:00:00|||\r\n";
  ASSERT_EQ(ReplaceWholeFile(files, list, In("tasks.tmp"), file), kSucceeded);
  const Win32Clock clock;
  const Win32SystemMessages messages;
  const Win32TimeZone timeZone;
  BalloonRecorder area;
  Form form("Form1", {0, 0, 780, 550}, Form::Frame::Main);
  TaskListBox box("TaskList", &form, {15, 15, 430, 420});
  TrayIcon tray(area, form, 500);
  tray.AddToTray();
  struct SavedListing {
    SavedListing(ProfileFiles& files, const Win32SystemMessages& messages, TrayIcon& tray,
                 const Win32Clock& clock, const Win32TimeZone& timeZone, TaskListBox& box,
                 const std::string& folder)
        : saved(files, messages, tray, clock, listing, folder),
          listing(box, tray, clock, timeZone, {&saved}) {}
    SavedTaskList saved;
    TaskListing listing;
  } rig(files, messages, tray, clock, timeZone, box, folder);
  const auto setAside = [&] {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(ToWide(In("tasks.bad-*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
  };

  UniqueFile holder(CreateFileW(ToWide(list).c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  const SavedTaskList::LoadReport report = rig.saved.Load();
  EXPECT_EQ(report.text.rfind("无法读取任务列表：", 0), 0u) << report.text;
  EXPECT_FALSE(report.fileSetAside);
  rig.listing.Add({EncodeDateTime({2030, 1, 3, 8, 0, 0, 0}), TaskKind::Alarm, "添加的"});
  EXPECT_FALSE(setAside());
  EXPECT_TRUE(files.Exists(list));

  holder.Reset();
  rig.listing.Add({EncodeDateTime({2030, 1, 4, 8, 0, 0, 0}), TaskKind::Alarm, "放开之后"});
  EXPECT_FALSE(setAside());
  EXPECT_TRUE(area.balloons.empty());
  const ProfileFiles::Contents read = files.ReadWhole(list, kTaskListMaxBytes);
  ASSERT_EQ(read.outcome, ProfileFiles::Contents::Outcome::Read);
  const TaskFileReading reading = ReadTaskFile(read.bytes);
  EXPECT_EQ(reading.outcome, TaskFileReading::Outcome::Whole);
  ASSERT_EQ(reading.tasks.size(), 4u);
  EXPECT_EQ(reading.tasks[0].Param, "文件里的");
  EXPECT_EQ(reading.tasks[3].Param, "放开之后");
}
