#pragma once

#include <cstdint>
#include <string>

// A moment in local time as the program keeps it: days since 1899-12-30, the
// fraction being the time of day. Tasks, the clock and the entry panel all
// speak this one scale.
using DateTime = double;

struct CalendarTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

[[nodiscard]] DateTime EncodeDateTime(const CalendarTime& time);
[[nodiscard]] CalendarTime DecodeDateTime(DateTime value);

// Two moments closer than one millisecond are the same moment.
[[nodiscard]] int CompareDateTime(DateTime a, DateTime b);

// Whole seconds between two moments, truncated toward zero, never negative.
[[nodiscard]] std::int64_t WholeSecondsApart(DateTime a, DateTime b);

// Exactly midnight: hours, minutes and seconds all zero, milliseconds ignored.
[[nodiscard]] bool IsMidnight(const CalendarTime& time);

// The same day at the given time of day.
[[nodiscard]] DateTime AtTimeOfDay(DateTime day, int hour, int minute, int second);

inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kMinutesPerDay = 1440.0;

// value in decimal, at least width digits with leading zeros (a width up to
// 4): the fields of a date and time, written without a formatted print, which
// would cost more than the rest of a saved task's line and bring the runtime's
// whole formatter into the program.
void AppendZeroPadded(std::string& text, int value, int width);
// "2026-12-24 23:00:00", with `between` standing between the day and the time
// (' ' in the saved list, 'T' in JSON).
void AppendMoment(std::string& text, DateTime moment, char between);
