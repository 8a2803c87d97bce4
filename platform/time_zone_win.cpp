#include "platform/time_zone_win.h"

namespace {

ClockChangeRule RuleOf(const SYSTEMTIME& change) {
  ClockChangeRule rule;
  rule.month = change.wMonth;
  // A year of 0 marks the recurring form: wDay is then the week of the month.
  if (change.wYear == 0) {
    rule.week = change.wDay;
    rule.dayOfWeek = change.wDayOfWeek;
  } else {
    rule.day = change.wDay;
  }
  rule.hour = change.wHour;
  rule.minute = change.wMinute;
  rule.second = change.wSecond;
  rule.millisecond = change.wMilliseconds;
  return rule;
}

}  // namespace

std::optional<DaylightSaving> Win32TimeZone::DaylightSavingIn(int year) const {
  TIME_ZONE_INFORMATION zone{};
  if (year < 1601 || year > 30827 ||
      !GetTimeZoneInformationForYear(static_cast<USHORT>(year), nullptr, &zone)) {
    return std::nullopt;
  }
  // A month of 0: no daylight-saving time in this zone that year.
  if (zone.DaylightDate.wMonth == 0 || zone.StandardDate.wMonth == 0) return std::nullopt;
  return DaylightSaving{RuleOf(zone.DaylightDate), RuleOf(zone.StandardDate),
                        static_cast<int>(zone.StandardBias - zone.DaylightBias)};
}
