#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/running_program.h"

// Sleep and clock changes: the time jumps while no tick runs, and the main
// window hears of it from the system. No timer fires unless a test says so.
namespace {

enum class Jump { Resume, TimeChange };

DateTime Later(double seconds) { return At(14, 0, 0) + seconds / kSecondsPerDay; }

// The program from 14:00:00, its tasks entered on the panel.
struct Running : RunningProgram {
  Running() : RunningProgram(At(14, 0, 0)) {}

  void EnterAlarmInOneMinute(const std::string& text) {
    f.RadioGroup1.UserSelect(1);
    f.bsSkinComboBox1.UserSelect(0);
    f.bsSkinSpinEdit1.UserSetValue(1);
    f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::Alarm));
    f.EditInfo.UserEdit(text);
    f.ButtonAdd.UserClick();
  }

  // The system sets the clock or wakes, and tells the window.
  void JumpTo(DateTime now, Jump how) {
    platform.clock.Set(now);
    if (how == Jump::Resume) {
      f.Form1.SystemResumed();
    } else {
      f.Form1.SystemTimeChanged();
    }
  }

  void TickEverySecond(double fromSeconds, double toSeconds) {
    for (double s = fromSeconds; s <= toSeconds; ++s) TickAt(Later(s));
  }

  [[nodiscard]] std::vector<TaskKind> Performed() const {
    std::vector<TaskKind> kinds;
    for (const auto& call : actions.performed) kinds.push_back(call.kind);
    return kinds;
  }

  [[nodiscard]] std::vector<std::string> Balloons() const {
    std::vector<std::string> texts;
    for (const auto& balloon : platform.notificationArea.balloons) {
      texts.push_back(balloon.title + balloon.text);
    }
    return texts;
  }
};

}  // namespace

