#include <gtest/gtest.h>

#include "main/program.h"
#include "storage/task_file_format.h"
#include "tests/fakes/fake_platform.h"
#include "tests/host/running_program.h"

// Tasks that wait for a program to end, driven through the entry panel and the
// tick on the fake platform.
namespace {

constexpr char kList[] = "C:\\Users\\李雷\\AppData\\Roaming\\Dusk\\tasks.txt";
constexpr std::uint32_t kNotepad = 4242;
constexpr std::uint32_t kCalc = 4300;
constexpr char kNotepadLabel[] = "无标题 - 记事本|notepad.exe";

void RunningPrograms(FakeProcesses& processes) {
  processes.processes = {{kNotepad, "notepad.exe"}, {kCalc, "calc.exe"}};
  processes.processes[0].startTime = 133500000000000000;
  processes.windows = {{0x10, kNotepad, "无标题 - 记事本"}};
}

}  // namespace

class ProgramEndTest : public testing::Test {
 protected:
  ProgramEndTest() : platform(At(14, 0, 0)) {
    RunningPrograms(platform.processes);
    Start();
  }

  void Start() {
    program.reset();
    program = std::make_unique<Program>(platform.Set(), kTestUpdateHost, actions);
    program->Start();
  }

  TForm1& Form() { return program->Form1; }

  void Tick() {
    platform.clock.AdvanceSeconds(1);
    Form().TimerNow.Fire();
  }

  // The user picks the program's entry in the after-a-program-ends mode, and adds.
  void AddWaiting(TaskKind kind, std::uint32_t processId, int delayMinutes = 0,
                  const std::string& param = "") {
    TForm1& f = Form();
    f.RadioGroup1.UserSelect(2);
    f.RadioGroup2.UserSelect(static_cast<int>(kind));
    for (std::size_t i = 0; i < platform.processes.processes.size(); ++i) {
      if (platform.processes.processes[i].processId == processId) {
        f.bsSkinComboBoxEx1.UserSelect(static_cast<int>(i));
      }
    }
    f.bsSkinSpinEdit2.UserSetValue(delayMinutes);
    if (!param.empty()) f.EditInfo.UserEdit(param);
    f.ButtonAdd.UserClick();
  }

  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (const auto& row : Form().TaskList.Rows()) rows.push_back(row.caption);
    return rows;
  }

  FakePlatform platform;
  RecordingTaskActions actions{platform.clock};
  std::unique_ptr<Program> program;
};

TEST_F(ProgramEndTest, TheWaitingTaskShowsWhatItWaitsForAndNoMoment) {
  AddWaiting(TaskKind::Alarm, kNotepad, 0, "喝水");
  AddWaiting(TaskKind::TurnOff, kCalc);
  // At once, before the next tick.
  EXPECT_EQ(Form().Title.Text(), "程序结束后闹钟响起。     ");
  Tick();
  EXPECT_EQ(Rows(),
            (std::vector<std::string>{"闹钟：喝水\r\n等待 无标题 - 记事本|notepad.exe 结束后",
                                      "关机：等待 calc.exe 结束后"}));
  EXPECT_EQ(Form().Title.Text(), "程序结束后闹钟响起。     ");
  EXPECT_EQ(platform.notificationArea.tip, "闹钟：喝水\r\n等待 无标题 - 记事本|notepad.exe 结束后");
  // A dated task comes first, whenever it is due.
  TForm1& f = Form();
  f.RadioGroup1.UserSelect(1);
  f.bsSkinComboBox1.UserSelect(2);  // one day
  f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::Restart));
  f.ButtonAdd.UserClick();
  Tick();
  ASSERT_EQ(Rows().size(), 3u);
  EXPECT_EQ(Rows()[0], "重启电脑：2026/12/11 14:00:01");
  EXPECT_EQ(Form().Title.Text(), "23小时59分钟后重启电脑。     ");
  // Nothing is near: no wake timer and no request to stay awake for the waiting ones.
  f.Tasks().Remove(f.Tasks().Queue().Head());
  EXPECT_FALSE(platform.powerRequests.keptAwake);
  EXPECT_EQ(platform.powerRequests.calls.back(), "cancel");
}

