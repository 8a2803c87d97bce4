#pragma once

#include "platform/date_time.h"
#include "platform/time_zone.h"

// The wall-clock moment `minutes` of elapsed time after the wall-clock moment
// `now`, across the zone's clock changes: an hour from 01:30, when 02:00 skips
// to 03:00, is 03:30.
// A wall-clock time that comes twice is read as its second coming. A moment
// that falls there while `now` is before the first cannot be written apart
// from the first, which the tick would meet an hour early: it becomes the end
// of that hour, later than asked but never sooner.
[[nodiscard]] DateTime ElapsedMinutesLater(DateTime now, long long minutes, const TimeZone& zone);
