// The headline, the tray hint and the list rows in each language: the same
// values, put where each language's grammar wants them.
#include <gtest/gtest.h>

#include "language/language.h"
#include "scheduler/shutdown_method.h"
#include "scheduler/tick.h"
#include "tests/fakes/fake_platform.h"

namespace {

// English for the test's body; every other test expects Chinese.
class LanguageGuard {
 public:
  explicit LanguageGuard(Language language) { SetActiveLanguage(language); }
  LanguageGuard(const LanguageGuard&) = delete;
  LanguageGuard& operator=(const LanguageGuard&) = delete;
  ~LanguageGuard() { SetActiveLanguage(Language::Chinese); }
};

Task WaitingTask(TaskKind kind, WaitCondition condition, std::string param = "",
                 RepeatKind repeat = RepeatKind::None) {
  Task task(kWaitingMoment, kind, std::move(param), TaskRepeat{repeat, 0});
  task.Condition = condition;
  return task;
}

Task ProgramEndTask(TaskKind kind) {
  Task task(kWaitingMoment, kind);
  task.AfterProgram.ImageName = "notepad.exe";
  task.AfterProgram.WindowTitle = "Notes";
  return task;
}

}  // namespace

TEST(SchedulerTexts, HeadlineAndTimeLeftInEachLanguage) {
  struct Case {
    std::int64_t seconds;
    TaskKind kind;
    const char* chineseHeadline;
    const char* englishHeadline;
    const char* chineseTimeLeft;
    const char* englishTimeLeft;
  };
  static const Case kCases[] = {
      {29, TaskKind::TurnOff, "29秒后关机。", "Shutdown in 29 s.", "还有不到1分钟关机",
       "Shutdown in less than 1 min"},
      {60, TaskKind::Alarm, "60秒后闹钟响起。", "Alarm in 60 s.", "还有1分钟闹钟响起",
       "Alarm in 1 min"},
      {3599, TaskKind::Lock, "59分钟后锁定电脑。", "Lock in 59 min.", "还有59分钟锁定电脑",
       "Lock in 59 min"},
      {3600, TaskKind::Hibernate, "1小时0分钟后进入休眠。", "Hibernation in 1 h 0 min.",
       "还有1小时进入休眠", "Hibernation in 1 h"},
      {3900, TaskKind::Restart, "1小时5分钟后重启电脑。", "Restart in 1 h 5 min.",
       "还有1小时5分钟重启电脑", "Restart in 1 h 5 min"},
      {86400, TaskKind::Sleep, "24小时0分钟后进入睡眠。", "Sleep in 24 h 0 min.", "还有1天进入睡眠",
       "Sleep in 1 d"},
      {2 * 86400 + 3 * 3600 + 59, TaskKind::OpenWebPage, "51小时0分钟后打开网页。",
       "Page opens in 51 h 0 min.", "还有2天3小时打开网页", "Page opens in 2 d 3 h"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.englishHeadline);
    EXPECT_EQ(CountdownText(c.seconds, c.kind), c.chineseHeadline);
    EXPECT_EQ(TimeLeftText(c.seconds, c.kind), c.chineseTimeLeft);
    const LanguageGuard english(Language::English);
    EXPECT_EQ(CountdownText(c.seconds, c.kind), c.englishHeadline);
    EXPECT_EQ(TimeLeftText(c.seconds, c.kind), c.englishTimeLeft);
  }
}

TEST(SchedulerTexts, WaitingHeadlinesInEnglish) {
  const LanguageGuard english(Language::English);
  const DateTime now = At(9, 0, 0);
  struct Case {
    Task head;
    WaitProgress progress;
    const char* headline;
  };
  const Case kCases[] = {
      {ProgramEndTask(TaskKind::TurnOff), {}, "Shutdown when the program ends."},
      {WaitingTask(TaskKind::Restart, NetworkQuietTrigger{}), {}, "Restart after downloads."},
      {WaitingTask(TaskKind::TurnOff, NetworkQuietTrigger{}),
       {1258291, 0},
       "Shutdown after downloads, now 1.2 MB/s"},
      {WaitingTask(TaskKind::Sleep, NoInputTrigger{}),
       {std::nullopt, 12 * 60 * 1000},
       "Sleep in 18 min if idle."},
      {Task(now + 29.0 / kSecondsPerDay, TaskKind::Alarm), {}, "Alarm in 29 s."},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.headline);
    EXPECT_EQ(HeadTaskHeadline(c.head, now, c.progress), c.headline);
  }
}

TEST(SchedulerTexts, RowCaptionsInEnglish) {
  const LanguageGuard english(Language::English);
  const FakeClock clock(0);
  struct Case {
    Task task;
    WaitProgress progress;
    const char* caption;
  };
  const Case kCases[] = {
      {Task(At(22, 30, 0), TaskKind::TurnOff), {}, "Shut down: 2026/12/10 22:30:00"},
      {Task(At(23, 30, 0), TaskKind::Restart, "", TaskRepeat{RepeatKind::Daily, At(23, 30, 0)}),
       {},
       "Restart: Daily 23:30\r\n2026/12/10 23:30:00"},
      {Task(At(12, 30, 15), TaskKind::Alarm, "Meeting",
            TaskRepeat{RepeatKind::Weekly, At(12, 30, 15)}),
       {},
       "Alarm: Every Thu 12:30:15 Meeting\r\n2026/12/10 12:30:15"},
      {Task(At(7, 5, 0), TaskKind::Lock, "", TaskRepeat{RepeatKind::Weekdays, At(7, 5, 0)}),
       {},
       "Lock: Weekdays 7:05\r\n2026/12/10 7:05:00"},
      {WaitingTask(TaskKind::TurnOff, NetworkQuietTrigger{}),
       {1258291, 65 * 1000},
       "Shut down: After downloads: now 1.2 MB/s, slow 1 min 5 s/3 min"},
      {WaitingTask(TaskKind::Alarm, NoInputTrigger{}, "Go home", RepeatKind::EachTime),
       {std::nullopt, (12 * 60 + 5) * 1000},
       "Alarm: Each time Go home\r\nWhen idle: idle 12 min 5 s/30 min"},
      {ProgramEndTask(TaskKind::Sleep), {}, "Sleep: After Notes|notepad.exe ends"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(TaskRowCaption(c.task, clock, c.progress), c.caption);
  }
}

TEST(SchedulerTexts, ClosingProgramsInEnglish) {
  const LanguageGuard english(Language::English);
  struct Case {
    std::vector<std::string> names;
    ShutdownMethod method;
    const char* text;
  };
  const Case kCases[] = {
      {{"Notepad", "Word"}, ShutdownMethod::AskPrograms, "Will close: Notepad, Word"},
      {{"Notepad", "Word", "Paint"},
       ShutdownMethod::ForceAll,
       "Will close without saving: Notepad, Word and others, 3 in all"},
      {{"", ""}, ShutdownMethod::ForceHung, "Will close: 2 program(s)"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ClosingProgramsText(c.names, c.method), c.text);
  }
}