TEST(ClockJump, AJumpForwardSettlesAtOnceWhatItPassed) {
  struct Entered {
    int offset;  // seconds after 14:00:00
    TaskKind kind;
    const char* param;
  };
  struct Case {
    const char* name;
    int jump;
    Jump how;
    std::vector<Entered> tasks;
    std::vector<TaskKind> performed;
    std::vector<std::string> balloons;  // title and text
    std::size_t warned;
    std::size_t left;
    const char* headline;
    const char* clock;
  };
  const Case kCases[] = {
      {"thirty seconds: late tasks performed, later ones wait",
       30,
       Jump::Resume,
       {{10, TaskKind::Alarm, "tea"},
        {30, TaskKind::TurnOff, ""},
        {45, TaskKind::OpenWebPage, "http://a"},
        {60, TaskKind::Restart, ""}},
       {TaskKind::Alarm, TaskKind::TurnOff},
       {},
       0,
       2,
       "0秒后关机。     ",
       "2026/12/10 14:00:30"},
      // A power task more than a minute late is missed like any other.
      {"two hours: what is over a minute late is named in one balloon",
       2 * 3600,
       Jump::TimeChange,
       {{60, TaskKind::TurnOff, ""},
        {1800, TaskKind::Alarm, "tea"},
        {7170, TaskKind::OpenWebPage, "http://a"},
        {7200, TaskKind::Restart, ""},
        {7230, TaskKind::LogOff, ""}},
       {TaskKind::OpenWebPage, TaskKind::Restart},
       {"Lumo定时关机：错过的2个任务：\r\n关机：2026/12/10 14:01:00\r\n闹钟：tea\r\n"
        "2026/12/10 14:30:00"},
       1,
       1,
       "0秒后重启电脑。     ",
       "2026/12/10 16:00:00"},
      {"a day",
       86400,
       Jump::Resume,
       {{3600, TaskKind::Alarm, "a"},
        {5 * 3600, TaskKind::LogOff, ""},
        {86400 - 50, TaskKind::OpenWebPage, "http://b"},
        {86400 + 3600, TaskKind::TurnOff, ""}},
       {TaskKind::OpenWebPage},
       {"Lumo定时关机：错过的2个任务：\r\n闹钟：a\r\n2026/12/10 15:00:00\r\n注销：2026/12/10 "
        "19:00:00"},
       0,
       1,
       "1小时0分钟后关机。     ",
       "2026/12/11 14:00:00"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Running run;
    for (const Entered& task : c.tasks) run.EnterAt(Later(task.offset), task.kind, task.param);
    ASSERT_EQ(run.f.Tasks().Queue().Count(), c.tasks.size());

    run.JumpTo(Later(c.jump), c.how);
    EXPECT_EQ(run.Performed(), c.performed);
    for (const auto& call : run.actions.performed) EXPECT_EQ(call.at, Later(c.jump));
    EXPECT_EQ(run.Balloons(), c.balloons);
    EXPECT_EQ(run.actions.warned.size(), c.warned);
    EXPECT_EQ(run.f.Tasks().Queue().Count(), c.left);
    EXPECT_EQ(run.f.TaskList.Rows().size(), c.left);
    EXPECT_EQ(run.f.Title.Text(), c.headline);
    EXPECT_EQ(run.f.LabelNow.Text(), c.clock);

    // The timer's own tick in the same second finds nothing left to do.
    run.f.TimerNow.Fire();
    EXPECT_EQ(run.Performed(), c.performed);
    EXPECT_EQ(run.Balloons(), c.balloons);
  }
}

TEST(ClockJump, AJumpBackPerformsNothingTwice) {
  Running run;
  run.EnterAt(Later(10), TaskKind::Alarm, "on time");
  run.EnterAt(Later(20), TaskKind::OpenWebPage, "http://late");
  run.EnterAt(Later(90 * 60), TaskKind::TurnOff);
  run.TickEverySecond(1, 12);
  ASSERT_EQ(run.Performed(), std::vector<TaskKind>{TaskKind::Alarm});
  // Asleep past the second task, which is performed late on waking.
  run.JumpTo(Later(50), Jump::Resume);
  ASSERT_EQ(run.Performed(), (std::vector<TaskKind>{TaskKind::Alarm, TaskKind::OpenWebPage}));

  // The clock is set back an hour, and runs through both moments again.
  run.JumpTo(Later(50 - 3600), Jump::TimeChange);
  EXPECT_EQ(run.f.LabelNow.Text(), "2026/12/10 13:00:50");
  EXPECT_EQ(run.f.Title.Text(), "2小时29分钟后关机。     ");
  run.TickEverySecond(50 - 3600, 55 - 3600);
  run.JumpTo(Later(5), Jump::TimeChange);
  run.TickEverySecond(6, 30);
  EXPECT_EQ(run.Performed(), (std::vector<TaskKind>{TaskKind::Alarm, TaskKind::OpenWebPage}));
  EXPECT_EQ(run.f.Tasks().Queue().Count(), 1u);

  // The task still waiting comes at its moment, once.
  run.TickEverySecond(90 * 60 - 1, 90 * 60 + 2);
  EXPECT_EQ(run.Performed(),
            (std::vector<TaskKind>{TaskKind::Alarm, TaskKind::OpenWebPage, TaskKind::TurnOff}));
  EXPECT_TRUE(run.Balloons().empty());
}

TEST(ClockJump, ATaskEnteredJustBeforeAJump) {
  struct Case {
    double jump;  // seconds
    Jump how;
    bool performedAtOnce;
    const char* balloon;  // nullptr: none
    const char* headline;
  };
  static const Case kCases[] = {
      {30.5, Jump::Resume, false, nullptr, "29秒后闹钟响起。     "},
      {60.5, Jump::TimeChange, true, nullptr, "0秒后闹钟响起。     "},
      {90.5, Jump::Resume, true, nullptr, "你还没有添加定时任务。     "},
      {2 * 3600.5, Jump::TimeChange, false,
       "Lumo定时关机：错过的任务：闹钟：tea\r\n2026/12/10 14:01:00", "你还没有添加定时任务。     "},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.jump);
    Running run;
    run.EnterAlarmInOneMinute("tea");
    ASSERT_EQ(run.f.Tasks().Queue().Count(), 1u);
    run.JumpTo(Later(c.jump), c.how);
    EXPECT_EQ(run.actions.performed.size(), c.performedAtOnce ? 1u : 0u);
    EXPECT_EQ(run.Balloons(),
              c.balloon ? std::vector<std::string>{c.balloon} : std::vector<std::string>{});
    EXPECT_EQ(run.f.Title.Text(), c.headline);

    // Ticking on: the task is performed once in all, unless it was dropped.
    run.TickEverySecond(c.jump + 1, c.jump + 40);
    EXPECT_EQ(run.actions.performed.size(), c.balloon ? 0u : 1u);
    EXPECT_TRUE(run.f.Tasks().Queue().Empty());
  }
}

TEST(ClockJump, AWarningIsGivenOnceInItsSecond) {
  Running run;
  run.EnterAt(Later(60), TaskKind::TurnOff);
  run.TickAt(Later(29.2));
  ASSERT_EQ(run.actions.warned.size(), 1u);
  // The time is set within the same second: the tick that follows at once
  // sees the same thirty seconds to go.
  run.JumpTo(Later(29.6), Jump::TimeChange);
  EXPECT_EQ(run.actions.warned.size(), 1u);

  // Set back an hour and forward again: the half minute is reached anew.
  run.JumpTo(Later(29.7 - 3600), Jump::TimeChange);
  run.JumpTo(Later(29.8), Jump::TimeChange);
  EXPECT_EQ(run.actions.warned.size(), 2u);
  run.TickEverySecond(30.8, 60.8);
  EXPECT_EQ(run.actions.warned.size(), 2u);
  EXPECT_EQ(run.Performed(), std::vector<TaskKind>{TaskKind::TurnOff});
}
