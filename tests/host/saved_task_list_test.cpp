#include "storage/saved_task_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "main/program.h"
#include "storage/set_aside.h"
#include "storage/task_file_format.h"
#include "tests/fakes/fake_mirrors.h"
#include "tests/fakes/fake_platform.h"

namespace {

constexpr char kFolder[] = "C:\\Users\\李雷\\AppData\\Roaming\\Dusk";
constexpr char kList[] = "C:\\Users\\李雷\\AppData\\Roaming\\Dusk\\tasks.txt";
constexpr char kTemporary[] = "C:\\Users\\李雷\\AppData\\Roaming\\Dusk\\tasks.tmp";
constexpr char kSetAside[] =
    "C:\\Users\\李雷\\AppData\\Roaming\\Dusk\\tasks.bad-20261210-090000.txt";
constexpr char kSaveFailure[] = "\r\n任务仍在程序中，下次修改任务时会再次保存。";

}  // namespace

// The saved list under a task list, in the fake profile.
struct SavedListRig {
  SavedListRig()
      : platform(At(9, 0, 0)),
        form("Form1", {0, 0, 780, 550}, Form::Frame::Main),
        list("TaskList", &form, {15, 15, 430, 420}),
        tray(platform.notificationArea, form, 500),
        saved(files, platform.messages, tray, platform.clock, listing,
              TaskListFolder(files.RoamingAppDataFolder())),
        listing(list, tray, platform.clock, platform.timeZone, {&saved}) {
    tray.AddToTray();
  }

  const std::vector<FakeNotificationArea::Balloon>& Balloons() {
    return platform.notificationArea.balloons;
  }

  FakePlatform platform;
  FakeProfileFiles& files = platform.profileFiles;
  Form form;
  TaskListBox list;
  TrayIcon tray;
  SavedTaskList saved;
  TaskListing listing;
};

class SavedTaskListTest : public testing::Test, public SavedListRig {};

TEST_F(SavedTaskListTest, EveryChangeWritesTheWholeListFlushedThenMovedIntoPlace) {
  listing.Add({At(10, 0, 0), TaskKind::Alarm, "起床"});
  const std::string first = WriteTaskFile(listing.Queue());
  EXPECT_EQ(files.calls, (std::vector<std::string>{
                             std::string("create folder ") + kFolder,
                             std::string("create ") + kTemporary,
                             "write " + std::to_string(first.size()) + " bytes",
                             "flush",
                             std::string("close ") + kTemporary,
                             std::string("move ") + kTemporary + " > " + kList,
                         }));
  EXPECT_EQ(files.contents, (std::map<std::string, std::string>{{kList, first}}));

  files.calls.clear();
  listing.Add({At(9, 30, 0), TaskKind::TurnOff, ""});
  listing.Reschedule(listing.Queue().Head(), At(11, 0, 0));
  listing.RemoveHead();
  ASSERT_EQ(files.calls.size(), 3u * 5);  // the folder is made once
  EXPECT_EQ(files.contents.at(kList), WriteTaskFile(listing.Queue()));
  EXPECT_TRUE(Balloons().empty());
}

