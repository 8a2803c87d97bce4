#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "language/text_id.h"
#include "scheduler/task.h"

// How long before a power action the user is warned of it (the warning texts
// say it in words), and how far ahead one found at most a minute late is moved.
inline constexpr std::int64_t kWarningLeadSeconds = 30;

// What the user enters for a kind, and how the entry panel gets it.
enum class TaskParameter {
  None,
  Text,            // typed in: the alarm's reminder
  ProgramFile,     // chosen in the file dialog
  RunningProgram,  // picked from the running programs
  WebAddress,      // typed in, after "http://"
};

// What a task kind is. A new kind is a row here, in the place of its value;
// the compiler then names the switches that must learn it.
struct TaskKindTraits {
  TaskKind kind;
  std::string_view fileName;  // its name in the saved list; never changes once released
  TextId itemText;            // the item of the action radio group
  TextId captionPrefix;       // the first words of its row in the task list
  // The kind's words in the headline; the Chinese end in "。" and the padding they are drawn with.
  TextId headlineText;
  TaskParameter parameter;
  std::optional<TextId> parameterPrompt;  // above the parameter field; none without a parameter
  int picture;                            // its picture in res/task_kinds.png
  // Shut-down, restart, log-off, sleep and hibernation: the user is warned and may stop them.
  bool powerAction;
  // Shut-down, restart and log-off end the user's session: the programs still running close.
  bool endsSession;
  std::optional<TextId> warningText;  // the balloon kWarningLeadSeconds ahead; power actions only
  // The first words of the report when it could not be done; the system's own
  // words follow. Closing a program counts what it could not end instead.
  std::optional<TextId> failureText;
};

inline constexpr std::array<TaskKindTraits, kTaskKindCount> kTaskKinds{{
    {TaskKind::TurnOff, "turn-off", TextId::KindTurnOffItem, TextId::KindTurnOffRowStart,
     TextId::KindTurnOffHeadline, TaskParameter::None, std::nullopt, 0, true, true,
     TextId::TurnOffWarning, TextId::TurnOffFailure},
    {TaskKind::Restart, "restart", TextId::KindRestartItem, TextId::KindRestartRowStart,
     TextId::KindRestartHeadline, TaskParameter::None, std::nullopt, 1, true, true,
     TextId::RestartWarning, TextId::RestartFailure},
    {TaskKind::LogOff, "log-off", TextId::KindLogOffItem, TextId::KindLogOffRowStart,
     TextId::KindLogOffHeadline, TaskParameter::None, std::nullopt, 2, true, true,
     TextId::LogOffWarning, TextId::LogOffFailure},
    {TaskKind::Alarm, "alarm", TextId::KindAlarmItem, TextId::KindAlarmRowStart,
     TextId::KindAlarmHeadline, TaskParameter::Text, TextId::AlarmPrompt, 3, false, false,
     std::nullopt, TextId::AlarmSoundMissing},
    {TaskKind::OpenProgram, "open-program", TextId::KindOpenProgramItem,
     TextId::KindOpenProgramRowStart, TextId::KindOpenProgramHeadline, TaskParameter::ProgramFile,
     TextId::OpenProgramPrompt, 4, false, false, std::nullopt, TextId::OpenFailure},
    {TaskKind::CloseProgram, "close-program", TextId::KindCloseProgramItem,
     TextId::KindCloseProgramRowStart, TextId::KindCloseProgramHeadline,
     TaskParameter::RunningProgram, TextId::CloseProgramPrompt, 5, false, false, std::nullopt,
     std::nullopt},
    {TaskKind::OpenWebPage, "open-web-page", TextId::KindOpenWebPageItem,
     TextId::KindOpenWebPageRowStart, TextId::KindOpenWebPageHeadline, TaskParameter::WebAddress,
     TextId::OpenWebPagePrompt, 6, false, false, std::nullopt, TextId::OpenFailure},
    {TaskKind::Sleep, "sleep", TextId::KindSleepItem, TextId::KindSleepRowStart,
     TextId::KindSleepHeadline, TaskParameter::None, std::nullopt, 7, true, false,
     TextId::SleepWarning, TextId::SleepFailure},
    {TaskKind::Lock, "lock", TextId::KindLockItem, TextId::KindLockRowStart,
     TextId::KindLockHeadline, TaskParameter::None, std::nullopt, 8, false, false, std::nullopt,
     TextId::LockFailure},
    {TaskKind::Hibernate, "hibernate", TextId::KindHibernateItem, TextId::KindHibernateRowStart,
     TextId::KindHibernateHeadline, TaskParameter::None, std::nullopt, 9, true, false,
     TextId::HibernateWarning, TextId::HibernateFailure},
    {TaskKind::ScreenOff, "screen-off", TextId::KindScreenOffItem, TextId::KindScreenOffRowStart,
     TextId::KindScreenOffHeadline, TaskParameter::None, std::nullopt, 10, false, false,
     std::nullopt, TextId::ScreenOffFailure},
}};

// A row for every kind, each in its kind's place: a kind without its row
// leaves a default row (TurnOff) behind the others.
constexpr bool EveryKindHasItsRow() {
  for (std::size_t i = 0; i < kTaskKinds.size(); ++i) {
    const TaskKindTraits& row = kTaskKinds[i];
    if (static_cast<std::size_t>(row.kind) != i || row.fileName.empty()) return false;
    if ((row.parameter == TaskParameter::None) == row.parameterPrompt.has_value()) return false;
    if (row.powerAction != row.warningText.has_value()) return false;
    if (row.endsSession && !row.powerAction) return false;
  }
  return true;
}
static_assert(EveryKindHasItsRow());

[[nodiscard]] constexpr const TaskKindTraits& TraitsOf(TaskKind kind) {
  return kTaskKinds[static_cast<std::size_t>(kind)];
}

[[nodiscard]] constexpr bool IsPowerAction(TaskKind kind) { return TraitsOf(kind).powerAction; }
