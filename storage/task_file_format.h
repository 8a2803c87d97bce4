#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scheduler/task_queue.h"

// The saved task list as a text a person can read: a header line with the
// format's number, then one line per task, earliest first:
//
//   Dusk task list 4
//   alarm|2026-12-10 23:30:00|起床\r\n带上钥匙|daily||1
//   turn-off|9999-12-31 00:00:00|||program-end:4242:133500000000000000:5:无标题 -
//   记事本\|notepad.exe|7
//   sleep|9999-12-31 00:00:00|||net-quiet:20:3:1:15|8
//
// kind | due moment in local time to the second | parameter | repeat | trigger | id.
// In the parameter and the trigger a backslash, "|", CR, LF and NUL are
// written \\ \| \r \n \0; everything else, bytes that are not UTF-8 included,
// stands as it is. Lines end in CRLF; LF alone is read too, and blank lines
// are skipped.
//
// The repeat is empty for a task that runs once, else "daily", "weekdays" or
// "weekly", and when a postponement or a clock change moved the due moment,
// a blank and the occurrence it stands for: the series comes back at that
// occurrence's time of day ("daily 2026-12-10 23:30:00"). The trigger
// is empty for a task due at its moment; a task that waits for a program to
// end has "program-end:" process id ":" start time ":" delay in minutes ":"
// and the picker's "title|image name" (or the image name alone), and the last
// day as its moment. A task that waits for a quiet network has "net-quiet:"
// rate in KB/s ":" minutes ":" 1 or 0 for the processor condition ":" its
// percentage; one that waits for nobody at the computer "no-input:" minutes
// ":" 1 or 0 for the guard. Such a task has the last day as its moment while
// it waits, and its due moment in its last half minute; its repeat is empty
// or "each-time" (after each time it waits again). The id is the task's, in
// decimal, above 0: scripts name the task by it, so it stays the same across
// restarts.
//
// A line of format 4 has exactly these six fields; formats 2 and 3 (3 written
// with conditions, 2 before them) have the first five, and format 1, written
// before repeats and triggers, the first three: all are still read, their
// tasks given new ids. A program that dropped fields it does not know on
// reading would lose them at its next save, so this one refuses a line with
// other fields, and a file of a newer format, whole.
inline constexpr int kTaskFileFormat = 4;
inline constexpr char kTaskFileHeader[] = "Dusk task list ";

[[nodiscard]] std::string WriteTaskFile(const TaskQueue& queue);

[[nodiscard]] std::string EscapeTaskParam(std::string_view param);
// None when it is not what EscapeTaskParam writes.
[[nodiscard]] std::optional<std::string> UnescapeTaskParam(std::string_view escaped);

// The trigger field's text before escaping; empty for a task due at its moment.
[[nodiscard]] std::string TriggerFieldText(const ProgramEndTrigger& trigger);
// None when it is not what TriggerFieldText writes.
[[nodiscard]] std::optional<ProgramEndTrigger> ReadTriggerField(std::string_view text);

// The trigger field's text of a condition before escaping; empty for none.
[[nodiscard]] std::string ConditionFieldText(const WaitCondition& condition);
// None when it is not what ConditionFieldText writes, or out of bounds.
[[nodiscard]] std::optional<WaitCondition> ReadConditionField(std::string_view text);

struct TaskFileReading {
  enum class Outcome {
    Whole,        // every line read
    LinesLost,    // the lines that could be read, not all
    NewerFormat,  // written by a newer program: not read
    NotATaskList  // no header of ours: not read
  };
  Outcome outcome = Outcome::Whole;
  std::vector<Task> tasks;
  // Non-blank lines below the header that were not read.
  std::size_t unreadLines = 0;
};
[[nodiscard]] TaskFileReading ReadTaskFile(std::string_view bytes);
