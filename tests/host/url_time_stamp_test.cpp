#include "upgrade/url_time_stamp.h"

#include <gtest/gtest.h>

TEST(UrlTimeStamp, WritesTheMomentWithoutLeadingZerosOrMilliseconds) {
  struct Case {
    CalendarTime time;
    const char* stamp;
  };
  static const Case kCases[] = {
      {{2014, 3, 5, 9, 7, 2, 0}, "2014359a7a2"},
      {{2023, 12, 25, 14, 30, 45, 0}, "2023122514a30a45"},
      {{2026, 1, 1, 0, 0, 0, 999}, "2026110a0a0"},
      {{2026, 10, 31, 23, 59, 59, 500}, "2026103123a59a59"},
      {{987, 6, 7, 8, 9, 10, 0}, "0987678a9a10"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.stamp);
    EXPECT_EQ(UrlTimeStamp(c.time), c.stamp);
  }
}

TEST(UrlTimeStamp, IsAppendedAsTheQueryOfTheAddressAsItStands) {
  const CalendarTime time{2023, 12, 25, 14, 30, 45, 0};
  EXPECT_EQ(UpdateRequestUrl("http://update.dusk.invalid/v/dusk.html", time),
            "http://update.dusk.invalid/v/dusk.html?2023122514a30a45");
  EXPECT_EQ(UpdateRequestUrl("http://h/get?file=Dusk.exe", time),
            "http://h/get?file=Dusk.exe?2023122514a30a45");
}
