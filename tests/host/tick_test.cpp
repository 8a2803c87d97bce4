#include "scheduler/tick.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/fakes/fake_platform.h"
#include "triggers/program_end_watch.h"

TEST(HeadlinePrefix, FollowsTheDistanceRanges) {
  struct Case {
    std::int64_t seconds;
    const char* prefix;
  };
  static const Case kCases[] = {
      {0, "0秒后"},           {45, "45秒后"},         {60, "60秒后"},
      {61, "1分钟后"},        {3599, "59分钟后"},     {3600, "1小时0分钟后"},
      {3601, "1小时0分钟后"}, {3660, "1小时1分钟后"}, {25 * 3600, "25小时0分钟后"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(HeadlinePrefix(c.seconds), c.prefix);
  }
}

TEST(JudgeHead, PerformsInTheDueSecondAndCatchesUpAtMostAMinuteLate) {
  const DateTime due = At(10, 0, 0);
  const auto s = [](double seconds) { return seconds / kSecondsPerDay; };
  struct Case {
    double nowOffset;  // seconds from the due moment
    HeadVerdict verdict;
  };
  static const Case kCases[] = {
      {-31.0, HeadVerdict::Wait},       {-30.5, HeadVerdict::Warn},
      {-30.0, HeadVerdict::Warn},       {-29.9, HeadVerdict::Wait},
      {-0.9, HeadVerdict::Perform},     {0.0, HeadVerdict::Perform},
      {0.9, HeadVerdict::Perform},      {1.0, HeadVerdict::PerformLate},
      {30.0, HeadVerdict::PerformLate}, {60.9, HeadVerdict::PerformLate},
      {61.0, HeadVerdict::Drop},        {86400.0, HeadVerdict::Drop},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nowOffset);
    EXPECT_EQ(JudgeHead(due, due + s(c.nowOffset)), c.verdict);
  }
}

class DueTaskRunnerTest : public testing::Test {
 protected:
  DueTaskRunnerTest()
      : platform(At(9, 0, 0)),
        form("Form1", {0, 0, 780, 550}, Form::Frame::Main),
        title("Title", &form, {10, 10, 0, 34}),
        list("TaskList", &form, {15, 15, 430, 420}),
        tray(platform.notificationArea, form, 500),
        listing(list, tray, platform.clock, platform.timeZone),
        programEnd(platform.processes, listing, platform.timeZone),
        actions(platform.clock),
        runner(listing, programEnd, actions, title, tray, platform.clock) {
    tray.AddToTray();
  }

  void Add(TaskKind kind, DateTime when, std::string param = "") {
    listing.Add(Task{when, kind, std::move(param)});
  }
  void TickAt(DateTime now) {
    platform.clock.Set(now);
    runner.Run(now);
  }

  FakePlatform platform;
  Form form;
  Label title;
  TaskListBox list;
  TrayIcon tray;
  TaskListing listing;
  ProgramEndWatch programEnd;
  RecordingTaskActions actions;
  DueTaskRunner runner;
};

TEST_F(DueTaskRunnerTest, EmptyQueueSaysSoAndTheDueTickKeepsItsHeadline) {
  TickAt(At(9, 0, 0));
  EXPECT_EQ(title.Text(), "你还没有添加定时任务。     ");

  Add(TaskKind::TurnOff, At(9, 0, 30));
  TickAt(At(9, 0, 0));
  EXPECT_EQ(title.Text(), "30秒后关机。     ");
  ASSERT_EQ(actions.warned.size(), 1u);

  TickAt(At(9, 0, 30));
  EXPECT_EQ(title.Text(), "0秒后关机。     ");
  ASSERT_EQ(actions.performed.size(), 1u);
  EXPECT_TRUE(listing.Queue().Empty());

  TickAt(At(9, 0, 31));
  EXPECT_EQ(title.Text(), "你还没有添加定时任务。     ");
  EXPECT_EQ(actions.performed.size(), 1u);
}

TEST_F(DueTaskRunnerTest, PerformsEveryTaskDueInTheSameSecondInQueueOrder) {
  Add(TaskKind::OpenWebPage, At(9, 1, 0), "http://b");
  Add(TaskKind::Alarm, At(9, 1, 0), "a");
  Add(TaskKind::LogOff, At(9, 5, 0));
  TickAt(At(9, 1, 0));
  ASSERT_EQ(actions.performed.size(), 2u);
  EXPECT_EQ(listing.Queue().Count(), 1u);
  EXPECT_EQ(listing.Queue().Head().Kind, TaskKind::LogOff);
  EXPECT_EQ(platform.notificationArea.tip, "注销：2026/12/10 9:05:00");
}

