#pragma once

#include <string>
#include <string_view>

#include "platform/date_time.h"

// Both update requests carry the moment as their query, so that no cache on
// the way answers with an old copy.

// "yyyymdhanas": the year in four digits, then month, day, hour (0-23), "a",
// minute, "a", second, without leading zeros; milliseconds are dropped.
// 2014-03-05 09:07:02 gives "2014359a7a2".
[[nodiscard]] std::string UrlTimeStamp(const CalendarTime& time);

// The address with "?" and the time stamp behind it. An address that already
// has a query is not looked into: it gets a second "?" part.
[[nodiscard]] std::string UpdateRequestUrl(std::string_view base, const CalendarTime& time);
