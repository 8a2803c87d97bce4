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
  AlarmHeading,
  AlarmReminder,
  AlarmDismiss,
  WarningPostpone5,
  WarningPostpone30,
  WarningCancelTask,
  WarningRunNow,
  DownloadStarting,
  // {0} the program's title, {1} the whole percent done.
  DownloadProgressCaption,

  // command/: what dusk-cli says.

  Count
};

inline constexpr std::size_t kTextCount = static_cast<std::size_t>(TextId::Count);
