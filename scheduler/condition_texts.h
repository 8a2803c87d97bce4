#pragma once

#include <cstdint>
#include <string>

#include "scheduler/wait_conditions.h"

// The words a user reads about a task that waits for a condition.

inline constexpr char kNetworkQuietModeText[] = "下载完成后";
inline constexpr char kNoInputModeText[] = "无人操作时";
// The entry panel's fields: "网速低于 [20] KB/s 持续 [3] 分钟", "并且CPU低于 [15] %",
// "持续 [30] 分钟", "全屏或播放视频时不算".
inline constexpr char kNetRateBeforeText[] = "网速低于";
inline constexpr char kNetRateAfterText[] = "KB/s";
inline constexpr char kLastingText[] = "持续";
inline constexpr char kMinutesText[] = "分钟";
inline constexpr char kCpuQuietText[] = "并且CPU低于";
inline constexpr char kPercentText[] = "%";
inline constexpr char kIdleGuardText[] = "全屏或播放视频时不算";
// The headline's start while a "无人操作时" task waits: "无人操作18分钟后关机。".
inline constexpr char kNoInputHeadlineText[] = "无人操作";
// A "无人操作时" task in its last half minute, in its row and its warning.
inline constexpr char kBackToWaitingText[] = "有人操作即回到等待";

// "当前 12.5 KB/s", "当前 1.2 MB/s".
[[nodiscard]] std::string RateText(std::uint64_t bytesPerSecond);
// "0秒", "45秒", "1分5秒", "1小时2分".
[[nodiscard]] std::string HeldText(std::uint64_t milliseconds);
// The second line of a waiting task's row: what it waits for and how far it got,
// "下载完成后：当前 1.2 MB/s，低速1分5秒/3分钟", "无人操作时：已空闲12分5秒/30分钟".
[[nodiscard]] std::string WaitingRowText(const WaitCondition& condition,
                                         const WaitProgress& progress);
// The seconds still to wait when nothing changes: the condition's minutes less
// the time it has held.
[[nodiscard]] std::int64_t SecondsToGo(const WaitCondition& condition,
                                       const WaitProgress& progress);
