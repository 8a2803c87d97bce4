#pragma once

#include <optional>
#include <string>

#include "platform/date_time.h"
#include "platform/time_zone.h"
#include "scheduler/task.h"

// What the entry panel computes from its controls.

// Countdown units, by their index in the unit list.
inline constexpr int kUnitMinutes = 0;
inline constexpr int kUnitHours = 1;
inline constexpr int kUnitDays = 2;

// Minutes per unit; an index outside the list counts as minutes.
[[nodiscard]] int MinutesPerUnit(int unitIndex);
// The count the unit list puts in the spin edit when a unit is picked.
[[nodiscard]] int CountForUnit(int unitIndex);
// The due moment of a countdown: that many minutes, hours or days of elapsed
// time from now, whatever the wall clock does meanwhile.
[[nodiscard]] DateTime CountdownDueMoment(DateTime now, int count, int unitIndex,
                                          const TimeZone& zone);

// The date edit's day at the time edit's time of day.
[[nodiscard]] DateTime EnteredMoment(DateTime day, int secondOfDay);
// Before now by a millisecond or more.
[[nodiscard]] bool IsPastMoment(DateTime moment, DateTime now);

// When a task entered for a moment is due, and how it comes back.
struct DatedDue {
  DateTime when = 0;
  TaskRepeat repeat;  // kind None for a task that runs once
};
// As the add button takes the entered moment: a series from its first
// occurrence; none when the moment of a task that runs once is past
// (TextId::PastMoment).
[[nodiscard]] std::optional<DatedDue> DueForEnteredMoment(DateTime entered, RepeatKind repeat,
                                                          DateTime now, const TimeZone& zone);

// The picker's text stands for "title|image name" or the image name alone:
// the image name. File names hold no "|", a title may.
[[nodiscard]] std::string CloseProgramParam(const std::string& pickerText);

// Whether the file name ends in ".exe", the letters in any case.
[[nodiscard]] bool HasProgramExtension(const std::string& path);
