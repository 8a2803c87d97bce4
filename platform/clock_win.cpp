#include "platform/win32_platform.h"

namespace {

SYSTEMTIME ToSystemTime(const CalendarTime& time) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(time.year);
  st.wMonth = static_cast<WORD>(time.month);
  st.wDay = static_cast<WORD>(time.day);
  st.wHour = static_cast<WORD>(time.hour);
  st.wMinute = static_cast<WORD>(time.minute);
  st.wSecond = static_cast<WORD>(time.second);
  st.wMilliseconds = static_cast<WORD>(time.millisecond);
  return st;
}

}  // namespace

DateTime Win32Clock::Now() const {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return EncodeDateTime(
      {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
}

std::string Win32Clock::FormatShortDate(const CalendarTime& time) const {
  const SYSTEMTIME st = ToSystemTime(time);
  char text[128];
  const int length =
      GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
  return length > 0 ? std::string(text) : std::string();
}

std::string Win32Clock::FormatLongTime(const CalendarTime& time) const {
  const SYSTEMTIME st = ToSystemTime(time);
  char text[128];
  const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, sizeof text);
  return length > 0 ? std::string(text) : std::string();
}
