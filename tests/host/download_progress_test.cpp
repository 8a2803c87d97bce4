#include "upgrade/download_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

TEST(DownloadProgress, HoldsTheBarInItsRangeAndCutsThePercentage) {
  struct Case {
    std::uint32_t progress;
    std::uint32_t maximum;
    std::int32_t barMaximum;
    std::int32_t barPosition;
    const char* percent;
  };
  static constexpr Case kCases[] = {
      {0, 2048, 2048, 0, "0"},
      {0, 0, 0, 0, "0"},
      {0, 4294967295u, 2147483647, 0, "0"},
      {1, 2048, 2048, 1, "0"},
      {512, 2048, 2048, 512, "25"},
      {29, 100, 100, 29, "29"},  // 0.29 * 100 is 28.999... in a double
      {29, 50, 50, 29, "58"},
      {2047, 2048, 2048, 2047, "99"},
      {2048, 2048, 2048, 2048, "100"},
      {100, 0, 0, 0, "0"},  // no total reported yet
      {3000, 2048, 2048, 2048, "100"},
      {2147483647, 2147483647, 2147483647, 2147483647, "100"},
      {2147483646, 2147483647, 2147483647, 2147483646, "99"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.progress << " of " << c.maximum);
    const DownloadProgress shown = ProgressOfDownload(c.progress, c.maximum);
    EXPECT_EQ(shown.barMaximum, c.barMaximum);
    EXPECT_EQ(shown.barPosition, c.barPosition);
    EXPECT_EQ(shown.percentText, c.percent);
  }
}

TEST(DownloadProgress, ScalesTotalsBeyondTheBarsRangeAndKeepsThePercentageExact) {
  struct Case {
    std::uint32_t progress;
    std::uint32_t maximum;
    const char* percent;
  };
  static constexpr Case kCases[] = {
      {3000000000u, 4000000000u, "75"},  {1000000000u, 2147483648u, "46"},
      {2147483648u, 2147483648u, "100"}, {4294967295u, 4294967295u, "100"},
      {4294967294u, 4294967295u, "99"},  // halving both would make this 100
      {4294967295u, 3000000000u, "100"}, {1, 4294967295u, "0"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.progress << " of " << c.maximum);
    const DownloadProgress shown = ProgressOfDownload(c.progress, c.maximum);
    EXPECT_EQ(shown.percentText, c.percent);
    EXPECT_GT(shown.barMaximum, 0);
    EXPECT_GE(shown.barPosition, 0);
    EXPECT_LE(shown.barPosition, shown.barMaximum);
    const double shownFraction = static_cast<double>(shown.barPosition) / shown.barMaximum;
    const double fraction = static_cast<double>(std::min(c.progress, c.maximum)) / c.maximum;
    EXPECT_NEAR(shownFraction, fraction, 1e-6);
  }
}

TEST(DownloadProgress, CaptionNamesTheProgramAndThePercentage) {
  EXPECT_EQ(DownloadCaption("Lumo定时关机", "25"), "Lumo定时关机 正在下载最新版本 下载进度：25%");
  EXPECT_EQ(DownloadCaption("", "0"), " 正在下载最新版本 下载进度：0%");
}
