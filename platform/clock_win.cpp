#include "platform/system_time_win.h"
#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"

DateTime Win32Clock::Now() const {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return EncodeDateTime(
      {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
}

std::string Win32Clock::FormatShortDate(const CalendarTime& time) const {
  const SYSTEMTIME st = ToSystemTime(time);
  wchar_t text[128];
  const int length =
      GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, std::size(text));
  return length > 0 ? FromWide(text) : std::string();
}

std::string Win32Clock::FormatLongTime(const CalendarTime& time) const {
  const SYSTEMTIME st = ToSystemTime(time);
  wchar_t text[128];
  const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, std::size(text));
  return length > 0 ? FromWide(text) : std::string();
}

void Win32Clock::Pause(unsigned milliseconds) const { Sleep(milliseconds); }
