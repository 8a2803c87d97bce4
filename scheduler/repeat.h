#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/date_time.h"
#include "platform/time_zone.h"

enum class RepeatKind : std::uint8_t {
  None,
  Daily,
  Weekdays,  // Monday to Friday
  Weekly,    // the weekday of the first occurrence
  EachTime,  // a task that waits for a condition waits again after each time
};

inline constexpr int kRepeatKindCount = 5;
// The kinds a dated task may take, first in the order.
inline constexpr int kDatedRepeatKindCount = 4;

// How a task comes back once it has been performed or missed.
struct TaskRepeat {
  RepeatKind kind = RepeatKind::None;
  // This occurrence on the wall clock as the series has it: a clock change
  // or a postponement moves the due moment, never this.
  DateTime occurrence = 0;
  friend bool operator==(const TaskRepeat&, const TaskRepeat&) = default;
};

// 0 is Sunday.
[[nodiscard]] int DayOfWeek(DateTime moment);

// The wall-clock moment just before the rule's clock change in that year.
[[nodiscard]] DateTime ClockChangeMoment(const ClockChangeRule& rule, int year);

// When a moment of the wall clock comes: itself, or the first moment after
// the gap when the clock skips it that day.
[[nodiscard]] DateTime DueMomentOf(DateTime wallClock, const TimeZone& zone);

// Whether the series runs on that moment's day at all.
[[nodiscard]] bool RunsOnDayOf(RepeatKind kind, DateTime moment);

// The first occurrence of the series whose due moment lies after `after`,
// counted from the one after `repeat.occurrence`; none without a dated repeat.
[[nodiscard]] std::optional<TaskRepeat> NextOccurrence(const TaskRepeat& repeat, DateTime after,
                                                       const TimeZone& zone);

// The entered moment itself when it is on a day of the series and not past;
// else the series' next occurrence after now.
[[nodiscard]] TaskRepeat FirstOccurrence(RepeatKind kind, DateTime entered, DateTime now,
                                         const TimeZone& zone);

// "每天 23:30", "工作日 7:05", "每周五 23:30:15" ("Every Fri 23:30:15"); empty without a repeat.
[[nodiscard]] std::string RepeatText(const TaskRepeat& repeat);

// The item text of the kind in the repeat list.
[[nodiscard]] std::string RepeatKindItemText(RepeatKind kind);
