#pragma once

#include <cstdint>
#include <string>

#include "scheduler/wait_conditions.h"

// The words a user reads about a task that waits for a condition, in the
// active language.

// "当前 12.5 KB/s", "当前 1.2 MB/s" ("now 12.5 KB/s").
[[nodiscard]] std::string RateText(std::uint64_t bytesPerSecond);
// "0秒", "45秒", "1分5秒", "1小时2分" ("1 min 5 s", "1 h 2 min").
[[nodiscard]] std::string HeldText(std::uint64_t milliseconds);
// The second line of a waiting task's row: what it waits for and how far it got,
// "下载完成后：当前 1.2 MB/s，低速1分5秒/3分钟", "无人操作时：已空闲12分5秒/30分钟".
[[nodiscard]] std::string WaitingRowText(const WaitCondition& condition,
                                         const WaitProgress& progress);
// The seconds still to wait when nothing changes: the condition's minutes less
// the time it has held.
[[nodiscard]] std::int64_t SecondsToGo(const WaitCondition& condition,
                                       const WaitProgress& progress);
