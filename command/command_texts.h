#pragma once

#include <string>
#include <string_view>

// What dusk-cli says, in the program's language. The refusals of an added task
// are the entry panel's own (main/entry_texts.h).

inline constexpr char kHelpText[] =
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
    "退出码：0 完成，1 被拒绝（原因见标准错误），2 用法不对，3 无法联系或启动Dusk\n";

inline constexpr char kUnknownCommandText[] = "不认识的命令：";
inline constexpr char kUnknownKindText[] = "不认识的任务类型：";
inline constexpr char kUnknownWhenText[] = "不认识的时间写法：";
inline constexpr char kUnknownOptionText[] = "不认识的选项：";
inline constexpr char kMissingKindText[] = "缺少任务类型";
inline constexpr char kMissingWhenText[] = "缺少时间（in、at、after-exit、downloads-done 或 idle）";
inline constexpr char kMissingDurationText[] = "缺少时长，例如 90m、1h30m、2d";
inline constexpr char kMissingTimeText[] = "缺少时刻，例如 23:00";
inline constexpr char kMissingProgramText[] = "缺少要等待结束的进程号或程序名";
inline constexpr char kMissingValueText[] = "选项缺少值：";
inline constexpr char kMissingIdText[] = "缺少任务编号";
inline constexpr char kBadDurationText[] = "时长不对（1分钟到1000000天，例如 90m、1h30m、2d）：";
inline constexpr char kBadTimeText[] = "时刻不对（0:00到23:59:59，例如 23:00）：";
inline constexpr char kBadDateText[] = "日期不对（例如 2026-12-24）：";
inline constexpr char kBadDelayText[] = "延迟不对（+0m到+60m）：";
inline constexpr char kBadProgramText[] = "程序名不对（只写文件名，例如 aria2c.exe）：";
inline constexpr char kBadIdText[] = "任务编号不对：";
inline constexpr char kBadRepeatText[] = "重复不对（daily、weekdays、weekly 或 each-time）：";
inline constexpr char kRepeatNeedsMomentText[] =
    "--repeat daily、weekdays、weekly 只用于 at 时间，each-time 只用于 downloads-done 和 idle";
inline constexpr char kBadRateText[] = "网速不对（1到1000000 KB/s，例如 20KB/s）：";
inline constexpr char kBadConditionMinutesText[] = "持续时间不对（1分钟到24小时，例如 3m）：";
inline constexpr char kBadCpuText[] = "CPU占用不对（1%到100%，例如 15%）：";
inline constexpr char kOptionNotForKindText[] = "这个任务类型不用这个选项：";
inline constexpr char kOptionTwiceText[] = "选项重复：";
inline constexpr char kExtraWordText[] = "多余的参数：";
inline constexpr char kNeedsProgramText[] = "open 和 close 需要 --program";
inline constexpr char kNeedsUrlText[] = "url 需要 --url";
inline constexpr char kNoSuchTaskText[] = "没有这个编号的任务：";
inline constexpr char kWaitingTaskPostponeText[] = "等待软件结束的任务不能推迟：";
inline constexpr char kNoRunningCopyText[] = "无法联系或启动Dusk。";
inline constexpr char kNoCopyBesideText[] = "找不到Dusk.exe：它应在dusk-cli.exe旁边。";

// "what：“word”", the word quoted as the user wrote it.
[[nodiscard]] inline std::string QuotedError(std::string_view what, std::string_view word) {
  return std::string(what) + "“" + std::string(word) + "”";
}
