#pragma once

#include <string>

#include "scheduler/task_queue.h"

// The pending tasks as "dusk-cli list" prints them, in due order.

// One line per task, its fields apart by tabs: id, kind, due moment
// ("2026-12-24 23:00:00"), "after-exit <image name> +<delay>m" or the
// condition as dusk-cli add takes it ("idle 30m"), repeat or "-", text.
[[nodiscard]] std::string TaskListText(const TaskQueue& queue);

// The same as JSON, for scripts. Version 1:
//   {"version":1,"tasks":[{"id":3,"kind":"alarm","due":"2026-12-24T23:00:00",
//     "repeat":"daily","trigger":null,"text":"测试"}, ...]}
// id: the task's number, the same for as long as it waits, across restarts.
// kind: shutdown restart logoff sleep hibernate lock screen-off alarm open close url.
// due: local time without a zone; null while the task waits for a program.
// repeat: "daily", "weekdays", "weekly", "each-time" or null.
// trigger: null for a task due at its moment; a task waiting for a program's
// end has {"type":"after-exit","pid":4242,"image":"aria2c.exe","delayMinutes":10};
// one waiting for the downloads to finish {"type":"downloads-done","belowKBps":20,
// "minutes":3,"cpuBelowPercent":15 or null}, one waiting for nobody at the computer
// {"type":"idle","minutes":30,"evenWatching":false} (their due moment null while they wait).
// text: the reminder, the program or the address; "" for the other kinds.
// A later version only adds members; one that changes a member's meaning
// raises "version".
inline constexpr int kTaskListJsonVersion = 1;
[[nodiscard]] std::string TaskListJson(const TaskQueue& queue);
