#include <gtest/gtest.h>

#include <memory>

#include "language/language.h"
#include "main/entry_texts.h"
#include "main/program.h"
#include "startup/start_arguments.h"
#include "tests/fakes/fake_platform.h"

// Commands of dusk-cli carried out by the running program on the fake
// platform: what each `when` comes to at the program's own clock, the entry
// panel's refusals, the listing and its ids across a restart.
namespace {

constexpr std::uint32_t kNotepad = 4242;

class CommandRunnerTest : public testing::Test {
 protected:
  explicit CommandRunnerTest(DateTime now = At(14, 0, 0)) : platform(now) {
    platform.processes.processes = {{1, "explorer.exe"}, {kNotepad, "notepad.exe"}};
    platform.processes.processes[1].startTime = 133500000000000000;
    Start();
  }

  void Start() {
    program.reset();
    program = std::make_unique<Program>(platform.Set(), kTestUpdateHost, actions);
    program->Start();
  }

  CommandReply Run(std::vector<std::string> words) { return program->Form1.RunCommand(words); }
  const TaskQueue& Queue() { return program->Form1.Tasks().Queue(); }

  FakePlatform platform;
  RecordingTaskActions actions{platform.clock};
  std::unique_ptr<Program> program;
};

}  // namespace

TEST_F(CommandRunnerTest, EachFormOfWhenIsDueWhereThePanelWouldPutIt) {
  static const struct {
    std::vector<std::string> words;
    DateTime when;
    TaskKind kind;
    std::string param;
    RepeatKind repeat;
  } kCases[] = {
      {{"add", "alarm", "in", "90m", "--text", "测试"},
       At(15, 30, 0),
       TaskKind::Alarm,
       "测试",
       RepeatKind::None},
      {{"add", "shutdown", "in", "1h30m"}, At(15, 30, 0), TaskKind::TurnOff, "", RepeatKind::None},
      {{"add", "restart", "in", "2d"}, At(14, 0, 0, 12), TaskKind::Restart, "", RepeatKind::None},
      {{"add", "logoff", "at", "23:00"}, At(23, 0, 0), TaskKind::LogOff, "", RepeatKind::None},
      // Passed today: tomorrow.
      {{"add", "lock", "at", "9:05"}, At(9, 5, 0, 11), TaskKind::Lock, "", RepeatKind::None},
      // Now to the millisecond is not past, as on the panel.
      {{"add", "sleep", "at", "14:00:00"}, At(14, 0, 0), TaskKind::Sleep, "", RepeatKind::None},
      {{"add", "alarm", "at", "2026-12-24", "23:00", "--text", "圣诞"},
       At(23, 0, 0, 24),
       TaskKind::Alarm,
       "圣诞",
       RepeatKind::None},
      {{"add", "alarm", "at", "2028-02-29", "07:30:15"},
       At(7, 30, 15, 29, 2, 2028),
       TaskKind::Alarm,
       "",
       RepeatKind::None},
      // Thursday 9:00 has passed: the next weekday is Friday.
      {{"add", "url", "at", "9:00", "--url", "https://example.org/", "--repeat", "weekdays"},
       At(9, 0, 0, 11),
       TaskKind::OpenWebPage,
       "https://example.org/",
       RepeatKind::Weekdays},
      {{"add", "open", "in", "5m", "--program", "C:\\工具\\备份.EXE"},
       At(14, 5, 0),
       TaskKind::OpenProgram,
       "C:\\工具\\备份.EXE",
       RepeatKind::None},
      {{"add", "close", "in", "1d1m", "--program", "notepad.exe"},
       At(14, 1, 0, 11),
       TaskKind::CloseProgram,
       "notepad.exe",
       RepeatKind::None},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.words[1] + " " + c.words[2] + " " + c.words[3]);
    Run({"cancel", "all"});
    const CommandReply reply = Run(c.words);
    ASSERT_EQ(reply.code, ExitCode::Done) << reply.err;
    ASSERT_EQ(Queue().Count(), 1u);
    const Task& task = Queue().Head();
    EXPECT_EQ(reply.out, std::to_string(task.Id) + "\n");
    EXPECT_EQ(CompareDateTime(task.When, c.when), 0)
        << DecodeDateTime(task.When).day << " " << DecodeDateTime(task.When).hour;
    EXPECT_EQ(task.Kind, c.kind);
    EXPECT_EQ(task.Param, c.param);
    EXPECT_EQ(task.Repeat.kind, c.repeat);
  }
}

