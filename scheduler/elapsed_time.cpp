#include "scheduler/elapsed_time.h"

#include <optional>

#include "scheduler/repeat.h"

namespace {

// One year's clock changes on the wall clock.
struct Changes {
  DateTime forward = 0;  // the skipped span starts here
  DateTime back = 0;     // the span that comes twice ends here
  DateTime shift = 0;    // in days
  int shiftMinutes = 0;
  // Daylight-saving time over the turn of the year (the south).
  [[nodiscard]] bool AcrossNewYear() const { return CompareDateTime(forward, back) > 0; }
  [[nodiscard]] DateTime RepeatStart() const { return back - shift; }
};

std::optional<Changes> ChangesIn(DateTime moment, const TimeZone& zone) {
  const int year = DecodeDateTime(moment).year;
  const std::optional<DaylightSaving> rules = zone.DaylightSavingIn(year);
  if (!rules || rules->shiftMinutes <= 0) return std::nullopt;
  const DateTime shift = rules->shiftMinutes / kMinutesPerDay;
  return Changes{ClockChangeMoment(rules->forward, year), ClockChangeMoment(rules->back, year),
                 shift, rules->shiftMinutes};
}

bool AtOrAfter(DateTime a, DateTime b) { return CompareDateTime(a, b) >= 0; }
bool Before(DateTime a, DateTime b) { return CompareDateTime(a, b) < 0; }

// Whether a moment lies in daylight-saving time, given where that time starts
// and ends on the scale it is written in.
bool Within(const Changes& changes, DateTime moment, DateTime start, DateTime end) {
  if (changes.AcrossNewYear()) return Before(moment, end) || AtOrAfter(moment, start);
  return AtOrAfter(moment, start) && Before(moment, end);
}

// Minutes the wall clock is ahead of standard time at a wall-clock moment:
// none in the skipped span (never shown) or the span that comes twice (read
// as its second coming).
int DaylightMinutesAtWallClock(DateTime wallClock, const TimeZone& zone) {
  const std::optional<Changes> changes = ChangesIn(wallClock, zone);
  if (!changes) return 0;
  const bool daylight =
      Within(*changes, wallClock, changes->forward + changes->shift, changes->RepeatStart());
  return daylight ? changes->shiftMinutes : 0;
}

// The same at a moment written in standard time, which runs without jumps.
int DaylightMinutesAtStandard(DateTime standard, const TimeZone& zone) {
  const std::optional<Changes> changes = ChangesIn(standard, zone);
  if (!changes) return 0;
  const bool daylight = Within(*changes, standard, changes->forward, changes->RepeatStart());
  return daylight ? changes->shiftMinutes : 0;
}

}  // namespace

DateTime ElapsedMinutesLater(DateTime now, long long minutes, const TimeZone& zone) {
  const int daylightNow = DaylightMinutesAtWallClock(now, zone);
  const DateTime standard =
      (now * kMinutesPerDay + static_cast<double>(minutes - daylightNow)) / kMinutesPerDay;
  const int daylight = DaylightMinutesAtStandard(standard, zone);
  // On the minute scale of the date-time value, the whole shift added at once:
  // without a clock change, what the wall clock's own sum gives.
  const DateTime later =
      (now * kMinutesPerDay + static_cast<double>(minutes + daylight - daylightNow)) /
      kMinutesPerDay;
  if (daylight != 0) return later;
  // Standard time again: in the span that comes twice it is the second coming.
  const std::optional<Changes> changes = ChangesIn(later, zone);
  if (changes && Before(now, changes->RepeatStart()) && AtOrAfter(later, changes->RepeatStart()) &&
      Before(later, changes->back)) {
    return changes->back;
  }
  return later;
}
