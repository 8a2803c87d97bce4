#pragma once

#include <optional>

#include "platform/date_time.h"

// A task due this close is performed by the program that holds it now: the
// new program's start-up would fall into its moment.
inline constexpr double kHandOverClearSeconds = 120;

// What the running program shows and has ahead when a downloaded program
// waits to take over.
struct HandOverScene {
  bool alarmShowing = false;
  bool warningShowing = false;
  std::optional<DateTime> nextDue;  // the head task's moment; none when the list is empty
};

// Whether the new program may take over now. The pending tasks go with the
// saved list; an alarm or a warning on the screen would vanish with this
// program, and so would a task about to come due.
[[nodiscard]] bool MayHandOverNow(const HandOverScene& scene, DateTime now);