TEST_F(DueTaskRunnerTest, CatchesUpAfterAGapAndDropsWhatIsTooLate) {
  Add(TaskKind::OpenProgram, At(8, 0, 0), "C:\\x.exe");  // two hours late: dropped
  Add(TaskKind::Alarm, At(9, 59, 20), "tea");            // 40 s late: performed
  Add(TaskKind::OpenWebPage, At(10, 0, 0), "http://x");  // due now
  Add(TaskKind::Restart, At(10, 0, 30));                 // warned
  TickAt(At(10, 0, 0));

  ASSERT_EQ(actions.performed.size(), 2u);
  EXPECT_EQ(actions.performed[0].kind, TaskKind::Alarm);
  EXPECT_EQ(actions.performed[1].kind, TaskKind::OpenWebPage);
  ASSERT_EQ(platform.notificationArea.balloons.size(), 1u);
  EXPECT_EQ(platform.notificationArea.balloons[0].title, "Lumo定时关机：");
  EXPECT_EQ(platform.notificationArea.balloons[0].text,
            "错过的任务：打开软件：C:\\x.exe\r\n2026/12/10 8:00:00");
  // The headline stays on the task performed in its own second.
  EXPECT_EQ(title.Text(), "0秒后打开网页。   ");
  ASSERT_EQ(actions.warned.size(), 1u);
  EXPECT_EQ(actions.warned[0].kind, TaskKind::Restart);
  EXPECT_EQ(listing.Queue().Count(), 1u);

  TickAt(At(10, 0, 1));
  EXPECT_EQ(title.Text(), "29秒后重启电脑。     ");
}

TEST_F(DueTaskRunnerTest, APowerTaskFoundLateIsWarnedOfAndPerformedHalfAMinuteLater) {
  // Its due second went by unseen, a few seconds ago.
  for (const DateTime due : {At(9, 0, 0), At(8, 59, 30)}) {
    SCOPED_TRACE(due);
    actions.warned.clear();
    actions.performed.clear();
    Add(TaskKind::TurnOff, due);
    TickAt(At(9, 0, 30));
    EXPECT_EQ(actions.warned.size(), 1u);
    EXPECT_TRUE(actions.performed.empty());
    EXPECT_EQ(title.Text(), "30秒后关机。     ");
    EXPECT_EQ(platform.notificationArea.tip, "还有不到1分钟关机\r\n关机：2026/12/10 9:01:00");
    TickAt(At(9, 0, 31));
    TickAt(At(9, 0, 59));
    EXPECT_EQ(actions.warned.size(), 1u);
    EXPECT_TRUE(actions.performed.empty());
    TickAt(At(9, 1, 0));
    EXPECT_EQ(actions.performed.size(), 1u);
    EXPECT_TRUE(platform.notificationArea.balloons.empty());
    platform.clock.Set(At(9, 0, 0));
  }
}

TEST_F(DueTaskRunnerTest, APowerTaskMoreThanAMinuteLateIsMissed) {
  // Hours late, the user is at work again: no warning, no shut-down.
  Add(TaskKind::Restart, At(8, 59, 29));
  Add(TaskKind::Sleep, At(7, 0, 0));
  TickAt(At(9, 0, 30));
  EXPECT_TRUE(actions.warned.empty());
  EXPECT_TRUE(actions.performed.empty());
  EXPECT_TRUE(listing.Queue().Empty());
  ASSERT_EQ(platform.notificationArea.balloons.size(), 1u);
  EXPECT_EQ(platform.notificationArea.balloons[0].text,
            "错过的2个任务：\r\n睡眠：2026/12/10 7:00:00\r\n重启电脑：2026/12/10 8:59:29");
}

TEST_F(DueTaskRunnerTest, ATaskDatedAfterTheWaitingMomentIsStillCountedDownTo) {
  Task waiting{kWaitingMoment, TaskKind::TurnOff};
  waiting.AfterProgram.SetLabel("notepad.exe");
  waiting.Id = listing.Add(waiting);
  const DateTime last = At(23, 0, 0, 31, 12, 9999);
  Add(TaskKind::Alarm, last, "最后");
  ASSERT_EQ(listing.Queue().Head(), waiting);
  TickAt(last - 30.0 / kSecondsPerDay);
  EXPECT_EQ(actions.warned.size(), 1u);
  TickAt(last);
  ASSERT_EQ(actions.performed.size(), 1u);
  EXPECT_EQ(actions.performed[0].param, "最后");
  EXPECT_EQ(listing.Queue().Count(), 1u);
}