TEST_F(CommandRunnerTest, WaitsForAProgramNamedByItsIdOrItsImageName) {
  ASSERT_EQ(Run({"add", "alarm", "after-exit", "notepad.exe", "+10m", "--text", "喝水"}).code,
            ExitCode::Done);
  ASSERT_EQ(Run({"add", "shutdown", "after-exit", "4242"}).code, ExitCode::Done);
  ASSERT_EQ(Queue().Count(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Queue().At(i).AfterProgram.ProcessId, kNotepad);
    EXPECT_EQ(Queue().At(i).AfterProgram.StartTime, 133500000000000000u);
    EXPECT_EQ(Queue().At(i).AfterProgram.ImageName, "notepad.exe");
  }
  EXPECT_EQ(Queue().At(0).AfterProgram.DelayMinutes + Queue().At(1).AfterProgram.DelayMinutes, 10);
}

TEST_F(CommandRunnerTest, RefusesWithThePanelsOwnMessage) {
  static const struct {
    std::vector<std::string> words;
    std::string reason;
  } kCases[] = {
      {{"add", "alarm", "at", "2026-12-10", "13:59:59"}, kPastMomentText},
      {{"add", "shutdown", "at", "2025-01-01", "0:00"}, kPastMomentText},
      {{"add", "open", "in", "5m", "--program", "notes.txt"}, kNotAProgramText},
      {{"add", "alarm", "after-exit", "aria2c.exe"}, kCannotWaitText},
      {{"add", "alarm", "after-exit", "999"}, kCannotWaitText},
      {{"cancel", "7"}, FormatText(TextId::CliNoSuchTask, {"7"})},
      {{"postpone", "7", "10m"}, FormatText(TextId::CliNoSuchTask, {"7"})},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.words[1]);
    const CommandReply reply = Run(c.words);
    EXPECT_EQ(reply.code, ExitCode::Refused);
    EXPECT_EQ(reply.err, c.reason + "\n");
    EXPECT_TRUE(reply.out.empty());
    EXPECT_TRUE(Queue().Empty());
  }
  // Wrong words never reach the queue either.
  const CommandReply wrong = Run({"add", "alarm", "at", "24:00"});
  EXPECT_EQ(wrong.code, ExitCode::WrongUsage);
  EXPECT_EQ(wrong.err, FormatText(TextId::CliBadTime, {"24:00"}) + "\n");
}