TEST_F(SavedTaskListTest, AFailedStepLeavesTheOldListAndSaysWhyOnceUntilASaveSucceeds) {
  static const char* const kSteps[] = {"create folder", "create", "write", "flush", "move"};
  for (const char* step : kSteps) {
    SCOPED_TRACE(step);
    files.contents = {{kList, "the old list"}};
    platform.notificationArea.balloons.clear();
    files.failing = {{step, 112}};
    listing.Add({At(10, 0, 0), TaskKind::Alarm, step});
    EXPECT_EQ(files.contents, (std::map<std::string, std::string>{{kList, "the old list"}}));
    ASSERT_EQ(Balloons().size(), 1u);
    EXPECT_EQ(Balloons()[0].title, "Lumo定时关机：");
    EXPECT_EQ(Balloons()[0].text, std::string("无法保存任务列表：系统错误112。") + kSaveFailure);

    listing.Add({At(10, 0, 0), TaskKind::OpenWebPage, step});  // fails the same way: no balloon
    files.failing = {{step, 5}};                               // another reason is told
    listing.RemoveHead();
    ASSERT_EQ(Balloons().size(), 2u);
    EXPECT_EQ(Balloons()[1].text, std::string("无法保存任务列表：系统错误5。") + kSaveFailure);

    files.failing.clear();
    listing.RemoveHead();
    EXPECT_EQ(files.contents,
              (std::map<std::string, std::string>{{kList, WriteTaskFile(listing.Queue())}}));
    files.failing = {{"move", 112}};  // after a success the same reason is told again
    listing.RemoveHead();
    EXPECT_EQ(Balloons().size(), 3u);
    files.failing.clear();
    listing.RemoveHead();
    EXPECT_TRUE(listing.Queue().Empty());
  }
}

TEST_F(SavedTaskListTest, LoadingReadsTheListOnceAndWritesNothing) {
  const std::string file =
      "Dusk task list 1\r\n"
      "alarm|2026-12-10 12:00:00|b\r\n"
      "alarm|2026-12-10 10:00:00|a\r\n";
  files.contents = {{kList, file}};
  EXPECT_EQ(saved.Load().text, "");
  EXPECT_EQ(files.calls, std::vector<std::string>{std::string("read ") + kList});
  ASSERT_EQ(listing.Queue().Count(), 2u);
  EXPECT_EQ(listing.Queue().Head().Param, "a");
  EXPECT_EQ(list.Rows().size(), 2u);
  EXPECT_EQ(files.contents.at(kList), file);
}

TEST_F(SavedTaskListTest, NoFileIsAnEmptyList) {
  EXPECT_EQ(saved.Load().text, "");
  EXPECT_TRUE(listing.Queue().Empty());
  EXPECT_TRUE(files.contents.empty());
}

// A valid list of format 2 just over the size a list may have.
std::string AListOfNineMebibytes() {
  std::string file = "Dusk task list 2\r\n";
  const std::string line = "alarm|2026-12-10 10:00:00|" + std::string(1000, 'x') + "||\r\n";
  while (file.size() <= kTaskListMaxBytes + (1u << 20)) file += line;
  return file;
}

TEST_F(SavedTaskListTest, AFileReadAndFoundDamagedIsSetAsideAndWhatWasReadIsSavedAgain) {
  const std::string good = "alarm|2026-12-10 10:00:00|留下\r\n";
  struct Case {
    const char* name;
    std::string file;
    std::size_t tasksRead;
    std::string report;
  };
  const std::string where = std::string("，原文件已保存为 ") + kSetAside;
  const Case kCases[] = {
      {"a bad line", "Dusk task list 1\r\n" + good + "alarm|2026-13-10 10:00:00|坏\r\nrestart\r\n",
       1, "有 2 个任务无法读取" + where},
      {"not a task list", std::string("\x89PNG\r\n\x1A\n\0\0", 10), 0,
       "任务列表文件无法读取" + where},
      {"an empty file", "", 0, "任务列表文件无法读取" + where},
      {"a list over 8 MiB", AListOfNineMebibytes(), 0, "任务列表文件超过 8 MB，无法读取" + where},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    SavedListRig fresh;
    fresh.files.contents = {{kList, c.file}};
    const SavedTaskList::LoadReport report = fresh.saved.Load();
    EXPECT_EQ(report.text, c.report);
    EXPECT_TRUE(report.fileSetAside);
    EXPECT_EQ(fresh.listing.Queue().Count(), c.tasksRead);
    EXPECT_EQ(fresh.files.contents.at(kSetAside), c.file);
    EXPECT_EQ(fresh.files.contents.at(kList), WriteTaskFile(fresh.listing.Queue()));
    EXPECT_TRUE(fresh.Balloons().empty());  // the report is the program's to show
  }
}

