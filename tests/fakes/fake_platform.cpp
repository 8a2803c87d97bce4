#include "tests/fakes/fake_platform.h"

#include <cstdio>

std::string FakeClock::FormatShortDate(const CalendarTime& time) const {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d/%d", time.year, time.month, time.day);
  return text;
}

std::string FakeClock::FormatLongTime(const CalendarTime& time) const {
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%02d", time.hour, time.minute, time.second);
  return text;
}

DateTime At(int hour, int minute, int second, int day, int month, int year) {
  return EncodeDateTime({year, month, day, hour, minute, second, 0});
}