TEST_F(CommandRunnerTest, ListsCancelsAndPostponesByIdsThatOutliveARestart) {
  Run({"add", "alarm", "at", "23:30", "--text", "起床\t\"带\"钥匙", "--repeat", "daily"});
  Run({"add", "shutdown", "in", "30m"});
  Run({"add", "lock", "after-exit", "notepad.exe", "+5m"});
  EXPECT_EQ(Run({"list"}).out,
            "2\tshutdown\t2026-12-10 14:30:00\t-\t\n"
            "1\talarm\t2026-12-10 23:30:00\tdaily\t起床 \"带\"钥匙\n"
            "3\tlock\tafter-exit notepad.exe +5m\t-\t\n");
  const std::string json =
      "{\"version\":1,\"tasks\":["
      "{\"id\":2,\"kind\":\"shutdown\",\"due\":\"2026-12-10T14:30:00\",\"repeat\":null,"
      "\"trigger\":null,\"text\":\"\"},"
      "{\"id\":1,\"kind\":\"alarm\",\"due\":\"2026-12-10T23:30:00\",\"repeat\":\"daily\","
      "\"trigger\":null,\"text\":\"起床\\u0009\\\"带\\\"钥匙\"},"
      "{\"id\":3,\"kind\":\"lock\",\"due\":null,\"repeat\":null,\"trigger\":{\"type\":"
      "\"after-exit\",\"pid\":4242,\"image\":\"notepad.exe\",\"delayMinutes\":5},\"text\":\"\"}"
      "]}\n";
  EXPECT_EQ(Run({"list", "--json"}).out, json);

  // The saved list keeps the ids: the restarted program names the tasks alike.
  Start();
  EXPECT_EQ(Run({"list", "--json"}).out, json);
  // A new task never takes the id of one that was read.
  Run({"add", "alarm", "in", "1h"});
  EXPECT_EQ(Queue().Find(4)->Kind, TaskKind::Alarm);

  EXPECT_EQ(Run({"postpone", "2", "1h10m"}).code, ExitCode::Done);
  EXPECT_EQ(CompareDateTime(Queue().Find(2)->When, At(15, 40, 0)), 0);
  EXPECT_EQ(Run({"postpone", "3", "1m"}).err,
            FormatText(TextId::CliWaitingTaskPostpone, {"3"}) + "\n");
  EXPECT_EQ(Run({"cancel", "1"}).code, ExitCode::Done);
  EXPECT_EQ(Queue().Find(1), nullptr);
  EXPECT_EQ(Queue().Count(), 3u);
  EXPECT_EQ(Run({"cancel", "all"}).code, ExitCode::Done);
  EXPECT_TRUE(Queue().Empty());
  EXPECT_EQ(Run({"list", "--json"}).out, "{\"version\":1,\"tasks\":[]}\n");
}

namespace {

// The last Sunday of March 2027, half an hour before the clock skips from 02:00 to 03:00.
class ClockChangeTest : public CommandRunnerTest {
 protected:
  ClockChangeTest() : CommandRunnerTest(At(1, 30, 0, 28, 3, 2027)) {}
};

}  // namespace

TEST_F(ClockChangeTest, ACountdownCountsElapsedTimeAndASkippedTimeComesAfterTheGap) {
  static const struct {
    std::vector<std::string> words;
    DateTime when;
  } kCases[] = {
      {{"add", "alarm", "in", "1h"}, At(3, 30, 0, 28, 3, 2027)},
      {{"add", "alarm", "in", "20m"}, At(1, 50, 0, 28, 3, 2027)},
      {{"add", "alarm", "at", "2:30"}, At(3, 0, 0, 28, 3, 2027)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.words[3]);
    Run({"cancel", "all"});
    ASSERT_EQ(Run(c.words).code, ExitCode::Done);
    EXPECT_EQ(CompareDateTime(Queue().Head().When, c.when), 0);
  }
}

// "Dusk.exe add ..." from a shortcut: the copy it starts stays in the tray and adds the task; a
// refused one is not added, and nothing is shown.
TEST(StartCommandTest, DuskExeAddStartsInTheTrayWithTheTask) {
  static const struct {
    std::vector<std::string> words;
    std::size_t tasks;
  } kCases[] = {
      {{"add", "alarm", "in", "5m", "--text", "喝水"}, 1},
      {{"add", "alarm", "at", "2026-12-10", "13:00"}, 0},
      {{"add", "alarm", "at", "24:00"}, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.words[3]);
    StartArguments arguments = ParseStartArguments("");
    TakeStartCommand(c.words, arguments);
    EXPECT_TRUE(arguments.inTray);
    FakePlatform platform(At(14, 0, 0));
    Program program(platform.Set(), kTestUpdateHost);
    program.Start(arguments);
    EXPECT_FALSE(program.Form1.Form1.Visible());
    EXPECT_EQ(program.Form1.Tasks().Queue().Count(), c.tasks);
    EXPECT_TRUE(platform.windowSystem.boxes.empty());
  }
  // Other words are no command: the start is as it was.
  StartArguments plain = ParseStartArguments("/tray");
  TakeStartCommand(std::vector<std::string>{"/tray"}, plain);
  EXPECT_TRUE(plain.command.empty());
}