TEST_F(SavedTaskListTest, ASetAsideFileIsNeverWrittenOver) {
  const std::string second =
      "C:\\Users\\李雷\\AppData\\Roaming\\Dusk\\tasks.bad-20261210-090000-2.txt";
  files.contents = {{kList, "garbage"}, {kSetAside, "an earlier list"}};
  EXPECT_EQ(saved.Load().text, "任务列表文件无法读取，原文件已保存为 " + second);
  EXPECT_EQ(files.contents.at(kSetAside), "an earlier list");
  EXPECT_EQ(files.contents.at(second), "garbage");
}

TEST_F(SavedTaskListTest, AListThatCannotBeSetAsideIsNotWrittenOver) {
  const std::string file = "Dusk task list 1\r\nalarm|2026-12-10 10:00:00|a\r\nbad\r\n";
  files.contents = {{kList, file}};
  files.failing = {{"move aside", 5}};
  EXPECT_EQ(saved.Load().text, std::string("有 1 个任务无法读取，原文件未能另存，仍在 ") + kList +
                                   "\r\n无法保存任务列表：系统错误5。" + kSaveFailure);
  listing.Add({At(11, 0, 0), TaskKind::Alarm, "b"});
  EXPECT_EQ(files.contents, (std::map<std::string, std::string>{{kList, file}}));
  EXPECT_TRUE(Balloons().empty());  // told already

  files.failing.clear();
  listing.Add({At(12, 0, 0), TaskKind::Alarm, "c"});
  EXPECT_EQ(files.contents.at(kSetAside), file);
  EXPECT_EQ(files.contents.at(kList), WriteTaskFile(listing.Queue()));
  EXPECT_EQ(listing.Queue().Count(), 3u);
}

TEST_F(SavedTaskListTest, AReadThatFailsIsTriedAgainForAboutTwoSeconds) {
  const std::string file = "Dusk task list 2\r\nalarm|2026-12-10 10:00:00|a||\r\n";
  struct Case {
    int failedReads;
    bool read;
  };
  static constexpr Case kCases[] = {
      {0, true}, {1, true}, {kReadTries - 1, true}, {kReadTries, false}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.failedReads);
    SavedListRig fresh;
    fresh.files.contents = {{kList, file}};
    fresh.files.failedReads = c.failedReads;
    const DateTime start = fresh.platform.clock.Now();
    const std::string report = fresh.saved.Load().text;
    EXPECT_EQ(report.empty(), c.read);
    EXPECT_EQ(fresh.listing.Queue().Count(), c.read ? 1u : 0u);
    const int tries = std::min(c.failedReads + 1, kReadTries);
    EXPECT_EQ(fresh.files.calls, std::vector<std::string>(tries, std::string("read ") + kList));
    // The waits between the tries go by the clock, and stop at the bound.
    EXPECT_EQ(fresh.platform.clock.pauses, std::vector<unsigned>(tries - 1, kReadRetryPauseMs));
    EXPECT_LE(WholeSecondsApart(fresh.platform.clock.Now(), start), 2);
    EXPECT_EQ(fresh.files.contents, (std::map<std::string, std::string>{{kList, file}}));
  }
}

