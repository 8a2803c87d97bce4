#pragma once

#include <cstddef>
#include <cstdint>

// Every text the program shows, named by what it is for. Each language's table
// holds one text per name (language/*_texts.cpp). A text with "{0}", "{1}"
// takes values in that order wherever its language puts them (FormatText).
// The names stand in groups by the part of the program that shows them.
enum class TextId : std::uint16_t {
  // The program as a whole.
  AppTitle,
  // The language menu.
  LanguageMenu,
  LanguageAutomatic,
  LanguageChinese,
  LanguageEnglish,

  // scheduler/, triggers/, storage/: headlines, list rows, reports.
  // The kinds of task: the item in the kind group, the start of a list row,
  // the kind's words in the headline, the prompt above its parameter.
  KindTurnOffItem,
  KindRestartItem,
  KindLogOffItem,
  KindAlarmItem,
  KindOpenProgramItem,
  KindCloseProgramItem,
  KindOpenWebPageItem,
  KindSleepItem,
  KindLockItem,
  KindHibernateItem,
  KindScreenOffItem,
  KindTurnOffRowStart,
  KindRestartRowStart,
  KindLogOffRowStart,
  KindAlarmRowStart,
  KindOpenProgramRowStart,
  KindCloseProgramRowStart,
  KindOpenWebPageRowStart,
  KindSleepRowStart,
  KindLockRowStart,
  KindHibernateRowStart,
  KindScreenOffRowStart,
  KindTurnOffHeadline,
  KindRestartHeadline,
  KindLogOffHeadline,
  KindAlarmHeadline,
  KindOpenProgramHeadline,
  KindCloseProgramHeadline,
  KindOpenWebPageHeadline,
  KindSleepHeadline,
  KindLockHeadline,
  KindHibernateHeadline,
  KindScreenOffHeadline,
  AlarmPrompt,
  OpenProgramPrompt,
  CloseProgramPrompt,
  OpenWebPagePrompt,
  // The balloon half a minute before a power action.
  TurnOffWarning,
  RestartWarning,
  LogOffWarning,
  SleepWarning,
  HibernateWarning,
  // The first words of a failure's report; the system's own words follow.
  TurnOffFailure,
  RestartFailure,
  LogOffFailure,
  AlarmSoundMissing,
  OpenFailure,
  SleepFailure,
  LockFailure,
  HibernateFailure,
  ScreenOffFailure,
  // The headline: its distance ({0}) before the kind's words ({1}).
  EmptyQueueHeadline,
  HeadlineInSeconds,
  HeadlineInMinutes,
  HeadlineInHoursMinutes,
  HeadlineCountdown,
  HeadlineAfterProgram,
  HeadlineAfterDownloads,
  HeadlineAfterDownloadsAtRate,
  HeadlineWhenIdle,
  // The tray hint's first line: the time left ({0}) to the kind's words ({1}).
  TimeLeft,
  TimeLeftUnderAMinute,
  TimeLeftMinutes,
  TimeLeftHours,
  TimeLeftHoursMinutes,
  TimeLeftDays,
  TimeLeftDaysHours,
  // Waiting for a condition: the timing modes, the entry panel's fields, the
  // list row's second line.
  NetworkQuietMode,
  NoInputMode,
  NetRateBefore,
  NetRateUnit,
  NetLasting,
  IdleLasting,
  ConditionMinutes,
  CpuQuiet,
  CpuPercent,
  IdleGuard,
  BackToWaiting,
  RateNow,
  RateUnknown,
  HeldSeconds,
  HeldMinutesSeconds,
  HeldHoursMinutes,
  WaitingRowNetworkQuiet,
  WaitingRowNoInput,
  WaitingForProgramRow,
  // Repeats: the items of the repeat lists, and a series in its row.
  RepeatNone,
  RepeatDaily,
  RepeatWeekdays,
  RepeatWeekly,
  RepeatEachTime,
  RepeatDailyAt,
  RepeatWeekdaysAt,
  RepeatWeeklyAt,
  Sunday,
  Monday,
  Tuesday,
  Wednesday,
  Thursday,
  Friday,
  Saturday,
  // What the tick and the actions report.
  MissedTask,
  MissedTasks,
  FailedTask,
  FailedTasks,
  AlarmBalloonTitle,
  WarningBalloonTitle,
  ProgramNotRunning,
  ProcessesNotEnded,
  // How an exit treats the programs still running, and what it will close.
  ShutdownMethodForceAll,
  ShutdownMethodForceHung,
  ShutdownMethodAskPrograms,
  ClosingPrograms,
  ClosingProgramsUnsaved,
  ClosingNameSeparator,
  ClosingNamedAndCount,
  ClosingCountOnly,
  // The saved task list's reports.
  TaskListUnreadable,
  TaskListTooLarge,
  TaskListTasksUnread,
  TaskListNewerVersion,
  TaskListNotATaskList,
  TaskListNotSetAside,
  TaskListSetAside,
  TaskListNotSaved,

  // main/, widgets/, startup/: the main window, its panel and the tray.

  // tips/, upgrade/: the alarm and warning windows, the download window.

  // command/: what dusk-cli says.

  Count
};

inline constexpr std::size_t kTextCount = static_cast<std::size_t>(TextId::Count);
