#include "storage/task_file_format.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"

namespace {

TaskQueue QueueOf(std::vector<Task> tasks) {
  TaskQueue queue;
  queue.AddAll(std::move(tasks));
  return queue;
}

}  // namespace

TEST(TaskFile, WritesAHeaderAndOneReadableLinePerTask) {
  const TaskQueue queue = QueueOf({
      {At(23, 30, 0), TaskKind::Alarm, "起床\r\n带上钥匙"},
      {At(23, 0, 5) + 0.4 / kSecondsPerDay, TaskKind::TurnOff, ""},
      {At(1, 2, 3, 1, 1, 2027), TaskKind::OpenWebPage, "http://a.invalid/?a|b"},
      {At(8, 0, 0, 29, 2, 2028), TaskKind::CloseProgram, "C:\\x\\y.exe"},
      {At(7, 0, 0, 11), TaskKind::Sleep, "", {RepeatKind::Weekdays, At(7, 0, 0, 11)}},
      {At(7, 0, 1, 11), TaskKind::Lock, "", {RepeatKind::Weekly, At(7, 0, 1, 11)}},
      // Postponed: the series keeps its own time.
      {At(7, 5, 0, 11), TaskKind::Alarm, "", {RepeatKind::Daily, At(7, 0, 2, 11)}},
  });
  EXPECT_EQ(WriteTaskFile(queue),
            "Dusk task list 4\r\n"
            "turn-off|2026-12-10 23:00:05||||2\r\n"
            "alarm|2026-12-10 23:30:00|起床\\r\\n带上钥匙|||1\r\n"
            "sleep|2026-12-11 07:00:00||weekdays||5\r\n"
            "lock|2026-12-11 07:00:01||weekly||6\r\n"
            "alarm|2026-12-11 07:05:00||daily 2026-12-11 07:00:02||7\r\n"
            "open-web-page|2027-01-01 01:02:03|http://a.invalid/?a\\|b|||3\r\n"
            "close-program|2028-02-29 08:00:00|C:\\\\x\\\\y.exe|||4\r\n");
  EXPECT_EQ(WriteTaskFile(TaskQueue()), "Dusk task list 4\r\n");
}

TEST(TaskFile, EveryParameterAndKindComesBackByteForByte) {
  static const std::string kParams[] = {
      "",
      "|",
      "||",
      "\r\n",
      "\n",
      "\r",
      "a\n\rb\r\n",
      "\"quoted\" 'and' \"\"",
      "\\",
      "\\\\|\\r\\n",
      "ends in a backslash\\",
      "C:\\Program Files\\Dusk\\Dusk.exe",
      std::string(255, 'x'),
      std::string(85, '\xE5') + std::string(85, '\x88') + std::string(85, '\x86'),  // not UTF-8
      "起床了！\t带上钥匙 – ☕ 𝄞",
      std::string("NUL\0inside", 10),
      " leading and trailing spaces ",
  };
  std::vector<Task> tasks;
  int second = 0;
  for (const std::string& param : kParams) {
    const auto kind = static_cast<TaskKind>(second % kTaskKindCount);
    const auto repeat = static_cast<RepeatKind>(second % kDatedRepeatKindCount);
    // Every other series postponed by an hour from its own occurrence.
    const DateTime occurrence = At(second % 2 ? 12 : 11, 0, second);
    const DateTime when = At(12, 0, second++);
    tasks.push_back({when, kind, param,
                     repeat == RepeatKind::None ? TaskRepeat{} : TaskRepeat{repeat, occurrence}});
    tasks.back().Id = static_cast<std::uint32_t>(1000 - second);
  }
  const std::string file = WriteTaskFile(QueueOf(tasks));
  const TaskFileReading reading = ReadTaskFile(file);
  EXPECT_EQ(reading.outcome, TaskFileReading::Outcome::Whole);
  EXPECT_EQ(reading.unreadLines, 0u);
  ASSERT_EQ(reading.tasks.size(), tasks.size());
  for (std::size_t i = 0; i < tasks.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(reading.tasks[i], tasks[i]);
  }
  EXPECT_EQ(WriteTaskFile(QueueOf(reading.tasks)), file);
}

