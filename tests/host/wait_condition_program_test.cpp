#include <gtest/gtest.h>

#include "storage/task_file_format.h"
#include "tests/host/running_program.h"

// "下载完成后" and "无人操作时" tasks driven through the entry panel and the
// tick on the fake platform, one tick a second.
namespace {

constexpr int kNetworkQuietMode = 3;
constexpr int kNoInputMode = 4;
// 1.2 MB in a second.
constexpr std::uint64_t kBusyOctets = 1258291;

}  // namespace

class WaitConditionProgramTest : public testing::Test {
 protected:
  WaitConditionProgramTest() : run(At(14, 0, 0)) {}

  void Tick(std::uint64_t octets = 100) {
    run.platform.machineActivity.Receive(octets);
    run.platform.clock.AdvanceSeconds(1);
    run.f.TimerNow.Fire();
  }
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) Tick();
  }

  void AddNetworkQuiet(TaskKind kind, int minutes, bool eachTime = false) {
    run.f.RadioGroup1.UserSelect(kNetworkQuietMode);
    run.f.EditNetMinutes.UserSetValue(minutes);
    run.f.ComboBoxNetRepeat.UserSelect(eachTime ? 1 : 0);
    Add(kind);
  }
  void AddNoInput(TaskKind kind, int minutes, bool eachTime = false) {
    run.f.RadioGroup1.UserSelect(kNoInputMode);
    run.f.EditIdleMinutes.UserSetValue(minutes);
    run.f.ComboBoxIdleRepeat.UserSelect(eachTime ? 1 : 0);
    Add(kind);
  }
  void Add(TaskKind kind) {
    run.f.RadioGroup2.UserSelect(static_cast<int>(kind));
    if (kind == TaskKind::Alarm) run.f.EditInfo.UserEdit("下班");
    run.f.ButtonAdd.UserClick();
  }

  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (const auto& row : run.f.TaskList.Rows()) rows.push_back(row.caption);
    return rows;
  }
  const TaskQueue& Queue() { return run.f.Tasks().Queue(); }

  RunningProgram run;
};

TEST_F(WaitConditionProgramTest, ThePanelShowsTheFieldsOfEachModeWithTheirDefaults) {
  TForm1& f = run.f;
  EXPECT_EQ(f.RadioGroup1.Items(), (std::vector<std::string>{"指定时间", "倒计时", "程序结束后",
                                                             "下载完成后", "无人操作时"}));
  f.RadioGroup1.UserSelect(kNetworkQuietMode);
  EXPECT_TRUE(f.Panel4.Visible());
  EXPECT_FALSE(f.Panel1.Visible() || f.Panel2.Visible() || f.Panel3.Visible() ||
               f.Panel5.Visible());
  EXPECT_EQ(f.LabelNetRate.Text() + "|" + f.LabelNetRateUnit.Text() + "|" +
                f.LabelNetLasting.Text() + "|" + f.LabelNetMinutes.Text(),
            "网速低于|KB/s|持续|分钟");
  EXPECT_EQ(f.EditNetRate.Value(), 20);
  EXPECT_EQ(f.EditNetMinutes.Value(), 3);
  EXPECT_EQ(f.CheckCpuQuiet.Text(), "并且CPU低于");
  EXPECT_FALSE(f.CheckCpuQuiet.Checked());
  EXPECT_EQ(f.EditCpuPercent.Value(), 15);
  EXPECT_EQ(f.ComboBoxNetRepeat.Items(), (std::vector<std::string>{"不重复", "每次"}));
  EXPECT_EQ(f.ComboBoxNetRepeat.ItemIndex(), 0);
  // The picker is not asked for, and the add button keeps its place.
  EXPECT_FALSE(f.bsSkinComboBoxEx1.Visible());
  EXPECT_EQ(f.ButtonAdd.Top(), f.RadioGroup2.Top() + f.RadioGroup2.Height() + 20);

  f.RadioGroup1.UserSelect(kNoInputMode);
  EXPECT_TRUE(f.Panel5.Visible());
  EXPECT_FALSE(f.Panel4.Visible());
  EXPECT_EQ(f.EditIdleMinutes.Value(), 30);
  EXPECT_EQ(f.CheckIdleGuard.Text(), "全屏或播放视频时不算");
  EXPECT_TRUE(f.CheckIdleGuard.Checked());
  // The date mode's repeat list offers no "每次".
  EXPECT_EQ(f.ComboBoxRepeat.Items().size(), 4u);
}

