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

  // tips/, upgrade/: the alarm and warning windows, the download window.

  // command/: what dusk-cli says.
  CliHelp,
  CliUnknownCommand,
  CliUnknownKind,
  CliUnknownWhen,
  CliUnknownOption,
  CliMissingKind,
  CliMissingWhen,
  CliMissingDuration,
  CliMissingTime,
  CliMissingProgram,
  CliMissingValue,
  CliMissingId,
  CliBadDuration,
  CliBadTime,
  CliBadDate,
  CliBadDelay,
  CliBadProgram,
  CliBadId,
  CliBadRepeat,
  CliRepeatNeedsMoment,
  CliBadRate,
  CliBadConditionMinutes,
  CliBadCpu,
  CliOptionNotForKind,
  CliOptionTwice,
  CliExtraWord,
  CliNeedsProgram,
  CliNeedsUrl,
  CliNoSuchTask,
  CliWaitingTaskPostpone,
  CliNoRunningCopy,
  CliNoCopyBeside,

  Count
};

inline constexpr std::size_t kTextCount = static_cast<std::size_t>(TextId::Count);