// Held by another program at start, the list is neither set aside nor written
// over: its tasks and those added meanwhile are all saved once it can be read.
TEST_F(SavedTaskListTest, AListThatCannotBeReadIsLeftAloneAndReadAgainAtTheNextChange) {
  const std::string file = "Dusk task list 2\r\nalarm|2026-12-10 10:00:00|在文件里||\r\n";
  files.contents = {{kList, file}};
  files.failedReads = 1000;
  const SavedTaskList::LoadReport report = saved.Load();
  EXPECT_EQ(report.text,
            "无法读取任务列表：系统错误32。\r\n"
            "原文件保持不变，任务暂存在程序中，下次修改任务时会再次读取。");
  EXPECT_FALSE(report.fileSetAside);

  files.calls.clear();
  listing.Add({At(11, 0, 0), TaskKind::Alarm, "添加的"});
  EXPECT_EQ(files.calls, std::vector<std::string>{std::string("read ") + kList});  // once
  EXPECT_EQ(files.contents, (std::map<std::string, std::string>{{kList, file}}));
  EXPECT_TRUE(Balloons().empty());  // told at start
  EXPECT_FALSE(saved.SaveIfBehind(listing.Queue()));

  files.readFailure = 5;  // another reason is told
  listing.Add({At(12, 0, 0), TaskKind::Alarm, "又一个"});
  ASSERT_EQ(Balloons().size(), 1u);
  EXPECT_EQ(Balloons()[0].text,
            "无法读取任务列表：系统错误5。\r\n"
            "原文件保持不变，任务暂存在程序中，下次修改任务时会再次读取。");
  EXPECT_EQ(files.contents, (std::map<std::string, std::string>{{kList, file}}));

  files.failedReads = 0;  // released
  listing.Add({At(13, 0, 0), TaskKind::Alarm, "第三个"});
  ASSERT_EQ(listing.Queue().Count(), 4u);
  EXPECT_EQ(listing.Queue().Head().Param, "在文件里");
  EXPECT_EQ(files.contents,
            (std::map<std::string, std::string>{{kList, WriteTaskFile(listing.Queue())}}));
  EXPECT_EQ(Balloons().size(), 1u);
  EXPECT_TRUE(saved.SaveIfBehind(listing.Queue()));

  // From here on the file is the program's, as after any start.
  listing.RemoveHead();
  EXPECT_EQ(files.contents.at(kList), WriteTaskFile(listing.Queue()));
}

TEST_F(SavedTaskListTest, AListLeftAloneThatIsFoundDamagedLaterIsSetAsideThen) {
  const std::string file = "Dusk task list 2\r\nalarm|2026-12-10 10:00:00|好||\r\n坏\r\n";
  files.contents = {{kList, file}};
  files.failedReads = kReadTries;
  ASSERT_FALSE(saved.Load().text.empty());
  // Two seconds of tries went by.
  const std::string aside =
      "C:\\Users\\李雷\\AppData\\Roaming\\Dusk\\tasks.bad-20261210-090002.txt";
  listing.Add({At(11, 0, 0), TaskKind::Alarm, "添加的"});
  ASSERT_EQ(Balloons().size(), 1u);
  EXPECT_EQ(Balloons()[0].text, "有 1 个任务无法读取，原文件已保存为 " + aside);
  EXPECT_EQ(files.contents.at(aside), file);
  EXPECT_EQ(listing.Queue().Count(), 2u);
  EXPECT_EQ(files.contents.at(kList), WriteTaskFile(listing.Queue()));
}

// A newer version's list may hold what this one would drop: it is never
// written over in this run, whatever the user does here; once the user has
// removed it, the list is saved again.
TEST_F(SavedTaskListTest, ANewerVersionsListIsNeverWrittenOver) {
  const std::string file =
      "Dusk task list 5\r\nalarm|2026-12-10 10:00:00|新格式|||more\r\n\r\nturn-off|x\r\n";
  files.contents = {{kList, file}};
  const SavedTaskList::LoadReport report = saved.Load();
  EXPECT_EQ(report.text,
            "任务列表由更高版本的程序保存，其中 2 个任务无法读取。\r\n"
            "原文件保持不变，新的任务只保存在程序中。");
  EXPECT_FALSE(report.fileSetAside);
  EXPECT_TRUE(listing.Queue().Empty());
  EXPECT_TRUE(saved.SaveIfBehind(listing.Queue()));  // nothing of this run to lose

  listing.Add({At(11, 0, 0), TaskKind::Alarm, "一"});
  listing.Add({At(12, 0, 0), TaskKind::TurnOff, ""});
  listing.RemoveHead();
  listing.Add({At(13, 0, 0), TaskKind::OpenWebPage, "http://x.invalid/"});
  EXPECT_FALSE(saved.SaveIfBehind(listing.Queue()));
  EXPECT_EQ(files.contents, (std::map<std::string, std::string>{{kList, file}}));
  EXPECT_TRUE(Balloons().empty());  // told at start

  ASSERT_EQ(files.Delete(kList), kSucceeded);
  listing.RemoveHead();
  EXPECT_EQ(files.contents,
            (std::map<std::string, std::string>{{kList, WriteTaskFile(listing.Queue())}}));
}

