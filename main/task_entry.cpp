#include "main/task_entry.h"

#include "scheduler/elapsed_time.h"

int MinutesPerUnit(int unitIndex) {
  switch (unitIndex) {
    case kUnitHours:
      return 60;
    case kUnitDays:
      return 1440;
    default:
      return 1;
  }
}

int CountForUnit(int unitIndex) { return unitIndex == kUnitMinutes ? 30 : 1; }

DateTime CountdownDueMoment(DateTime now, int count, int unitIndex, const TimeZone& zone) {
  // At most 1,000,000 days: 1,440,000,000 minutes still fit the 32-bit count.
  const long long minutes = static_cast<long long>(count) * MinutesPerUnit(unitIndex);
  return ElapsedMinutesLater(now, minutes, zone);
}

DateTime EnteredMoment(DateTime day, int secondOfDay) {
  return AtTimeOfDay(day, secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
}

bool IsPastMoment(DateTime moment, DateTime now) { return CompareDateTime(moment, now) < 0; }

std::optional<DatedDue> DueForEnteredMoment(DateTime entered, RepeatKind repeat, DateTime now,
                                            const TimeZone& zone) {
  DatedDue due;
  due.repeat = FirstOccurrence(repeat, entered, now, zone);
  due.when = DueMomentOf(due.repeat.occurrence, zone);
  if (due.repeat.kind == RepeatKind::None) due.repeat = {};
  if (IsPastMoment(due.when, now)) return std::nullopt;
  return due;
}

std::string CloseProgramParam(const std::string& pickerText) {
  // An image name holds no "|": what follows the last one is the name.
  const std::size_t bar = pickerText.rfind('|');
  return bar == std::string::npos ? pickerText : pickerText.substr(bar + 1);
}

bool HasProgramExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.size() - dot != 4) return false;
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return lower(path[dot + 1]) == 'e' && lower(path[dot + 2]) == 'x' && lower(path[dot + 3]) == 'e';
}