TEST_F(ProgramEndTest, ItIsDueInTheFirstTickAfterItsOwnProcessEnded) {
  struct Case {
    const char* name;
    // What follows the end of the process waited for.
    std::vector<FakeProcesses::Process> after;
  };
  FakeProcesses::Process sameIdLater{kNotepad, "notepad.exe"};
  sameIdLater.startTime = 133500000000000001;
  const Case kCases[] = {
      {"nothing", {}},
      {"a new process of the same name", {{4250, "notepad.exe"}}},
      {"a new process with the same id and name", {sameIdLater}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    RunningPrograms(platform.processes);
    actions.performed.clear();
    AddWaiting(TaskKind::Alarm, kNotepad, 0, "喝水");
    const int snapshots = platform.processes.snapshots;
    for (int i = 0; i < 5; ++i) Tick();
    EXPECT_TRUE(actions.performed.empty());

    platform.processes.End(kNotepad);
    for (const auto& p : c.after) platform.processes.processes.push_back(p);
    Tick();
    ASSERT_EQ(actions.performed.size(), 1u);
    EXPECT_EQ(actions.performed[0].param, "喝水");
    EXPECT_EQ(actions.performed[0].at, platform.clock.Now());
    EXPECT_TRUE(Form().Tasks().Queue().Empty());
    // The wait asked the handle, never the snapshot.
    EXPECT_EQ(platform.processes.snapshots, snapshots);
    EXPECT_EQ(platform.processes.OpenWatches(), 0);
  }
}

TEST_F(ProgramEndTest, AProcessThatNeverEndsHoldsItsTasksWithOneQuestionPerProcessAndTick) {
  AddWaiting(TaskKind::TurnOff, kNotepad);
  AddWaiting(TaskKind::Alarm, kCalc, 0, "a");
  AddWaiting(TaskKind::Alarm, kCalc, 5, "b");
  EXPECT_EQ(platform.processes.OpenWatches(), 2);
  const int snapshots = platform.processes.snapshots;
  platform.processes.endChecks = 0;
  for (int i = 0; i < 3600; ++i) Tick();
  EXPECT_TRUE(actions.performed.empty());
  EXPECT_TRUE(actions.warned.empty());
  EXPECT_FALSE(program->WarnForm.Showing());
  EXPECT_EQ(platform.processes.snapshots, snapshots);
  // Two tasks wait for calc.exe: its one handle answers for both.
  EXPECT_EQ(platform.processes.endChecks, 2 * 3600);
  EXPECT_EQ(Form().Tasks().Queue().Count(), 3u);

  // Deleted, the task lets its process go once no other task waits for it.
  platform.windowSystem.menuChoice = 0;
  for (const int stillOpen : {1, 1, 0}) {
    Form().TaskList.UserContextMenu(0);
    EXPECT_EQ(platform.processes.OpenWatches(), stillOpen);
  }
  EXPECT_TRUE(Form().Tasks().Queue().Empty());
}

TEST_F(ProgramEndTest, TheDelayCountsFromTheEndAndAPowerActionIsWarnedOfFirst) {
  struct Case {
    TaskKind kind;
    int delayMinutes;
    int secondsToPerform;  // after the tick that saw the end
    bool warned;
  };
  static constexpr Case kCases[] = {
      {TaskKind::Alarm, 0, 0, false},           {TaskKind::Alarm, 5, 300, false},
      {TaskKind::OpenWebPage, 60, 3600, false}, {TaskKind::TurnOff, 0, 30, true},
      {TaskKind::Restart, 1, 60, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.kind) * 100 + c.delayMinutes);
    RunningPrograms(platform.processes);
    actions.performed.clear();
    actions.warned.clear();
    AddWaiting(c.kind, kNotepad, c.delayMinutes, c.kind == TaskKind::OpenWebPage ? "x" : "");
    Tick();
    platform.processes.End(kNotepad);
    Tick();
    const DateTime ended = platform.clock.Now();
    // Half a minute ahead, as for any task; a power action's window with it.
    const bool warned = c.secondsToPerform >= 30;
    for (int i = 0; i < c.secondsToPerform; ++i) {
      ASSERT_TRUE(actions.performed.empty()) << i;
      EXPECT_EQ(actions.warned.size(), i >= c.secondsToPerform - 30 ? 1u : 0u) << i;
      EXPECT_EQ(program->WarnForm.Showing(), IsPowerAction(c.kind) && i >= c.secondsToPerform - 30)
          << i;
      // Set, not added up: an hour of added seconds drifts by a millisecond.
      platform.clock.Set(ended + (i + 1) / kSecondsPerDay);
      Form().TimerNow.Fire();
    }
    ASSERT_EQ(actions.performed.size(), 1u);
    EXPECT_EQ(WholeSecondsApart(actions.performed[0].at, ended), c.secondsToPerform);
    EXPECT_EQ(actions.warned.size(), warned ? 1u : 0u);
  }
}