TEST(SavedTaskListFolder, IsDuskInTheRoamingProfile) {
  EXPECT_EQ(TaskListFolder("C:\\Users\\a\\AppData\\Roaming"),
            "C:\\Users\\a\\AppData\\Roaming\\Dusk");
  EXPECT_EQ(TaskListFolder(""), "");
  EXPECT_EQ(SetAsideFileName("tasks", {2027, 1, 2, 3, 4, 5, 678}, 1),
            "tasks.bad-20270102-030405.txt");
  EXPECT_EQ(SetAsideFileName("tasks", {2027, 1, 2, 3, 4, 5, 678}, 7),
            "tasks.bad-20270102-030405-7.txt");
}

// The whole program on the fake platform, started on a saved list.
TEST(SavedTaskListProgram, TheListOutlivesTheProgram) {
  FakePlatform platform(At(14, 0, 0));
  {
    Program program(platform.Set(), kTestUpdateHost);
    program.Start();
    TForm1& f = program.Form1;
    for (const char* text : {"一", "二|\r\n三", "四"}) {
      f.RadioGroup1.UserSelect(1);
      f.bsSkinSpinEdit1.UserSetValue(5);
      f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::Alarm));
      f.EditInfo.UserEdit(text);
      f.ButtonAdd.UserClick();
      platform.clock.AdvanceSeconds(1);
    }
    ASSERT_EQ(f.TaskList.Rows().size(), 3u);
  }
  Program again(platform.Set(), kTestUpdateHost);
  again.Start();
  const auto& rows = again.Form1.TaskList.Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].caption, "闹钟：一\r\n2026/12/10 14:05:00");
  EXPECT_EQ(rows[1].caption, "闹钟：二|\r\n三\r\n2026/12/10 14:05:01");
  EXPECT_EQ(rows[2].caption, "闹钟：四\r\n2026/12/10 14:05:02");
}

TEST(SavedTaskListProgram, TasksFoundLateAtStartAreTreatedAsAfterASleep) {
  FakePlatform platform(At(14, 0, 0));
  platform.profileFiles.contents[kList] =
      "Dusk task list 1\r\n"
      "open-web-page|2026-12-10 13:50:00|http://missed.invalid/\r\n"
      "turn-off|2026-12-10 13:59:20|\r\n"
      "alarm|2026-12-10 13:59:30|on time, nearly\r\n"
      "alarm|2026-12-10 14:30:00|later\r\n"
      "alarm|someday|\r\n";
  RecordingTaskActions actions(platform.clock);
  Program program(platform.Set(), kTestUpdateHost, actions);
  program.Start();
  EXPECT_EQ(program.Form1.TaskList.Rows().size(), 4u);
  EXPECT_TRUE(platform.notificationArea.balloons.empty());

  platform.clock.AdvanceSeconds(1);
  program.Form1.TimerNow.Fire();
  ASSERT_EQ(actions.performed.size(), 1u);
  EXPECT_EQ(actions.performed[0].param, "on time, nearly");
  ASSERT_EQ(actions.warned.size(), 1u);  // the shut-down, moved to half a minute from now
  EXPECT_EQ(actions.warned[0].kind, TaskKind::TurnOff);
  // Below the missed task, in the balloon that shows it.
  ASSERT_FALSE(platform.notificationArea.balloons.empty());
  EXPECT_EQ(platform.notificationArea.balloons.back().text,
            "错过的任务：打开网页：http://missed.invalid/\r\n2026/12/10 13:50:00\r\n"
            "有 1 个任务无法读取，原文件已保存为 C:\\Users\\李雷\\AppData\\Roaming\\Dusk\\"
            "tasks.bad-20261210-140000.txt");
  EXPECT_EQ(platform.profileFiles.contents.at(kList),
            "Dusk task list 4\r\n"
            "turn-off|2026-12-10 14:00:31||||2\r\n"
            "alarm|2026-12-10 14:30:00|later|||4\r\n");
}

