#include "language/text_table.h"

// For every Windows display language but Chinese. Short enough for the same
// controls as the Chinese; where a text would not fit it is said shorter.
constinit const TextTable kEnglishTexts = MakeTextTable({
    {TextId::AppTitle, "Lumo Shutdown Timer"},
    {TextId::LanguageMenu, "语言 / Language"},
    {TextId::LanguageAutomatic, "Automatic (as Windows)"},
    {TextId::LanguageChinese, "中文"},
    {TextId::LanguageEnglish, "English"},

    // scheduler/, triggers/, storage/

    // main/, widgets/, startup/

    // tips/, upgrade/
    {TextId::AlarmHeading, "It's time!"},
    {TextId::AlarmReminder,
     "Hi! The time you set has come. Click “Got it” below to stop the alarm."},
    {TextId::AlarmDismiss, "Got it"},
    {TextId::WarningPostpone5, "Delay 5 min"},
    {TextId::WarningPostpone30, "Delay 30 min"},
    {TextId::WarningCancelTask, "Cancel task"},
    {TextId::WarningRunNow, "Run now"},
    {TextId::DownloadStarting, "Downloading the latest version:"},
    {TextId::DownloadProgressCaption, "{0} – downloading the latest version: {1}%"},

    // command/
});
