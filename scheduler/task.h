#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/clock.h"
#include "scheduler/repeat.h"

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
};

inline constexpr int kTaskKindCount = 9;

struct Task {
  Task() = default;
  // Fields a task may go without come last, with their defaults.
  Task(DateTime when, TaskKind kind, std::string param = {}, TaskRepeat repeat = {})
      : When(when), Kind(kind), Param(std::move(param)), Repeat(repeat) {}

  DateTime When = 0;
  TaskKind Kind = TaskKind::TurnOff;
  std::string Param;
  TaskRepeat Repeat;
  // Field by field, the moment exactly: the same record, not the same second.
  friend bool operator==(const Task&, const Task&) = default;
};

// Shut-down, restart, log-off and sleep: the user is warned and may stop them.
[[nodiscard]] bool IsPowerAction(TaskKind kind);

// Negative when a is due first, positive when b is, 0 within one millisecond.
[[nodiscard]] int CompareTasksByWhen(const Task& a, const Task& b);

// The row caption of the task list, which is also the tray hint.
[[nodiscard]] std::string TaskRowCaption(const Task& task, const Clock& clock);

// The item text of the kind in the action radio group.
[[nodiscard]] const char* TaskKindItemText(TaskKind kind);
