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

  // main/, widgets/, startup/: the main window, its panel and the tray.
  // The title of the balloons that report on the task list: the program's name.
  ReportTitle,
  // Told when a copy started as administrator cannot start again as the user.
  ElevatedStart,
  // The entry panel.
  TimingGroupCaption,
  TimingModeAtTime,
  TimingModeCountdown,
  TimingModeProgramEnd,
  UnitMinutes,
  UnitHours,
  UnitDays,
  // "[30] [分钟] 之后", "[0] 分钟之后".
  CountdownAfter,
  ProgramEndDelayAfter,
  MomentExpired,
  KindGroupCaption,
  NoHibernation,
  PickerHint,
  CloseProgramTypedPrompt,
  AddButton,
  DeleteSelectedTask,
  ChooseProgramTitle,
  ProgramFilesFilter,
  NotAProgram,
  ErrorCaption,
  WarningCaption,
  // The entry panel's messages; dusk-cli refuses an added task with the same words.
  NoKindChosen,
  NoProgramChosen,
  EntryErrorCaption,
  PastMoment,
  CannotWait,
  // The tray menu.
  QuickPicksMenu,
  ShutdownIn30Minutes,
  ShutdownIn1Hour,
  ShutdownIn2Hours,
  ShutdownTonight,
  PostponeHead,
  // A recent entry: {0} the amount or the time of day, {1} the kind, "45分钟后关机", "23:30关机".
  RecentInMinutes,
  RecentInHours,
  RecentInDays,
  RecentAtTime,
  ShutdownMethodMenu,
  TrayRestore,
  StartWithWindows,
  TrayClose,
  TrayCloseShortcut,
  // The program's own message box's one button.
  MessageOk,
  // An error escaped a handler without saying what it was.
  UnknownError,

  // tips/, upgrade/: the alarm and warning windows, the download window.

  // command/: what dusk-cli says.

  Count
};

inline constexpr std::size_t kTextCount = static_cast<std::size_t>(TextId::Count);
