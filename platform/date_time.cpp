#include "platform/date_time.h"

#include <cmath>

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

// Days from 0001-01-01 to the first day of the given proleptic Gregorian date.
std::int64_t DaysFromCivil(int year, int month, int day) {
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int monthIndex = (month + 9) % 12;
  const int dayOfYear = (153 * monthIndex + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;  // days since 1970-01-01
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int dayOfEra = static_cast<int>(days - era * 146097);
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int monthIndex = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  year = static_cast<int>(yearOfEra + era * 400) + (month <= 2 ? 1 : 0);
}

const std::int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

}  // namespace

DateTime EncodeDateTime(const CalendarTime& t) {
  const double days = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) - kEpochDays);
  const double ms =
      ((t.hour * 60.0 + t.minute) * 60.0 + t.second) * 1000.0 + static_cast<double>(t.millisecond);
  return days + ms / static_cast<double>(kMsPerDay);
}

CalendarTime DecodeDateTime(DateTime value) {
  // Rounded to the millisecond first, so 23:59:59.9996 reads as the next day.
  const auto totalMs = static_cast<std::int64_t>(std::llround(value * kMsPerDay));
  std::int64_t days = totalMs / kMsPerDay;
  std::int64_t msOfDay = totalMs % kMsPerDay;
  if (msOfDay < 0) {
    msOfDay += kMsPerDay;
    --days;
  }
  CalendarTime t;
  CivilFromDays(days + kEpochDays, t.year, t.month, t.day);
  t.hour = static_cast<int>(msOfDay / 3'600'000);
  t.minute = static_cast<int>(msOfDay / 60'000 % 60);
  t.second = static_cast<int>(msOfDay / 1000 % 60);
  t.millisecond = static_cast<int>(msOfDay % 1000);
  return t;
}

int CompareDateTime(DateTime a, DateTime b) {
  if (std::fabs(a - b) * kMsPerDay < 1.0) return 0;
  return a < b ? -1 : 1;
}

std::int64_t WholeSecondsApart(DateTime a, DateTime b) {
  // Counted in whole milliseconds first: a day count near 46000 holds a
  // moment only to about a microsecond, and 31 s must not read as 30.999999.
  const auto ms = static_cast<std::int64_t>(std::llround(std::fabs(a - b) * kMsPerDay));
  return ms / 1000;
}

bool IsMidnight(const CalendarTime& t) { return t.hour == 0 && t.minute == 0 && t.second == 0; }

DateTime AtTimeOfDay(DateTime day, int hour, int minute, int second) {
  CalendarTime t = DecodeDateTime(day);
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  t.millisecond = 0;
  return EncodeDateTime(t);
}

void AppendZeroPadded(std::string& text, int value, int width) {
  char digits[12];
  int count = 0;
  unsigned rest = value < 0 ? 0u : static_cast<unsigned>(value);
  do {
    digits[count++] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  while (count < width && count < static_cast<int>(sizeof digits)) digits[count++] = '0';
  while (count > 0) text += digits[--count];
}

void AppendMoment(std::string& text, DateTime moment, char between) {
  const CalendarTime t = DecodeDateTime(moment);
  AppendZeroPadded(text, t.year, 4);
  text += '-';
  AppendZeroPadded(text, t.month, 2);
  text += '-';
  AppendZeroPadded(text, t.day, 2);
  text += between;
  AppendZeroPadded(text, t.hour, 2);
  text += ':';
  AppendZeroPadded(text, t.minute, 2);
  text += ':';
  AppendZeroPadded(text, t.second, 2);
}
