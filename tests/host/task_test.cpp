#include <gtest/gtest.h>

#include "scheduler/task_listing.h"
#include "tests/fakes/fake_platform.h"

namespace {

Task MakeTask(TaskKind kind, DateTime when, std::string param = "",
              RepeatKind repeat = RepeatKind::None) {
  return Task{when, kind, std::move(param),
              repeat == RepeatKind::None ? TaskRepeat{} : TaskRepeat{repeat, when}};
}

}  // namespace

TEST(TaskRowCaption, WritesEachKindWithItsMoment) {
  const FakeClock clock(0);
  struct Case {
    TaskKind kind;
    const char* param;
    DateTime when;
    const char* caption;
    RepeatKind repeat = RepeatKind::None;
  };
  static const Case kCases[] = {
      {TaskKind::TurnOff, "", At(22, 30, 0), "关机：2026/12/10 22:30:00"},
      {TaskKind::Restart, "", At(0, 0, 0), "重启电脑：2026/12/10"},
      {TaskKind::LogOff, "", At(8, 0, 5), "注销：2026/12/10 8:00:05"},
      {TaskKind::Alarm, "开会", At(9, 0, 0), "闹钟：开会\r\n2026/12/10 9:00:00"},
      {TaskKind::Alarm, "", At(0, 0, 0), "闹钟：\r\n2026/12/10"},
      {TaskKind::OpenProgram, "C:\\a b\\c.exe", At(9, 0, 0),
       "打开软件：C:\\a b\\c.exe\r\n2026/12/10 9:00:00"},
      {TaskKind::CloseProgram, "qq.exe", At(9, 0, 0), "关闭软件：qq.exe\r\n2026/12/10 9:00:00"},
      {TaskKind::OpenWebPage, "http://", At(0, 0, 0), "打开网页：http://\r\n2026/12/10"},
      {TaskKind::Sleep, "", At(23, 0, 0), "睡眠：2026/12/10 23:00:00"},
      {TaskKind::Lock, "", At(12, 30, 0), "锁定：2026/12/10 12:30:00"},
      // A series: what repeats on the first line, the next moment below.
      {TaskKind::TurnOff, "", At(23, 30, 0), "关机：每天 23:30\r\n2026/12/10 23:30:00",
       RepeatKind::Daily},
      {TaskKind::Lock, "", At(12, 30, 0), "锁定：每周四 12:30\r\n2026/12/10 12:30:00",
       RepeatKind::Weekly},
      {TaskKind::Alarm, "开会", At(9, 0, 0), "闹钟：工作日 9:00 开会\r\n2026/12/10 9:00:00",
       RepeatKind::Weekdays},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(TaskRowCaption(MakeTask(c.kind, c.when, c.param, c.repeat), clock), c.caption);
  }
}

TEST(CompareTasksByWhen, TellsApartOnlyMomentsAMillisecondApart) {
  const double ms = 1.0 / 86'400'000.0;
  const Task a = MakeTask(TaskKind::TurnOff, At(10, 0, 0));
  EXPECT_EQ(CompareTasksByWhen(a, MakeTask(TaskKind::Alarm, At(10, 0, 0) + 0.5 * ms)), 0);
  EXPECT_LT(CompareTasksByWhen(a, MakeTask(TaskKind::Alarm, At(10, 0, 0) + 2 * ms)), 0);
  EXPECT_GT(CompareTasksByWhen(MakeTask(TaskKind::Alarm, At(10, 0, 1)), a), 0);
}

class TaskListingTest : public testing::Test {
 protected:
  TaskListingTest()
      : platform(At(9, 0, 0)),
        form("Form1", {0, 0, 780, 550}, Form::Frame::Main),
        list("TaskList", &form, {15, 15, 430, 420}),
        tray(platform.notificationArea, form, 500),
        listing(list, tray, platform.clock, platform.timeZone) {
    tray.AddToTray();
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const auto& row : list.Rows()) captions.push_back(row.caption);
    return captions;
  }

  FakePlatform platform;
  Form form;
  TaskListBox list;
  TrayIcon tray;
  TaskListing listing;
};

TEST_F(TaskListingTest, KeepsRowsInDueOrderWithTheHeadAsTrayHint) {
  listing.Add(MakeTask(TaskKind::TurnOff, At(10, 5, 0)));
  EXPECT_EQ(platform.notificationArea.tip, "关机：2026/12/10 10:05:00");
  listing.Add(MakeTask(TaskKind::Restart, At(10, 1, 0)));
  listing.Add(MakeTask(TaskKind::OpenWebPage, At(10, 3, 0), "http://a"));

  EXPECT_EQ(Captions(), (std::vector<std::string>{"重启电脑：2026/12/10 10:01:00",
                                                  "打开网页：http://a\r\n2026/12/10 10:03:00",
                                                  "关机：2026/12/10 10:05:00"}));
  EXPECT_EQ(list.Rows()[1].imageIndex, static_cast<int>(TaskKind::OpenWebPage));
  EXPECT_EQ(platform.notificationArea.tip, "重启电脑：2026/12/10 10:01:00");

  listing.RemoveHead();
  EXPECT_EQ(platform.notificationArea.tip, "打开网页：http://a\r\n2026/12/10 10:03:00");
  EXPECT_EQ(listing.Queue().Count(), 2u);
}

TEST_F(TaskListingTest, DeletesTheSelectedRowOnly) {
  listing.Add(MakeTask(TaskKind::TurnOff, At(10, 1, 0)));
  listing.Add(MakeTask(TaskKind::LogOff, At(10, 2, 0)));

  listing.RemoveSelected();  // nothing selected
  EXPECT_EQ(list.Rows().size(), 2u);

  list.UserSelect(0);
  listing.RemoveSelected();
  EXPECT_EQ(Captions(), std::vector<std::string>{"注销：2026/12/10 10:02:00"});
  EXPECT_EQ(platform.notificationArea.tip, "注销：2026/12/10 10:02:00");

  // The last row goes; the hint keeps the deleted task's caption.
  list.UserSelect(0);
  listing.RemoveSelected();
  EXPECT_TRUE(list.Rows().empty());
  EXPECT_TRUE(listing.Queue().Empty());
  EXPECT_EQ(platform.notificationArea.tip, "注销：2026/12/10 10:02:00");
}

// Whoever keeps the queue elsewhere (the saved list, the wake timer) hears of
// each change once, after the rows show it, and of nothing that changed nothing.
TEST_F(TaskListingTest, TellsObserversOfEachRealChangeAfterTheRowsShowIt) {
  struct Recorder : QueueObserver {
    explicit Recorder(const TaskListBox& list) : list(list) {}
    void QueueChanged(const TaskQueue& queue) override {
      counts.push_back(queue.Count());
      EXPECT_EQ(list.Rows().size(), queue.Count());
    }
    const TaskListBox& list;
    std::vector<std::size_t> counts;
  } recorder(list);
  TaskListing observed(list, tray, platform.clock, platform.timeZone, {&recorder});
  Task first = MakeTask(TaskKind::TurnOff, At(10, 1, 0));
  Task second = MakeTask(TaskKind::Alarm, At(10, 2, 0), "喝水");

  first.Id = observed.Add(first);
  second.Id = observed.Add(second);
  observed.Reschedule(second, At(10, 0, 0));
  observed.Reschedule(second, At(10, 0, 0) + 1.0);  // gone: moved already
  observed.Remove(first);
  observed.Remove(first);
  observed.RemoveSelected();  // nothing selected
  observed.RemoveHead();

  EXPECT_EQ(recorder.counts, (std::vector<std::size_t>{1, 2, 2, 1, 0}));
}