TEST_F(ProgramEndTest, AnAddIsRefusedWithoutAProgramThatCanBeWaitedFor) {
  TForm1& f = Form();
  // No pick.
  f.RadioGroup1.UserSelect(2);
  f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::LogOff));
  f.ButtonAdd.UserClick();
  EXPECT_EQ(f.bsSkinMessage1.Message().Text(), "请选择要等待结束的软件");

  // Ended since the listing, or not to be opened.
  f.bsSkinComboBoxEx1.UserSelect(0);
  platform.processes.End(kNotepad);
  f.ButtonAdd.UserClick();
  platform.processes.processes[0].cannotBeOpened = true;  // calc.exe
  f.bsSkinComboBoxEx1.UserSelect(1);
  f.ButtonAdd.UserClick();
  ASSERT_EQ(platform.windowSystem.boxes.size(), 2u);
  for (const auto& box : platform.windowSystem.boxes) {
    EXPECT_EQ(box.text, "无法等待这个软件结束：它已经结束，或者不允许本程序打开它。");
    EXPECT_EQ(box.caption, "添加定时任务错误");
    EXPECT_EQ(box.icon, WindowSystem::MessageBoxIcon::Warning);
  }
  EXPECT_TRUE(f.Tasks().Queue().Empty());
  EXPECT_EQ(platform.processes.OpenWatches(), 0);
}

TEST_F(ProgramEndTest, TheAddWaitsOnlyForTheProcessListedNeverALaterOneWithItsId) {
  constexpr std::uint64_t kListedStart = 133500000000000000;
  struct Case {
    const char* name;
    std::uint64_t listedStart;  // what the listing reads of notepad.exe
    bool idPassedOn;            // between the listing and the add
    bool added;
  };
  static constexpr Case kCases[] = {
      {"the process listed, still running", kListedStart, false, true},
      {"ended, its id given to a new process of the same name", kListedStart, true, false},
      {"a start time that cannot be read", 0, false, false},
  };
  TForm1& f = Form();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    RunningPrograms(platform.processes);
    platform.processes.processes[0].startTime = c.listedStart;
    platform.windowSystem.boxes.clear();
    const std::size_t queued = f.Tasks().Queue().Count();
    const int watches = platform.processes.OpenWatches();
    // Listed afresh as the mode is chosen.
    f.RadioGroup1.UserSelect(1);
    f.RadioGroup1.UserSelect(2);
    f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::Alarm));
    f.bsSkinComboBoxEx1.UserSelect(0);
    f.EditInfo.UserEdit("喝水");
    if (c.idPassedOn) {
      platform.processes.End(kNotepad);
      FakeProcesses::Process stranger{kNotepad, "notepad.exe"};
      stranger.startTime = c.listedStart + 10'000'000;
      platform.processes.processes.push_back(stranger);
    }
    f.ButtonAdd.UserClick();

    std::vector<std::string> boxes;
    for (const auto& box : platform.windowSystem.boxes) boxes.push_back(box.text);
    EXPECT_EQ(boxes, c.added ? std::vector<std::string>{}
                             : std::vector<std::string>{
                                   "无法等待这个软件结束：它已经结束，或者不允许本程序打开它。"});
    EXPECT_EQ(platform.processes.OpenWatches(), watches + (c.added ? 1 : 0));
    const TaskQueue& queue = f.Tasks().Queue();
    EXPECT_EQ(queue.Count(), queued + (c.added ? 1 : 0));
    if (c.added && queue.Count() > queued) {
      EXPECT_EQ(queue.At(queued).AfterProgram.ProcessId, kNotepad);
      EXPECT_EQ(queue.At(queued).AfterProgram.StartTime, c.listedStart);
    }
  }
}

