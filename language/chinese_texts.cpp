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

    // tips/, upgrade/
    {TextId::AlarmHeading, "闹钟时间到了"},
    {TextId::AlarmReminder, "亲，您设定的时间到了，点击下面的 “我知道了” 关闭闹钟。"},
    {TextId::AlarmDismiss, "我知道了"},
    {TextId::WarningPostpone5, "推迟5分钟"},
    {TextId::WarningPostpone30, "推迟30分钟"},
    {TextId::WarningCancelTask, "取消任务"},
    {TextId::WarningRunNow, "立即执行"},
    {TextId::DownloadStarting, "正在下载最新版本："},
    {TextId::DownloadProgressCaption, "{0} 正在下载最新版本 下载进度：{1}%"},

    // command/
});