TEST_F(DueTaskRunnerTest, AClockSetBackPerformsNothingTwice) {
  Add(TaskKind::Alarm, At(9, 0, 10), "x");
  TickAt(At(9, 0, 10));
  TickAt(At(8, 0, 10));
  TickAt(At(9, 0, 10));
  EXPECT_EQ(actions.performed.size(), 1u);
}

TEST_F(DueTaskRunnerTest, TheTaskLeavesTheListBeforeItsActionInWhichTheUserMayEditIt) {
  // The action runs a message loop (a shell error box) while the user edits the list.
  struct Meddling : TaskActions {
    std::function<void()> meanwhile;
    std::vector<TaskKind> performed;
    void WarnTaskDue(const Task&) override {}
    std::optional<std::string> PerformTask(const Task& task) override {
      performed.push_back(task.Kind);
      if (const auto edit = std::exchange(meanwhile, nullptr)) edit();
      return std::nullopt;
    }
  } meddling;
  DueTaskRunner meddled(listing, programEnd, meddling, title, tray, platform.clock);
  const auto tickAt = [&](DateTime now) {
    platform.clock.Set(now);
    meddled.Run(now);
  };

  // The task being performed is gone from the rows: the user deletes the row they see.
  Add(TaskKind::OpenProgram, At(9, 0, 10), "C:\\gone.exe");
  Add(TaskKind::LogOff, At(9, 5, 0));
  std::vector<std::string> rowsDuringAction;
  meddling.meanwhile = [&] {
    for (const auto& row : list.Rows()) rowsDuringAction.push_back(row.caption);
    list.UserSelect(0);
    listing.RemoveSelected();
  };
  tickAt(At(9, 0, 10));
  EXPECT_EQ(rowsDuringAction, std::vector<std::string>{"注销：2026/12/10 9:05:00"});
  EXPECT_TRUE(listing.Queue().Empty());

  // A task entered for this very second sorts before the one being performed.
  Add(TaskKind::OpenProgram, At(9, 10, 0) + 0.5 / kSecondsPerDay, "C:\\gone.exe");
  meddling.meanwhile = [&] { Add(TaskKind::Alarm, At(9, 10, 0), "now"); };
  tickAt(At(9, 10, 0) + 0.2 / kSecondsPerDay);
  EXPECT_EQ(meddling.performed,
            (std::vector<TaskKind>{TaskKind::OpenProgram, TaskKind::OpenProgram, TaskKind::Alarm}));
  EXPECT_TRUE(listing.Queue().Empty());
}

TEST_F(DueTaskRunnerTest, TheTasksDroppedAreNamedBelowABalloonOfTheSameTick) {
  // The actions put up balloons of their own: a warning, an alarm.
  struct Announcing : TaskActions {
    TrayIcon* tray = nullptr;
    void WarnTaskDue(const Task&) override { tray->ShowBalloonHint("Lumo定时关机：", "30秒后"); }
    std::optional<std::string> PerformTask(const Task& task) override {
      tray->ShowBalloonHint("设定的时间到了：", task.Param);
      return std::nullopt;
    }
  } announcing;
  announcing.tray = &tray;
  DueTaskRunner announced(listing, programEnd, announcing, title, tray, platform.clock);
  const auto& balloons = platform.notificationArea.balloons;

  Add(TaskKind::OpenWebPage, At(7, 0, 0), "http://x");
  Add(TaskKind::TurnOff, At(9, 0, 30));
  announced.Run(At(9, 0, 0));
  ASSERT_FALSE(balloons.empty());
  EXPECT_EQ(balloons.back().title, "Lumo定时关机：");
  EXPECT_EQ(balloons.back().text, "30秒后\r\n错过的任务：打开网页：http://x\r\n2026/12/10 7:00:00");

  listing.RemoveHead();
  Add(TaskKind::OpenWebPage, At(7, 0, 0), "http://x");
  Add(TaskKind::Alarm, At(9, 0, 10), "tea");
  announced.Run(At(9, 0, 10));
  EXPECT_EQ(balloons.back().title, "设定的时间到了：");
  EXPECT_EQ(balloons.back().text, "tea\r\n错过的任务：打开网页：http://x\r\n2026/12/10 7:00:00");

  // Alone in its tick, the balloon names the dropped task only.
  Add(TaskKind::OpenWebPage, At(7, 0, 0), "http://x");
  announced.Run(At(9, 0, 20));
  EXPECT_EQ(balloons.back().title, "Lumo定时关机：");
  EXPECT_EQ(balloons.back().text, "错过的任务：打开网页：http://x\r\n2026/12/10 7:00:00");
}

