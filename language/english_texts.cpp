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

    // command/
    {TextId::CliHelp,
     "Usage:\n"
     "  dusk-cli add <kind> <when> [--text text] [--program program] [--url address]"
     " [--repeat daily|weekdays|weekly|each-time]\n"
     "      kind: shutdown restart logoff sleep hibernate lock screen-off alarm open close url\n"
     "      when: in 90m | in 1h30m | at 23:00 | at 2026-12-24 23:00 |"
     " after-exit <process id|name.exe> [+10m] |"
     " downloads-done [below 20KB/s] [for 3m] [cpu-below 15%] | idle 30m [even-watching]\n"
     "  dusk-cli list [--json]\n"
     "  dusk-cli cancel <id|all>\n"
     "  dusk-cli postpone <id> <duration>\n"
     "Exit codes: 0 done, 1 refused (the reason on standard error), 2 wrong usage,"
     " 3 Dusk could not be reached or started\n"},
    {TextId::CliUnknownCommand, "Unknown command: \"{0}\""},
    {TextId::CliUnknownKind, "Unknown task kind: \"{0}\""},
    {TextId::CliUnknownWhen, "Unknown way to give the time: \"{0}\""},
    {TextId::CliUnknownOption, "Unknown option: \"{0}\""},
    {TextId::CliMissingKind, "No task kind given"},
    {TextId::CliMissingWhen, "No time given (in, at, after-exit, downloads-done or idle)"},
    {TextId::CliMissingDuration, "No duration given, e.g. 90m, 1h30m, 2d"},
    {TextId::CliMissingTime, "No time of day given, e.g. 23:00"},
    {TextId::CliMissingProgram, "No process id or program name to wait for"},
    {TextId::CliMissingValue, "Option without a value: \"{0}\""},
    {TextId::CliMissingId, "No task id given"},
    {TextId::CliBadDuration,
     "Invalid duration (1 minute to 1000000 days, e.g. 90m, 1h30m, 2d): \"{0}\""},
    {TextId::CliBadTime, "Invalid time of day (0:00 to 23:59:59, e.g. 23:00): \"{0}\""},
    {TextId::CliBadDate, "Invalid date (e.g. 2026-12-24): \"{0}\""},
    {TextId::CliBadDelay, "Invalid delay (+0m to +60m): \"{0}\""},
    {TextId::CliBadProgram, "Invalid program name (the file name only, e.g. aria2c.exe): \"{0}\""},
    {TextId::CliBadId, "Invalid task id: \"{0}\""},
    {TextId::CliBadRepeat, "Invalid repeat (daily, weekdays, weekly or each-time): \"{0}\""},
    {TextId::CliRepeatNeedsMoment,
     "--repeat daily, weekdays and weekly go with at only; each-time with downloads-done and"
     " idle only"},
    {TextId::CliBadRate, "Invalid download rate (1 to 1000000 KB/s, e.g. 20KB/s): \"{0}\""},
    {TextId::CliBadConditionMinutes, "Invalid duration (1 minute to 24 hours, e.g. 3m): \"{0}\""},
    {TextId::CliBadCpu, "Invalid CPU usage (1% to 100%, e.g. 15%): \"{0}\""},
    {TextId::CliOptionNotForKind, "This task kind does not take this option: \"{0}\""},
    {TextId::CliOptionTwice, "Option given twice: \"{0}\""},
    {TextId::CliExtraWord, "Unexpected argument: \"{0}\""},
    {TextId::CliNeedsProgram, "open and close need --program"},
    {TextId::CliNeedsUrl, "url needs --url"},
    {TextId::CliNoSuchTask, "No task with id {0}"},
    {TextId::CliWaitingTaskPostpone,
     "A task waiting for a program to end cannot be postponed: {0}"},
    {TextId::CliNoRunningCopy, "Dusk could not be reached or started."},
    {TextId::CliNoCopyBeside, "Cannot find Dusk.exe: it belongs next to dusk-cli.exe."},
});
