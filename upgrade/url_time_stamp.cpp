#include "upgrade/url_time_stamp.h"

std::string UrlTimeStamp(const CalendarTime& time) {
  std::string text;
  AppendZeroPadded(text, time.year, 4);
  for (const int field : {time.month, time.day, time.hour}) AppendZeroPadded(text, field, 1);
  for (const int field : {time.minute, time.second}) {
    text += 'a';
    AppendZeroPadded(text, field, 1);
  }
  return text;
}

std::string UpdateRequestUrl(std::string_view base, const CalendarTime& time) {
  std::string url(base);
  url += '?';
  url += UrlTimeStamp(time);
  return url;
}
