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
    {TextId::ReportTitle, "{0}:"},
    {TextId::ElevatedStart,
     "Dusk does not run as administrator. Start it without administrator rights."},
    {TextId::TimingGroupCaption, "  Timing  "},
    {TextId::TimingModeAtTime, "At a time"},
    {TextId::TimingModeCountdown, "Countdown"},
    {TextId::TimingModeProgramEnd, "Program ends"},
    {TextId::UnitMinutes, "minutes"},
    {TextId::UnitHours, "hours"},
    {TextId::UnitDays, "days"},
    {TextId::CountdownAfter, "from now"},
    {TextId::ProgramEndDelayAfter, "minutes after"},
    {TextId::MomentExpired, "Time has passed"},
    {TextId::KindGroupCaption, "  Action  "},
    {TextId::NoHibernation,
     "This computer cannot hibernate: hibernation is off, or there is no hibernation file."},
    {TextId::PickerHint, "Choose the program to close"},
    {TextId::CloseProgramTypedPrompt, "Type the program to close:"},
    {TextId::AddButton, "Add task"},
    {TextId::DeleteSelectedTask, "Delete selected task"},
    {TextId::ChooseProgramTitle, "Choose the program to open"},
    {TextId::ProgramFilesFilter, "Programs (*.exe)"},
    {TextId::NotAProgram, "This is not a program."},
    {TextId::ErrorCaption, "Error"},
    {TextId::WarningCaption, "Warning"},
    {TextId::NoKindChosen, "Choose the kind of task."},
    {TextId::NoProgramChosen, "Choose the program to wait for."},
    {TextId::EntryErrorCaption, "Cannot add the task"},
    {TextId::PastMoment, "The time you set has already passed."},
    {TextId::CannotWait,
     "Cannot wait for this program to end: it has ended already, or it does not let Dusk open it."},
    {TextId::QuickPicksMenu, "Quick timer"},
    {TextId::ShutdownIn30Minutes, "Shut down in 30 minutes"},
    {TextId::ShutdownIn1Hour, "Shut down in 1 hour"},
    {TextId::ShutdownIn2Hours, "Shut down in 2 hours"},
    {TextId::ShutdownTonight, "Shut down tonight at 23:00"},
    {TextId::PostponeHead, "Postpone 10 minutes"},
    {TextId::RecentInMinutes, "{1} in {0} min"},
    {TextId::RecentInHours, "{1} in {0} h"},
    {TextId::RecentInDays, "{1} in {0} days"},
    {TextId::RecentAtTime, "{1} at {0}"},
    {TextId::ShutdownMethodMenu, "Shutdown method"},
    {TextId::TrayRestore, "&Restore"},
    {TextId::StartWithWindows, "Start with Windows"},
    {TextId::TrayClose, "&Close"},
    {TextId::TrayCloseShortcut, "Alt+F4"},
    {TextId::MessageOk, "OK"},
    {TextId::UnknownError, "Unknown error"},

    // tips/, upgrade/

    // command/
});