TEST_F(ProgramEndTest, ThePickerStandsAboveTheFieldOfEveryKind) {
  TForm1& f = Form();
  f.RadioGroup1.UserSelect(2);
  EXPECT_TRUE(f.Panel3.Visible());
  EXPECT_FALSE(f.Panel1.Visible());
  EXPECT_FALSE(f.Panel2.Visible());
  ASSERT_EQ(f.bsSkinComboBoxEx1.Items().size(), 2u);
  EXPECT_EQ(f.bsSkinComboBoxEx1.Items()[0].caption, kNotepadLabel);
  f.bsSkinComboBoxEx1.UserSelect(0);
  struct Case {
    int kind;
    const char* prompt;  // nullptr: no prompt, no field
  };
  static const Case kCases[] = {
      {0, nullptr},
      {3, "请输入提醒的信息："},
      {5, "请输入要关闭的软件："},
      {6, "请输入要打开的网页："},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.kind);
    f.RadioGroup2.UserSelect(c.kind);
    EXPECT_TRUE(f.bsSkinComboBoxEx1.Visible());
    EXPECT_EQ(f.bsSkinComboBoxEx1.Top(), 337);
    EXPECT_EQ(f.bsSkinComboBoxEx1.ItemIndex(), 0);  // the pick stays
    EXPECT_EQ(f.LabelTips.Visible(), c.prompt != nullptr);
    EXPECT_EQ(f.EditInfo.Visible(), c.prompt != nullptr);
    if (c.prompt) {
      EXPECT_EQ(f.LabelTips.Text(), c.prompt);
      EXPECT_EQ(f.LabelTips.Top(), 367);
      EXPECT_EQ(f.EditInfo.Top(), 392);
    }
    const int below = c.prompt ? f.EditInfo.Top() + f.EditInfo.Height() : 357;
    EXPECT_EQ(f.ButtonAdd.Top(), below + 20);
    EXPECT_LE(f.ButtonAdd.Top() + f.ButtonAdd.Height(), f.PanelLeft.Height());
  }
  // The close-program kind ends the program typed in, after the one picked.
  f.RadioGroup2.UserSelect(5);
  f.EditInfo.UserEdit("calc.exe");
  f.ButtonAdd.UserClick();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"关闭软件：calc.exe\r\n等待 " +
                                              std::string(kNotepadLabel) + " 结束后"}));

  // Back to the countdown: the fields stand where they always did.
  f.RadioGroup1.UserSelect(1);
  f.RadioGroup2.UserSelect(5);
  EXPECT_EQ(f.bsSkinComboBoxEx1.Top(), 362);
  EXPECT_EQ(f.LabelTips.Text(), "选择你要关闭的软件：");
  EXPECT_FALSE(f.EditInfo.Visible());
  f.RadioGroup2.UserSelect(0);
  EXPECT_FALSE(f.bsSkinComboBoxEx1.Visible());
  EXPECT_EQ(f.ButtonAdd.Top(), 337);
}