// The list's window is filled once at start, not once per saved row: a long
// list would otherwise cost the square of its length in window messages.
TEST(SavedTaskListProgram, ALongListFillsTheWindowOnce) {
  const auto windowChangesAtStart = [](int taskCount) {
    FakePlatform platform(At(14, 0, 0));
    std::string file = "Dusk task list 1\r\n";
    for (int i = 0; i < taskCount; ++i) {
      file += "alarm|2026-12-11 " + std::string(i < 600 ? "10" : "11") + ":" +
              std::to_string(10 + i % 60 / 6) + ":0" + std::to_string(i % 6) + "|提醒\r\n";
    }
    platform.profileFiles.contents[kList] = file;
    FakeMirrorFactory windows;
    PlatformSet set = platform.Set();
    set.mirrors = &windows;
    Program program(set, kTestUpdateHost);
    program.Start();
    EXPECT_EQ(program.Form1.TaskList.Rows().size(), static_cast<std::size_t>(taskCount));
    return windows.nativeChanges;
  };
  EXPECT_EQ(windowChangesAtStart(1000), windowChangesAtStart(1));
}

// A copy started under another name hands over to the program under the fixed
// name on its first tick: what its load found goes along, shown by the program
// that runs on. A file left alone is read again by that one, and told once.
TEST(SavedTaskListProgram, TheLoadReportSurvivesARelocation) {
  struct Case {
    const char* name;
    std::string file;
    int failedReads;
    std::string balloon;
  };
  const Case kCases[] = {
      {"damaged", "Dusk task list 2\r\nalarm|2026-12-10 15:00:00|留下||\r\n坏\r\n", 0,
       "有 1 个任务无法读取，原文件已保存为 C:\\Users\\李雷\\AppData\\Roaming\\Dusk\\"
       "tasks.bad-20261210-140000.txt"},
      {"held elsewhere", "Dusk task list 2\r\n", 1000,
       "无法读取任务列表：系统错误32。\r\n"
       "原文件保持不变，任务暂存在程序中，下次修改任务时会再次读取。"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    FakePlatform platform(At(14, 0, 0));
    const std::string folder = "C:\\Program Files\\Dusk\\";
    platform.files.programFilePath = folder + "Dusk (1).exe";
    platform.files.contents[platform.files.programFilePath] = "this program";
    platform.profileFiles.contents[kList] = c.file;
    platform.profileFiles.failedReads = c.failedReads;
    {
      Program relocating(platform.Set(), kTestUpdateHost);
      relocating.Start();
      platform.clock.AdvanceSeconds(1);
      relocating.Form1.TimerNow.Fire();
      ASSERT_EQ(platform.shell.launches.size(), 1u);
      EXPECT_TRUE(platform.notificationArea.balloons.empty());
    }
    platform.files.programFilePath = folder + "Dusk.exe";
    Program successor(platform.Set(), kTestUpdateHost);
    successor.Start(ParseStartArguments(platform.shell.launches[0].parameters.value_or("")));
    platform.clock.AdvanceSeconds(1);
    successor.Form1.TimerNow.Fire();
    ASSERT_EQ(platform.notificationArea.balloons.size(), 1u);
    EXPECT_EQ(platform.notificationArea.balloons[0].text, c.balloon);
  }
}