// A series goes back into the queue at its next occurrence after each one
// performed or missed; the row shows the series and its next moment.
class RepeatingTaskTest : public DueTaskRunnerTest {
 protected:
  void AddDaily(TaskKind kind, DateTime when, std::string param = "") {
    listing.Add(Task{when, kind, std::move(param), {RepeatKind::Daily, when}});
  }
};

TEST_F(RepeatingTaskTest, APerformedOccurrenceComesBackTheNextDay) {
  AddDaily(TaskKind::Alarm, At(9, 0, 10), "喝水");
  TickAt(At(9, 0, 10));
  ASSERT_EQ(actions.performed.size(), 1u);
  ASSERT_EQ(listing.Queue().Count(), 1u);
  EXPECT_EQ(listing.Queue().Head().When, At(9, 0, 10, 11));
  EXPECT_EQ(list.Rows()[0].caption, "闹钟：每天 9:00:10 喝水\r\n2026/12/11 9:00:10");
  EXPECT_EQ(platform.notificationArea.tip, list.Rows()[0].caption);
  TickAt(At(9, 0, 11));
  TickAt(At(9, 0, 10, 11));
  EXPECT_EQ(actions.performed.size(), 2u);
}

TEST_F(RepeatingTaskTest, ThreeDaysMissedAreOneBalloonAndOneNextOccurrence) {
  AddDaily(TaskKind::Alarm, At(9, 0, 30), "喝水");
  TickAt(At(12, 0, 0, 13));
  EXPECT_TRUE(actions.performed.empty());
  ASSERT_EQ(platform.notificationArea.balloons.size(), 1u);
  EXPECT_EQ(platform.notificationArea.balloons[0].text,
            "错过的任务：闹钟：每天 9:00:30 喝水\r\n2026/12/10 9:00:30");
  ASSERT_EQ(listing.Queue().Count(), 1u);
  EXPECT_EQ(listing.Queue().Head().When, At(9, 0, 30, 14));
}

TEST_F(RepeatingTaskTest, APostponedOccurrenceLeavesTheSeriesAtItsTime) {
  AddDaily(TaskKind::OpenWebPage, At(9, 0, 10), "http://x");
  listing.Reschedule(listing.Queue().Head(), At(9, 40, 0));
  TickAt(At(9, 40, 0));
  ASSERT_EQ(actions.performed.size(), 1u);
  EXPECT_EQ(listing.Queue().Head().When, At(9, 0, 10, 11));
}

TEST_F(RepeatingTaskTest, DeletingTheRowEndsTheSeries) {
  AddDaily(TaskKind::Lock, At(9, 0, 10));
  list.UserSelect(0);
  listing.RemoveSelected();
  TickAt(At(9, 0, 10));
  TickAt(At(9, 0, 10, 11));
  EXPECT_TRUE(actions.performed.empty());
  EXPECT_TRUE(listing.Queue().Empty());
}

// The fake zone goes forward an hour at 02:00 on 2027-03-28 and back an hour
// at 03:00 on 2027-10-31, as the system's rules would have it.
TEST_F(RepeatingTaskTest, RunsOnceOnEachDayOfAClockChange) {
  const auto on = [](int month, int day, int hour, int minute, int second = 0) {
    return At(hour, minute, second, day, month, 2027);
  };
  // The wall clock jumps from 01:59:59 to 03:00:00: 02:30 runs at 03:00.
  AddDaily(TaskKind::Alarm, on(3, 27, 2, 30), "a");
  TickAt(on(3, 27, 2, 30));
  EXPECT_EQ(listing.Queue().Head().When, on(3, 28, 3, 0));
  TickAt(on(3, 28, 1, 59, 59));
  TickAt(on(3, 28, 3, 0));
  ASSERT_EQ(actions.performed.size(), 2u);
  EXPECT_EQ(actions.performed[1].at, on(3, 28, 3, 0));
  EXPECT_EQ(listing.Queue().Head().When, on(3, 29, 2, 30));
  listing.RemoveHead();

  // 02:30 comes twice: it runs at the first, and the series waits for tomorrow.
  AddDaily(TaskKind::Alarm, on(10, 31, 2, 30), "b");
  actions.performed.clear();
  TickAt(on(10, 31, 2, 30));
  TickAt(on(10, 31, 2, 59, 59));
  TickAt(on(10, 31, 2, 0));  // back to 02:00
  TickAt(on(10, 31, 2, 30));
  TickAt(on(10, 31, 2, 30, 1));
  EXPECT_EQ(actions.performed.size(), 1u);
  EXPECT_EQ(listing.Queue().Head().When, on(11, 1, 2, 30));
}
