#pragma once

#include <windows.h>

#include "platform/date_time.h"

[[nodiscard]] inline SYSTEMTIME ToSystemTime(const CalendarTime& time) {
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