TEST_F(ProgramEndTest, TheSavedListKeepsTheProcessAndTheNextStartBindsItAgain) {
  AddWaiting(TaskKind::Alarm, kNotepad, 5, "喝|水");
  AddWaiting(TaskKind::TurnOff, kNotepad);
  AddWaiting(TaskKind::LogOff, kCalc);
  EXPECT_EQ(platform.profileFiles.contents.at(kList),
            "Dusk task list 4\r\n"
            "alarm|9999-12-31 00:00:00|喝\\|水||program-end:4242:133500000000000000:5:"
            "无标题 - 记事本\\|notepad.exe|1\r\n"
            "turn-off|9999-12-31 00:00:00|||program-end:4242:133500000000000000:0:"
            "无标题 - 记事本\\|notepad.exe|2\r\n"
            "log-off|9999-12-31 00:00:00|||program-end:4300:1:0:calc.exe|3\r\n");
  const std::vector<std::string> rows = Rows();

  // Restarted while notepad still runs and calc.exe's id went to another process.
  platform.processes.End(kCalc);
  FakeProcesses::Process otherCalc{kCalc, "calc.exe"};
  otherCalc.startTime = 7;
  platform.processes.processes.push_back(otherCalc);
  Start();
  EXPECT_EQ(Rows(), rows);
  platform.ForgetCalls();
  Tick();
  // Gone before the start, at a moment nobody knows: a power action is missed.
  EXPECT_TRUE(actions.performed.empty());
  EXPECT_TRUE(actions.warned.empty());
  ASSERT_EQ(platform.notificationArea.balloons.size(), 1u);
  EXPECT_EQ(platform.notificationArea.balloons[0].text, "错过的任务：注销：等待 calc.exe 结束后");
  EXPECT_EQ(Rows(), (std::vector<std::string>{rows[0], rows[1]}));
  EXPECT_EQ(platform.processes.OpenWatches(), 1);

  // Restarted once more after notepad ended: the alarm is due at once, the
  // shut-down is missed.
  platform.processes.End(kNotepad);
  Start();
  platform.ForgetCalls();
  Tick();
  ASSERT_EQ(actions.performed.size(), 1u);
  EXPECT_EQ(actions.performed[0].param, "喝|水");
  EXPECT_TRUE(actions.warned.empty());
  ASSERT_EQ(platform.notificationArea.balloons.size(), 1u);
  EXPECT_EQ(platform.notificationArea.balloons[0].text,
            "错过的任务：关机：等待 无标题 - 记事本|notepad.exe 结束后");
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(platform.processes.OpenWatches(), 0);
}

TEST_F(ProgramEndTest, ATaskDatedAfterTheWaitingMomentHidesNoWaitingTask) {
  AddWaiting(TaskKind::Alarm, kNotepad, 0, "记事本");
  AddWaiting(TaskKind::Alarm, kCalc, 0, "计算器");
  // The waiting tasks' moment is 9999-12-31 00:00: this one sorts after them.
  RunningProgram::EnterOnPanel(Form(), At(23, 0, 0, 31, 12, 9999), TaskKind::Alarm, "最后");
  ASSERT_EQ(Rows().back(), "闹钟：最后\r\n9999/12/31 23:00:00");

  // Calc ends while the program is not running: bound again or not, at the first tick.
  platform.processes.End(kCalc);
  Start();
  Tick();
  ASSERT_EQ(actions.performed.size(), 1u);
  EXPECT_EQ(actions.performed[0].param, "计算器");
  EXPECT_EQ(platform.processes.OpenWatches(), 1);

  // Notepad ends while it runs: its handle was kept and is asked.
  Tick();
  platform.processes.End(kNotepad);
  Tick();
  ASSERT_EQ(actions.performed.size(), 2u);
  EXPECT_EQ(actions.performed[1].param, "记事本");
  EXPECT_EQ(Rows(), std::vector<std::string>{"闹钟：最后\r\n9999/12/31 23:00:00"});
  EXPECT_EQ(platform.processes.OpenWatches(), 0);
}