TEST_F(CommandRunnerTest, TasksThatWaitForQuietOrForNobodyListWithTheirConditions) {
  ASSERT_EQ(Run({"add", "hibernate", "downloads-done", "below", "50KB/s", "for", "5m"}).code,
            ExitCode::Done);
  ASSERT_EQ(
      Run({"add", "screen-off", "idle", "10m", "even-watching", "--repeat", "each-time"}).code,
      ExitCode::Done);
  const Task* quiet = Queue().Find(1);
  const Task* idle = Queue().Find(2);
  ASSERT_TRUE(quiet && idle);
  EXPECT_EQ(quiet->Kind, TaskKind::Hibernate);
  EXPECT_EQ(quiet->Condition, WaitCondition(NetworkQuietTrigger{50, 5, false, 15}));
  EXPECT_EQ(CompareDateTime(quiet->When, kWaitingMoment), 0);
  EXPECT_EQ(idle->Condition, WaitCondition(NoInputTrigger{10, false}));
  EXPECT_EQ(idle->Repeat.kind, RepeatKind::EachTime);
  EXPECT_EQ(Run({"list"}).out,
            "1\thibernate\tdownloads-done below 50KB/s for 5m\t-\t\n"
            "2\tscreen-off\tidle 10m even-watching\teach-time\t\n");
  EXPECT_EQ(Run({"list", "--json"}).out,
            "{\"version\":1,\"tasks\":["
            "{\"id\":1,\"kind\":\"hibernate\",\"due\":null,\"repeat\":null,\"trigger\":"
            "{\"type\":\"downloads-done\",\"belowKBps\":50,\"minutes\":5,\"cpuBelowPercent\":null},"
            "\"text\":\"\"},"
            "{\"id\":2,\"kind\":\"screen-off\",\"due\":null,\"repeat\":\"each-time\",\"trigger\":"
            "{\"type\":\"idle\",\"minutes\":10,\"evenWatching\":true},\"text\":\"\"}"
            "]}\n");
}

namespace {

// The texts in English while it lives, in Chinese again after it, a failed test's too.
class EnglishTexts {
 public:
  EnglishTexts() { SetActiveLanguage(Language::English); }
  EnglishTexts(const EnglishTexts&) = delete;
  EnglishTexts& operator=(const EnglishTexts&) = delete;
  ~EnglishTexts() { SetActiveLanguage(Language::Chinese); }
};

}  // namespace

// What dusk-cli prints comes in the program's language; the listing's fields are words scripts
// read, the same in every language.
TEST_F(CommandRunnerTest, SpeaksTheProgramsLanguageAndListsInTheScriptsWords) {
  Run({"add", "shutdown", "in", "30m"});
  Run({"add", "lock", "after-exit", "notepad.exe", "+5m"});
  static const struct {
    std::vector<std::string> words;
    std::string chinese;  // the first line the command prints, or all of a listing
    std::string english;
  } kCases[] = {
      {{"--help"}, "用法：\n", "Usage:\n"},
      {{"add", "boil", "in", "5m"}, "不认识的任务类型：“boil”\n", "Unknown task kind: \"boil\"\n"},
      {{"add", "alarm", "in", "5m", "--text"},
       "选项缺少值：“--text”\n",
       "Option without a value: \"--text\"\n"},
      {{"cancel", "7"}, "没有这个编号的任务：7\n", "No task with id 7\n"},
      {{"postpone", "2", "10m"},
       "等待软件结束的任务不能推迟：2\n",
       "A task waiting for a program to end cannot be postponed: 2\n"},
      {{"list"},
       "1\tshutdown\t2026-12-10 14:30:00\t-\t\n2\tlock\tafter-exit notepad.exe +5m\t-\t\n",
       "1\tshutdown\t2026-12-10 14:30:00\t-\t\n2\tlock\tafter-exit notepad.exe +5m\t-\t\n"},
  };
  const auto printed = [&](const std::vector<std::string>& words) {
    const CommandReply reply = Run(words);
    const std::string& text = reply.out.empty() ? reply.err : reply.out;
    return words[0] == "list" ? text : text.substr(0, text.find('\n') + 1);
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.words[0] + " " + c.words.back());
    EXPECT_EQ(printed(c.words), c.chinese);
    const EnglishTexts english;
    EXPECT_EQ(printed(c.words), c.english);
  }
  EXPECT_EQ(Queue().Count(), 2u);
}
