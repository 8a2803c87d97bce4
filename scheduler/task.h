#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/clock.h"
#include "scheduler/repeat.h"
#include "scheduler/wait_conditions.h"

enum class TaskKind : std::int32_t {
  TurnOff = 0,
  Restart = 1,
  LogOff = 2,
  Alarm = 3,
  OpenProgram = 4,
  CloseProgram = 5,
  OpenWebPage = 6,
  Sleep = 7,
  Lock = 8,
  Hibernate = 9,
  ScreenOff = 10,
};

// A new kind comes last, and is counted here: its row in kTaskKinds follows.
inline constexpr int kTaskKindCount = static_cast<int>(TaskKind::ScreenOff) + 1;

// The last day the date-time value holds: the moment of a task that waits for
// a program to end, which sorts it after every dated task.
inline constexpr DateTime kWaitingMoment = 2958465.0;  // 9999-12-31

// "After a program ends": the one process picked (not its name: a new process
// of the same name does not hold the task back), told apart from a later
// process with the same id by its start time. Empty for a task due at its moment.
struct ProgramEndTrigger {
  std::string ImageName;
  std::string WindowTitle;  // empty when the process had no titled window
  std::uint32_t ProcessId = 0;
  std::uint64_t StartTime = 0;  // the system's creation time, in its own units
  int DelayMinutes = 0;
  [[nodiscard]] bool Waiting() const { return !ImageName.empty(); }
  // "title|image name", or the image name alone, as the picker showed it.
  [[nodiscard]] std::string Label() const;
  // From such a label: an image name holds no "|", a title may.
  void SetLabel(std::string_view label);
  friend bool operator==(const ProgramEndTrigger&, const ProgramEndTrigger&) = default;
};

inline constexpr int kMaxProgramEndDelayMinutes = 60;

struct Task {
  Task() = default;
  // Fields a task may go without come last, with their defaults; the trigger
  // is set by name.
  Task(DateTime when, TaskKind kind, std::string param = {}, TaskRepeat repeat = {})
      : When(when), Kind(kind), Param(std::move(param)), Repeat(repeat) {}

  DateTime When = 0;
  TaskKind Kind = TaskKind::TurnOff;
  std::string Param;
  TaskRepeat Repeat;
  ProgramEndTrigger AfterProgram;
  // A quiet network or nobody at the computer. Kept while the task is dated in
  // its last half minute, where it may go back to waiting, and for "每次".
  WaitCondition Condition;
  // Names the task to scripts for as long as it waits, across restarts: the
  // queue gives one to a task that has none (0), and the saved list keeps it.
  std::uint32_t Id = 0;
  // Field by field, the moment exactly: the same record, not the same second.
  friend bool operator==(const Task&, const Task&) = default;
};

[[nodiscard]] inline bool IsWaitingForProgram(const Task& task) {
  return task.AfterProgram.Waiting();
}

[[nodiscard]] inline bool HasCondition(const Task& task) {
  return !std::holds_alternative<std::monostate>(task.Condition);
}

// Waiting for its condition, not yet dated.
[[nodiscard]] bool IsWaitingForCondition(const Task& task);

// Waiting for a program's end or a condition: sorted after the dated tasks.
[[nodiscard]] inline bool IsWaiting(const Task& task) {
  return IsWaitingForProgram(task) || IsWaitingForCondition(task);
}

// Negative when a is due first, positive when b is, 0 within one millisecond.
[[nodiscard]] int CompareTasksByWhen(const Task& a, const Task& b);

// The row caption of the task list, which is also the tray hint; a task that
// waits for a condition shows how far it got.
[[nodiscard]] std::string TaskRowCaption(const Task& task, const Clock& clock,
                                         const WaitProgress& progress = {});
