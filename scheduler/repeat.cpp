#include "scheduler/repeat.h"

#include <cmath>

#include "language/language.h"

namespace {

constexpr int kDaysPerWeek = 7;

DateTime DayStart(int year, int month, int day) { return EncodeDateTime({year, month, day}); }

int DaysInMonth(int year, int month) {
  const DateTime first = DayStart(year, month, 1);
  const DateTime next = month == 12 ? DayStart(year + 1, 1, 1) : DayStart(year, month + 1, 1);
  return static_cast<int>(std::lround(next - first));
}

// Whole days later, at the same time of day.
DateTime DaysLater(DateTime moment, int days) {
  CalendarTime time = DecodeDateTime(moment);
  const CalendarTime day = DecodeDateTime(DayStart(time.year, time.month, time.day) + days);
  time.year = day.year;
  time.month = day.month;
  time.day = day.day;
  return EncodeDateTime(time);
}

DateTime NextDayOfSeries(RepeatKind kind, DateTime occurrence) {
  if (kind == RepeatKind::Weekly) return DaysLater(occurrence, kDaysPerWeek);
  DateTime next = DaysLater(occurrence, 1);
  while (!RunsOnDayOf(kind, next)) next = DaysLater(next, 1);
  return next;
}

}  // namespace

int DayOfWeek(DateTime moment) {
  // Day 0, 1899-12-30, was a Saturday.
  const auto day = static_cast<long long>(std::floor(moment));
  return static_cast<int>(((day + 6) % kDaysPerWeek + kDaysPerWeek) % kDaysPerWeek);
}

DateTime ClockChangeMoment(const ClockChangeRule& rule, int year) {
  int day = rule.day;
  if (day == 0) {
    const int firstWeekday = DayOfWeek(DayStart(year, rule.month, 1));
    day = 1 + (rule.dayOfWeek - firstWeekday + kDaysPerWeek) % kDaysPerWeek +
          kDaysPerWeek * (rule.week - 1);
    while (day > DaysInMonth(year, rule.month)) day -= kDaysPerWeek;
  }
  return EncodeDateTime(
      {year, rule.month, day, rule.hour, rule.minute, rule.second, rule.millisecond});
}

DateTime DueMomentOf(DateTime wallClock, const TimeZone& zone) {
  const int year = DecodeDateTime(wallClock).year;
  const std::optional<DaylightSaving> rules = zone.DaylightSavingIn(year);
  if (!rules || rules->shiftMinutes <= 0) return wallClock;
  const DateTime gapStart = ClockChangeMoment(rules->forward, year);
  const DateTime gapEnd = gapStart + rules->shiftMinutes / kMinutesPerDay;
  const bool inGap =
      CompareDateTime(wallClock, gapStart) >= 0 && CompareDateTime(wallClock, gapEnd) < 0;
  return inGap ? gapEnd : wallClock;
}

bool RunsOnDayOf(RepeatKind kind, DateTime moment) {
  if (kind != RepeatKind::Weekdays) return true;
  const int weekday = DayOfWeek(moment);
  return weekday >= 1 && weekday <= 5;
}

std::optional<TaskRepeat> NextOccurrence(const TaskRepeat& repeat, DateTime after,
                                         const TimeZone& zone) {
  if (repeat.kind == RepeatKind::None || repeat.kind == RepeatKind::EachTime) return std::nullopt;
  DateTime occurrence = repeat.occurrence;
  // Every series repeats within a week: whole weeks long gone are skipped at
  // once, so a clock set years ahead costs no more than a week of steps.
  const double weeksBehind = std::floor((after - occurrence) / kDaysPerWeek) - 1;
  if (weeksBehind > 0) {
    occurrence = DaysLater(occurrence, static_cast<int>(weeksBehind) * kDaysPerWeek);
  }
  do {
    occurrence = NextDayOfSeries(repeat.kind, occurrence);
  } while (CompareDateTime(DueMomentOf(occurrence, zone), after) <= 0);
  return TaskRepeat{repeat.kind, occurrence};
}

TaskRepeat FirstOccurrence(RepeatKind kind, DateTime entered, DateTime now, const TimeZone& zone) {
  const TaskRepeat asEntered{kind, entered};
  if (kind == RepeatKind::None ||
      (RunsOnDayOf(kind, entered) && CompareDateTime(DueMomentOf(entered, zone), now) >= 0)) {
    return asEntered;
  }
  return *NextOccurrence(asEntered, now, zone);
}

std::string RepeatText(const TaskRepeat& repeat) {
  static constexpr TextId kWeekdayNames[] = {TextId::Sunday,    TextId::Monday,   TextId::Tuesday,
                                             TextId::Wednesday, TextId::Thursday, TextId::Friday,
                                             TextId::Saturday};
  if (repeat.kind == RepeatKind::None) return "";
  if (repeat.kind == RepeatKind::EachTime) return std::string(Text(TextId::RepeatEachTimeInRow));
  const CalendarTime time = DecodeDateTime(repeat.occurrence);
  // "7:05", "23:30:15": the seconds only where the user set some.
  char clock[9];
  std::size_t length = 0;
  if (time.hour >= 10) clock[length++] = static_cast<char>('0' + time.hour / 10);
  clock[length++] = static_cast<char>('0' + time.hour % 10);
  const int parts[] = {time.minute, time.second};
  for (int i = 0; i < (time.second == 0 ? 1 : 2); ++i) {
    clock[length++] = ':';
    clock[length++] = static_cast<char>('0' + parts[i] / 10);
    clock[length++] = static_cast<char>('0' + parts[i] % 10);
  }
  const std::string_view timeOfDay(clock, length);
  if (repeat.kind == RepeatKind::Weekly) {
    return FormatText(TextId::RepeatWeeklyAt,
                      {Text(kWeekdayNames[DayOfWeek(repeat.occurrence)]), timeOfDay});
  }
  return FormatText(
      repeat.kind == RepeatKind::Weekdays ? TextId::RepeatWeekdaysAt : TextId::RepeatDailyAt,
      {timeOfDay});
}

std::string RepeatKindItemText(RepeatKind kind) {
  switch (kind) {
    case RepeatKind::None:
      return std::string(Text(TextId::RepeatNone));
    case RepeatKind::Daily:
      return std::string(Text(TextId::RepeatDaily));
    case RepeatKind::Weekdays:
      return std::string(Text(TextId::RepeatWeekdays));
    case RepeatKind::Weekly:
      return std::string(Text(TextId::RepeatWeekly));
    case RepeatKind::EachTime:
      return std::string(Text(TextId::RepeatEachTime));
  }
  return {};
}
