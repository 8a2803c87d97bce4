#include "scheduler/moment_text.h"

std::string MomentText(const Clock& clock, DateTime moment) {
  const CalendarTime time = DecodeDateTime(moment);
  std::string text = clock.FormatShortDate(time);
  if (!IsMidnight(time)) text.append(" ").append(clock.FormatLongTime(time));
  return text;
}