TEST_F(WaitConditionProgramTest, AWaitingTaskShowsTheLiveRateAndSortsAfterDatedOnes) {
  AddNetworkQuiet(TaskKind::TurnOff, 3);
  EXPECT_EQ(run.f.Title.Text(), "下载完成后关机。     ");
  run.EnterAt(At(15, 0, 0), TaskKind::Lock);
  ASSERT_EQ(Queue().Count(), 2u);
  EXPECT_EQ(Queue().At(1).Condition, WaitCondition(NetworkQuietTrigger{20, 3, false, 15}));
  EXPECT_EQ(Queue().At(1).When, kWaitingMoment);
  // The live figures leave the user's selection alone.
  run.f.TaskList.UserSelect(1);
  Tick(kBusyOctets);
  Tick(kBusyOctets);
  EXPECT_EQ(run.f.TaskList.ItemIndex(), 1);
  EXPECT_EQ(Rows(), (std::vector<std::string>{
                        "锁定：2026/12/10 15:00:00",
                        "关机：下载完成后：当前 1.2 MB/s，低速0秒/3分钟",
                    }));
  run.f.Tasks().Remove(Queue().Head());
  Tick(2048);
  Tick(2048);
  EXPECT_EQ(Rows()[0], "关机：下载完成后：当前 2.0 KB/s，低速2秒/3分钟");
  EXPECT_EQ(run.platform.notificationArea.tip, Rows()[0]);
  EXPECT_EQ(run.f.Title.Text(), "下载完成后关机。当前 2.0 KB/s     ");
  // The computer stays awake however far off the end is.
  EXPECT_TRUE(run.platform.powerRequests.keptAwake);
  run.f.Tasks().Remove(Queue().Head());
  EXPECT_FALSE(run.platform.powerRequests.keptAwake);
}

TEST_F(WaitConditionProgramTest, AQuietNetworkRunsTheTaskOnceAndABurstStartsTheWaitAgain) {
  AddNetworkQuiet(TaskKind::Alarm, 1);
  Ticks(50);
  Tick(kBusyOctets);  // the download goes on
  Ticks(59);
  EXPECT_TRUE(run.actions.performed.empty());
  Tick();
  ASSERT_EQ(run.actions.performed.size(), 1u);
  EXPECT_EQ(run.actions.performed[0].param, "下班");
  EXPECT_TRUE(Queue().Empty());
  // No task needs a sample any more.
  const int samples = run.platform.machineActivity.samples;
  Ticks(3);
  EXPECT_EQ(run.platform.machineActivity.samples, samples);
}

TEST_F(WaitConditionProgramTest, EachTimeWaitsAgainForTheWholeMinutes) {
  AddNoInput(TaskKind::Alarm, 1, true);
  Ticks(61);
  ASSERT_EQ(run.actions.performed.size(), 1u);
  ASSERT_EQ(Queue().Count(), 1u);
  EXPECT_TRUE(IsWaitingForCondition(Queue().Head()));
  EXPECT_EQ(Rows()[0], "闹钟：每次 下班\r\n无人操作时：已空闲0秒/1分钟");
  Ticks(59);
  EXPECT_EQ(run.actions.performed.size(), 1u);
  Tick();
  EXPECT_EQ(run.actions.performed.size(), 2u);
}

TEST_F(WaitConditionProgramTest, InputInTheWarningsHalfMinuteSendsThePowerTaskBackToWaiting) {
  AddNoInput(TaskKind::TurnOff, 1);
  Ticks(10);
  EXPECT_EQ(run.f.Title.Text(), "无人操作51秒后关机。     ");
  Ticks(51);
  // Due in half a minute, with its warning.
  ASSERT_EQ(run.actions.warned.size(), 1u);
  EXPECT_FALSE(IsWaitingForCondition(Queue().Head()));
  ASSERT_TRUE(run.program.WarnForm.Showing());
  EXPECT_EQ(run.program.WarnForm.LabelWarnTask.Text(),
            "关机：2026/12/10 14:01:31 有人操作即回到等待");
  Ticks(10);
  run.platform.presenceSensor.Input();
  Tick();
  EXPECT_TRUE(IsWaitingForCondition(Queue().Head()));
  EXPECT_FALSE(run.program.WarnForm.Showing());
  Ticks(40);
  EXPECT_TRUE(run.actions.performed.empty());
  // Nobody again: warned, and performed at the end of the half minute.
  Ticks(20);
  EXPECT_EQ(run.actions.warned.size(), 2u);
  Ticks(30);
  ASSERT_EQ(run.actions.performed.size(), 1u);
  EXPECT_EQ(run.actions.performed[0].kind, TaskKind::TurnOff);
  EXPECT_TRUE(Queue().Empty());
}