TEST(TaskFile, ABadLineIsDroppedAlone) {
  static const char* const kBadLines[] = {
      "nap|2026-12-10 12:00:00|",               // no such kind
      "Alarm|2026-12-10 12:00:00|",             // kinds are lower case
      "alarm|2026-02-29 12:00:00|",             // not a leap year
      "alarm|2026-12-10 24:00:00|",             // no such hour
      "alarm|2026-12-10 12:00|",                // to the second
      "alarm|2026-12-10T12:00:00|",             // a space between date and time
      "alarm|+026-12-10 12:00:00|",             // digits only
      "alarm|2026-12-10 12:00:00",              // no parameter field
      "alarm|2026-12-10 12:00:00|a|every day",  // a field format 1 has not
      "alarm|2026-12-10 12:00:00|a\\tb",        // no such escape
      "alarm|2026-12-10 12:00:00|ends in half an escape\\",
      "alarm",
      "\xEF\xBB\xBF"
      "alarm|2026-12-10 12:00:00|",  // a byte-order mark is the file's, not a line's
  };
  static const char* const kBadLinesOfFormat2[] = {
      "alarm|2026-12-10 12:00:00|a",                        // a line of format 1
      "alarm|2026-12-10 12:00:00|a|daily",                  // no trigger field
      "alarm|2026-12-10 12:00:00|a|daily||",                // a field format 2 has not
      "alarm|2026-12-10 12:00:00|a|monthly|",               // no such repeat
      "alarm|2026-12-10 12:00:00|a|Daily|",                 // repeats are lower case
      "alarm|2026-12-10 12:00:00|a\\|daily|",               // an escape does not end a field
      "alarm|2026-12-10 12:00:00|a|daily 2026-12-10|",      // half an occurrence
      "alarm|2026-12-10 12:00:00|a| 2026-12-10 11:00:00|",  // an occurrence, no repeat
  };
  const auto readAround = [](const char* bad, bool format1) {
    return ReadTaskFile(std::string(format1 ? "Dusk task list 1\n" : "Dusk task list 2\n") +
                        "alarm|2026-12-10 11:00:00|first" + (format1 ? "" : "||") + "\r\n" + bad +
                        "\r\n\r\n" + "alarm|2026-12-10 13:00:00|last" + (format1 ? "" : "|daily|") +
                        "\n");
  };
  std::vector<std::pair<const char*, bool>> cases;
  for (const char* bad : kBadLines) cases.emplace_back(bad, true);
  for (const char* bad : kBadLinesOfFormat2) cases.emplace_back(bad, false);
  for (const auto& [bad, format1] : cases) {
    SCOPED_TRACE(bad);
    const TaskFileReading reading = readAround(bad, format1);
    EXPECT_EQ(reading.outcome, TaskFileReading::Outcome::LinesLost);
    EXPECT_EQ(reading.unreadLines, 1u);
    ASSERT_EQ(reading.tasks.size(), 2u);
    EXPECT_EQ(reading.tasks[0].Param, "first");
    EXPECT_EQ(reading.tasks[1].Param, "last");
  }
}

TEST(TaskFile, ReadsWhatAPersonSavedWithNotepad) {
  const TaskFileReading reading = ReadTaskFile(
      "\xEF\xBB\xBF"
      "Dusk task list 1\n\nalarm|2026-12-10 12:00:00|饭\n\n");
  EXPECT_EQ(reading.outcome, TaskFileReading::Outcome::Whole);
  ASSERT_EQ(reading.tasks.size(), 1u);
  EXPECT_EQ(reading.tasks[0], (Task{At(12, 0, 0), TaskKind::Alarm, "饭"}));
}

