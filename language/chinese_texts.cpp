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

    // command/
    {TextId::CliHelp,
     "用法：\n"
     "  dusk-cli add <类型> <时间> [--text 文字] [--program 程序] [--url 网址]"
     " [--repeat daily|weekdays|weekly|each-time]\n"
     "      类型：shutdown restart logoff sleep hibernate lock screen-off alarm open close url\n"
     "      时间：in 90m | in 1h30m | at 23:00 | at 2026-12-24 23:00 |"
     " after-exit <进程号|程序名.exe> [+10m] |"
     " downloads-done [below 20KB/s] [for 3m] [cpu-below 15%] | idle 30m [even-watching]\n"
     "  dusk-cli list [--json]\n"
     "  dusk-cli cancel <编号|all>\n"
     "  dusk-cli postpone <编号> <时长>\n"
     "退出码：0 完成，1 被拒绝（原因见标准错误），2 用法不对，3 无法联系或启动Dusk\n"},
    {TextId::CliUnknownCommand, "不认识的命令：“{0}”"},
    {TextId::CliUnknownKind, "不认识的任务类型：“{0}”"},
    {TextId::CliUnknownWhen, "不认识的时间写法：“{0}”"},
    {TextId::CliUnknownOption, "不认识的选项：“{0}”"},
    {TextId::CliMissingKind, "缺少任务类型"},
    {TextId::CliMissingWhen, "缺少时间（in、at、after-exit、downloads-done 或 idle）"},
    {TextId::CliMissingDuration, "缺少时长，例如 90m、1h30m、2d"},
    {TextId::CliMissingTime, "缺少时刻，例如 23:00"},
    {TextId::CliMissingProgram, "缺少要等待结束的进程号或程序名"},
    {TextId::CliMissingValue, "选项缺少值：“{0}”"},
    {TextId::CliMissingId, "缺少任务编号"},
    {TextId::CliBadDuration, "时长不对（1分钟到1000000天，例如 90m、1h30m、2d）：“{0}”"},
    {TextId::CliBadTime, "时刻不对（0:00到23:59:59，例如 23:00）：“{0}”"},
    {TextId::CliBadDate, "日期不对（例如 2026-12-24）：“{0}”"},
    {TextId::CliBadDelay, "延迟不对（+0m到+60m）：“{0}”"},
    {TextId::CliBadProgram, "程序名不对（只写文件名，例如 aria2c.exe）：“{0}”"},
    {TextId::CliBadId, "任务编号不对：“{0}”"},
    {TextId::CliBadRepeat, "重复不对（daily、weekdays、weekly 或 each-time）：“{0}”"},
    {TextId::CliRepeatNeedsMoment,
     "--repeat daily、weekdays、weekly 只用于 at 时间，each-time 只用于 downloads-done 和 idle"},
    {TextId::CliBadRate, "网速不对（1到1000000 KB/s，例如 20KB/s）：“{0}”"},
    {TextId::CliBadConditionMinutes, "持续时间不对（1分钟到24小时，例如 3m）：“{0}”"},
    {TextId::CliBadCpu, "CPU占用不对（1%到100%，例如 15%）：“{0}”"},
    {TextId::CliOptionNotForKind, "这个任务类型不用这个选项：“{0}”"},
    {TextId::CliOptionTwice, "选项重复：“{0}”"},
    {TextId::CliExtraWord, "多余的参数：“{0}”"},
    {TextId::CliNeedsProgram, "open 和 close 需要 --program"},
    {TextId::CliNeedsUrl, "url 需要 --url"},
    {TextId::CliNoSuchTask, "没有这个编号的任务：{0}"},
    {TextId::CliWaitingTaskPostpone, "等待软件结束的任务不能推迟：{0}"},
    {TextId::CliNoRunningCopy, "无法联系或启动Dusk。"},
    {TextId::CliNoCopyBeside, "找不到Dusk.exe：它应在dusk-cli.exe旁边。"},
});