TEST_F(WaitConditionProgramTest, TheGuardHoldsTheIdleTimeWhileAFilmPlays) {
  struct Case {
    const char* name;
    bool guard;
    bool film;
    bool performed;
  };
  const Case cases[] = {
      {"guarded, a film playing", true, true, false},
      {"guarded, nothing playing", true, false, true},
      {"unguarded, a film playing", false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    run.actions.performed.clear();
    run.platform.presenceSensor.displayRequired = c.film;
    run.f.CheckIdleGuard.UserSetChecked(c.guard);
    AddNoInput(TaskKind::Alarm, 1);
    Ticks(61);
    EXPECT_EQ(run.actions.performed.size(), c.performed ? 1u : 0u);
    if (!Queue().Empty()) run.f.Tasks().Remove(Queue().Head());
  }
}

TEST(WaitConditionFileTest, ConditionsComeBackAndBadFieldsAreRefused) {
  TaskQueue queue;
  Task network{kWaitingMoment, TaskKind::Sleep};
  network.Condition = NetworkQuietTrigger{512, 10, true, 40};
  Task idle{kWaitingMoment, TaskKind::Alarm, "下班", {RepeatKind::EachTime, 0}};
  idle.Condition = NoInputTrigger{30, false};
  // In its warning's half minute: dated, the condition kept.
  Task warned{At(14, 0, 30), TaskKind::TurnOff};
  warned.Condition = NoInputTrigger{5, true};
  network.Id = queue.Add(network);
  idle.Id = queue.Add(idle);
  warned.Id = queue.Add(warned);
  const std::string file = WriteTaskFile(queue);
  EXPECT_EQ(file,
            "Dusk task list 4\r\n"
            "turn-off|2026-12-10 14:00:30|||no-input:5:1|3\r\n"
            "sleep|9999-12-31 00:00:00|||net-quiet:512:10:1:40|1\r\n"
            "alarm|9999-12-31 00:00:00|下班|each-time|no-input:30:0|2\r\n");
  const TaskFileReading reading = ReadTaskFile(file);
  EXPECT_EQ(reading.outcome, TaskFileReading::Outcome::Whole);
  ASSERT_EQ(reading.tasks.size(), 3u);
  EXPECT_EQ(reading.tasks[0], warned);
  EXPECT_EQ(reading.tasks[1], network);
  EXPECT_EQ(reading.tasks[2], idle);
  // Every list keeps its tasks' ids: the format with them is written whatever the tasks.
  EXPECT_EQ(WriteTaskFile(TaskQueue()), "Dusk task list 4\r\n");

  static const char* const kBadLines[] = {
      "sleep|9999-12-31 00:00:00|||net-quiet:20:3:1",       // a value short
      "sleep|9999-12-31 00:00:00|||net-quiet:20:3:1:15:9",  // a value more
      "sleep|9999-12-31 00:00:00|||net-quiet:0:3:0:15",     // no rate
      "sleep|9999-12-31 00:00:00|||net-quiet:20:0:0:15",    // no minutes
      "sleep|9999-12-31 00:00:00|||net-quiet:20:3:2:15",    // neither on nor off
      "sleep|9999-12-31 00:00:00|||net-quiet:20:3:1:101",   // above all the processors
      "sleep|9999-12-31 00:00:00|||no-input:1441:1",        // longer than a day
      "sleep|9999-12-31 00:00:00|||no-input:30:",           // a value empty
      "sleep|9999-12-31 00:00:00|||no-input:-5:1",          // negative
      "sleep|9999-12-31 00:00:00||daily|no-input:30:1",     // a dated series
      "sleep|9999-12-31 00:00:00||each-time|",              // each time without a condition
      "sleep|2026-12-10 12:00:00||each-time 2026-12-10 12:00:00|no-input:30:1",
  };
  for (const char* bad : kBadLines) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(ReadTaskFile(std::string("Dusk task list 3\r\n") + bad + "\r\n").unreadLines, 1u);
  }
}

TEST_F(WaitConditionProgramTest, TheSavedListKeepsAWaitingTask) {
  AddNoInput(TaskKind::Alarm, 30, true);
  std::string saved;
  for (const auto& [path, text] : run.platform.profileFiles.contents) {
    if (path.ends_with("tasks.txt")) saved = text;
  }
  EXPECT_EQ(saved,
            "Dusk task list 4\r\nalarm|9999-12-31 00:00:00|下班|each-time|no-input:30:1|1\r\n");
}
