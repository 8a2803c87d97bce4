#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/running_program.h"

// A power task found late when the program starts: the user shut the computer
// down by hand before it was due and logs on later. At most a minute late it
// is warned of and carried out half a minute later; later than that it is
// missed, and a series goes on at its next occurrence.
namespace {

constexpr std::uint32_t kNotepad = 4242;

enum class Timing { OneOff, Daily, AfterNotepad };

struct Case {
  const char* name;
  TaskKind kind;
  Timing timing;
  double secondsLate;  // after 22:00:00, when the program starts again
  bool warned;
  const char* balloon;  // empty when none
  const char* row;      // empty when the list is empty
};

constexpr char kOneOffMissed[] = "错过的任务：关机：2026/12/10 22:00:00";
constexpr char kDailyMissed[] = "错过的任务：关机：每天 22:00\r\n2026/12/10 22:00:00";
constexpr char kDailyTomorrow[] = "关机：每天 22:00\r\n2026/12/11 22:00:00";
constexpr double kNineHours = 9 * 3600;

const Case kCases[] = {
    {"one-off, 30 s", TaskKind::TurnOff, Timing::OneOff, 30, true, "", "关机：2026/12/10 22:01:00"},
    {"daily, 30 s", TaskKind::TurnOff, Timing::Daily, 30, true, "",
     "关机：每天 22:00\r\n2026/12/10 22:01:00"},
    {"one-off, 2 min", TaskKind::TurnOff, Timing::OneOff, 120, false, kOneOffMissed, ""},
    {"daily, 2 min", TaskKind::TurnOff, Timing::Daily, 120, false, kDailyMissed, kDailyTomorrow},
    {"one-off, 9 h", TaskKind::TurnOff, Timing::OneOff, kNineHours, false, kOneOffMissed, ""},
    {"daily, 9 h", TaskKind::TurnOff, Timing::Daily, kNineHours, false, kDailyMissed,
     kDailyTomorrow},
    {"sleep, 30 s", TaskKind::Sleep, Timing::OneOff, 30, true, "", "睡眠：2026/12/10 22:01:00"},
    {"sleep, 9 h", TaskKind::Sleep, Timing::OneOff, kNineHours, false,
     "错过的任务：睡眠：2026/12/10 22:00:00", ""},
    {"after notepad, gone at the start", TaskKind::TurnOff, Timing::AfterNotepad, kNineHours, false,
     "错过的任务：关机：等待 无标题 - 记事本|notepad.exe 结束后", ""},
};

void EnterTask(TForm1& f, const Case& c) {
  if (c.timing == Timing::AfterNotepad) {
    f.RadioGroup1.UserSelect(2);
    f.RadioGroup2.UserSelect(static_cast<int>(c.kind));
    f.bsSkinComboBoxEx1.UserSelect(0);
    f.ButtonAdd.UserClick();
    return;
  }
  f.ComboBoxRepeat.UserSelect(c.timing == Timing::Daily ? 1 : 0);
  RunningProgram::EnterOnPanel(f, At(22, 0, 0), c.kind, "");
}

}  // namespace

TEST(LateAtStart, APowerTaskMoreThanAMinuteLateIsMissedNotPerformed) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    FakePlatform platform(At(21, 0, 0));
    platform.processes.processes = {{kNotepad, "notepad.exe"}};
    platform.processes.windows = {{0x10, kNotepad, "无标题 - 记事本"}};
    RecordingTaskActions actions(platform.clock);
    {
      Program before(platform.Set(), kTestUpdateHost, actions);
      before.Start();
      EnterTask(before.Form1, c);
      ASSERT_EQ(before.Form1.TaskList.Rows().size(), 1u);
    }
    // Shut down by hand; notepad went with everything else.
    platform.processes.End(kNotepad);
    platform.ForgetCalls();
    platform.clock.Set(At(22, 0, 0) + c.secondsLate / kSecondsPerDay);
    Program program(platform.Set(), kTestUpdateHost, actions);
    program.Start();
    program.Form1.TimerNow.Fire();

    EXPECT_TRUE(actions.performed.empty());
    EXPECT_EQ(actions.warned.size(), c.warned ? 1u : 0u);
    std::vector<std::string> balloons;
    for (const auto& balloon : platform.notificationArea.balloons) balloons.push_back(balloon.text);
    EXPECT_EQ(balloons,
              *c.balloon ? std::vector<std::string>{c.balloon} : std::vector<std::string>{});
    std::vector<std::string> rows;
    for (const auto& row : program.Form1.TaskList.Rows()) rows.push_back(row.caption);
    EXPECT_EQ(rows, *c.row ? std::vector<std::string>{c.row} : std::vector<std::string>{});
    // The warned task is carried out at the end of its half minute; nothing else ever is.
    platform.clock.AdvanceSeconds(30);
    program.Form1.TimerNow.Fire();
    EXPECT_EQ(actions.performed.size(), c.warned ? 1u : 0u);
  }
}