TEST(ProgramEndTriggerField, ComesBackAsWrittenAndRefusesWhatItDidNotWrite) {
  Task waiting{kWaitingMoment, TaskKind::OpenProgram, "C:\\a|b.exe"};
  waiting.AfterProgram.ImageName = "C:\\Windows\\x.exe";  // a full path has a colon
  waiting.AfterProgram.WindowTitle = "a|b:c\r\n\\";
  waiting.AfterProgram.ProcessId = 4294967295u;
  waiting.AfterProgram.StartTime = 18446744073709551615u;
  waiting.AfterProgram.DelayMinutes = 60;
  waiting.Id = 4294967295u;
  TaskQueue queue;
  queue.Add(waiting);
  queue.Add({At(12, 0, 0), TaskKind::Alarm, "dated"});
  const std::string file = WriteTaskFile(queue);
  const TaskFileReading reading = ReadTaskFile(file);
  EXPECT_EQ(reading.outcome, TaskFileReading::Outcome::Whole);
  ASSERT_EQ(reading.tasks.size(), 2u);
  EXPECT_EQ(reading.tasks[1], waiting);

  static const char* const kBadTriggers[] = {
      "program-end:1:2:3",                 // no label
      "program-end:1:2:3:",                // an empty image name
      "program-end:1:2:3:title|",          // an empty image name after a title
      "program-end:1:2:61:x.exe",          // a delay longer than an hour
      "program-end:1:2:-1:x.exe",          // a negative delay
      "program-end:4294967296:2:0:x.exe",  // no such process id
      "program-end:1:x:0:x.exe",           // digits only
      "program-end::2:0:x.exe",            // no process id
      "program-start:1:2:0:x.exe",         // no such trigger
  };
  for (const char* bad : kBadTriggers) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ReadTriggerField(bad));
    const std::string line = "alarm|9999-12-31 00:00:00|||" + EscapeTaskParam(bad);
    EXPECT_EQ(ReadTaskFile("Dusk task list 2\r\n" + line + "\r\n").unreadLines, 1u);
  }
  // A field more, or an escape the format has not.
  for (const char* bad : {"alarm|2026-12-10 12:00:00|a|||", "alarm|2026-12-10 12:00:00|a||\\t"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(ReadTaskFile(std::string("Dusk task list 2\r\n") + bad + "\r\n").unreadLines, 1u);
  }
}

// The delay after the end is a countdown: its minutes are elapsed time. The
// fake zone skips 02:00 to 03:00 on 2026-03-29 and goes back from 03:00 to
// 02:00 on 2026-10-25.
TEST(ProgramEndDueMomentTest, TheDelayIsElapsedTimeAcrossAClockChange) {
  const FakeTimeZone zone;
  struct Case {
    const char* what;
    TaskKind kind;
    int delayMinutes;
    DateTime ended;
    DateTime due;
  };
  const Case kCases[] = {
      {"over the skipped hour", TaskKind::Alarm, 60, At(1, 30, 0, 29, 3), At(3, 30, 0, 29, 3)},
      {"a power action over it", TaskKind::TurnOff, 45, At(1, 30, 0, 29, 3), At(3, 15, 0, 29, 3)},
      {"into the hour that comes twice", TaskKind::Alarm, 30, At(1, 45, 0, 25, 10),
       At(2, 15, 0, 25, 10)},
      {"no change", TaskKind::Alarm, 10, At(14, 0, 0), At(14, 10, 0)},
      {"a power action without delay", TaskKind::Sleep, 0, At(14, 0, 0), At(14, 0, 30)},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CompareDateTime(ProgramEndDueMoment(c.kind, c.delayMinutes, c.ended, zone), c.due),
              0);
  }
}