// A list saved before repeats existed: three fields, read as tasks that do not repeat.
TEST(TaskFile, ReadsTheFormatBeforeRepeats) {
  const TaskFileReading reading = ReadTaskFile(
      "Dusk task list 1\r\nturn-off|2026-12-10 23:00:00|\r\nalarm|2026-12-10 23:30:00|a\\|b\r\n");
  EXPECT_EQ(reading.outcome, TaskFileReading::Outcome::Whole);
  EXPECT_EQ(reading.tasks, (std::vector<Task>{{At(23, 0, 0), TaskKind::TurnOff, ""},
                                              {At(23, 30, 0), TaskKind::Alarm, "a|b"}}));
}

TEST(TaskFile, ReadsNothingOfAFileThatIsNotItsOwnOrNewer) {
  struct Case {
    std::string file;
    TaskFileReading::Outcome outcome;
    std::size_t unreadLines;
  };
  const Case kCases[] = {
      {"Dusk task list 5\r\nalarm|2026-12-10 12:00:00|a||\r\nalarm|2026-12-10 12:00:00|b||\r\n",
       TaskFileReading::Outcome::NewerFormat, 2},
      {"Dusk task list 12\r\nwhatever a later version writes\r\n",
       TaskFileReading::Outcome::NewerFormat, 1},
      {"", TaskFileReading::Outcome::NotATaskList, 0},
      {"Dusk task list 0\r\nalarm|2026-12-10 12:00:00|a\r\n",
       TaskFileReading::Outcome::NotATaskList, 1},
      {"Dusk task list 01\r\n", TaskFileReading::Outcome::NotATaskList, 0},
      {"Dusk task list 1 \r\n", TaskFileReading::Outcome::NotATaskList, 0},
      {"alarm|2026-12-10 12:00:00|no header\r\n", TaskFileReading::Outcome::NotATaskList, 0},
      {std::string("\0\0\0\0\x7F"
                   "ELF\x02\x01",
                   10),
       TaskFileReading::Outcome::NotATaskList, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file);
    const TaskFileReading reading = ReadTaskFile(c.file);
    EXPECT_EQ(reading.outcome, c.outcome);
    EXPECT_TRUE(reading.tasks.empty());
    EXPECT_EQ(reading.unreadLines, c.unreadLines);
  }
}

// Scripts name a task by its id: the file keeps it, and a line without a
// sound one is not read. A list of an earlier format has no ids: the queue
// gives its tasks new ones.
TEST(TaskFile, KeepsEachTasksId) {
  const TaskFileReading reading = ReadTaskFile(
      "Dusk task list 4\r\n"
      "alarm|2026-12-10 11:00:00|a|||41\r\n"
      "alarm|2026-12-10 11:00:00|no id|||\r\n"
      "alarm|2026-12-10 11:00:00|id 0|||0\r\n"
      "alarm|2026-12-10 11:00:00|not a number|||4x\r\n"
      "alarm|2026-12-10 11:00:00|too large|||4294967296\r\n"
      "alarm|2026-12-10 11:00:00|five fields||\r\n"
      "alarm|2026-12-10 12:00:00|b|||7\r\n");
  EXPECT_EQ(reading.unreadLines, 5u);
  ASSERT_EQ(reading.tasks.size(), 2u);
  EXPECT_EQ(reading.tasks[0].Id, 41u);
  EXPECT_EQ(reading.tasks[1].Id, 7u);

  TaskQueue queue = QueueOf(std::move(ReadTaskFile(WriteTaskFile(QueueOf(reading.tasks))).tasks));
  EXPECT_EQ(queue.Find(41)->Param, "a");
  EXPECT_EQ(queue.Find(7)->Param, "b");
  // Two lines with one id (a file put together by hand): the later one gets a new id.
  queue.AddAll(ReadTaskFile("Dusk task list 2\r\nalarm|2026-12-10 13:00:00|c||\r\n").tasks);
  queue.Add({At(14, 0, 0), TaskKind::Alarm, "d"});
  queue.Add(*queue.Find(7));
  EXPECT_EQ(queue.Find(42)->Param, "c");
  EXPECT_EQ(queue.Find(43)->Param, "d");
  EXPECT_EQ(queue.Find(44)->Param, "b");
}
