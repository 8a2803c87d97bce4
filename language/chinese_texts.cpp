#include "language/text_table.h"

// The program's first language: every text exactly as its users know it.
constinit const TextTable kChineseTexts = MakeTextTable({
    {TextId::AppTitle, "Lumo定时关机"},
    {TextId::LanguageMenu, "语言 / Language"},
    {TextId::LanguageAutomatic, "自动（跟随Windows）"},
    {TextId::LanguageChinese, "中文"},
    {TextId::LanguageEnglish, "English"},

    // scheduler/, triggers/, storage/

    // main/, widgets/, startup/
    {TextId::ReportTitle, "{0}："},
    {TextId::ElevatedStart, "Dusk 不能以管理员身份运行，请直接启动它。"},
    {TextId::TimingGroupCaption, "  计时方式  "},
    {TextId::TimingModeAtTime, "指定时间"},
    {TextId::TimingModeCountdown, "倒计时"},
    {TextId::TimingModeProgramEnd, "程序结束后"},
    {TextId::UnitMinutes, "分钟"},
    {TextId::UnitHours, "小时"},
    {TextId::UnitDays, "天"},
    {TextId::CountdownAfter, "之后  "},
    {TextId::ProgramEndDelayAfter, "分钟之后  "},
    {TextId::MomentExpired, "您设置的时间已过期     "},
    {TextId::KindGroupCaption, "  执行任务  "},
    {TextId::NoHibernation, "这台电脑不能休眠：休眠没有开启，或没有休眠文件。"},
    {TextId::PickerHint, "选择你要关闭的软件"},
    {TextId::CloseProgramTypedPrompt, "请输入要关闭的软件："},
    {TextId::AddButton, "添加任务"},
    {TextId::DeleteSelectedTask, "删除选中的任务"},
    {TextId::ChooseProgramTitle, "请选择要打开的软件"},
    {TextId::ProgramFilesFilter, "应用程序(*.exe)"},
    {TextId::NotAProgram, "这不是应用软件！"},
    {TextId::ErrorCaption, "Error"},
    {TextId::WarningCaption, "Warning"},
    {TextId::NoKindChosen, "请选择执行任务的类型"},
    {TextId::NoProgramChosen, "请选择要等待结束的软件"},
    {TextId::EntryErrorCaption, "添加定时任务错误"},
    {TextId::PastMoment, "光阴似箭，设置的时间已经过去了。"},
    {TextId::CannotWait, "无法等待这个软件结束：它已经结束，或者不允许本程序打开它。"},
    {TextId::QuickPicksMenu, "快速定时"},
    {TextId::ShutdownIn30Minutes, "30分钟后关机"},
    {TextId::ShutdownIn1Hour, "1小时后关机"},
    {TextId::ShutdownIn2Hours, "2小时后关机"},
    {TextId::ShutdownTonight, "今晚23:00关机"},
    {TextId::PostponeHead, "推迟10分钟"},
    {TextId::RecentInMinutes, "{0}分钟后{1}"},
    {TextId::RecentInHours, "{0}小时后{1}"},
    {TextId::RecentInDays, "{0}天后{1}"},
    {TextId::RecentAtTime, "{0}{1}"},
    {TextId::ShutdownMethodMenu, "关机方式"},
    {TextId::TrayRestore, "&Restore"},
    {TextId::StartWithWindows, "开机时启动"},
    {TextId::TrayClose, "&Close"},
    {TextId::TrayCloseShortcut, "Alt+F4"},
    {TextId::MessageOk, "OK"},
    {TextId::UnknownError, "Unknown error"},

    // tips/, upgrade/

    // command/
});
