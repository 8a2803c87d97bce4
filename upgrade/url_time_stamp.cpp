#include "upgrade/url_time_stamp.h"

#include <cstdio>

std::string UrlTimeStamp(const CalendarTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d%d%d%da%da%d", time.year, time.month, time.day, time.hour,
                time.minute, time.second);
  return text;
}

std::string UpdateRequestUrl(std::string_view base, const CalendarTime& time) {
  std::string url(base);
  url += '?';
  url += UrlTimeStamp(time);
  return url;
}
