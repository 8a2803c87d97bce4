#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the progress window shows for a download.

struct DownloadProgress {
  // The bar's range is 0 to barMaximum; barPosition lies within it.
  std::int32_t barMaximum = 0;
  std::int32_t barPosition = 0;
  // Whole percent done, cut toward zero: "0" to "100".
  std::string percentText;
};

// From the counts the download service reports: bytes received and bytes
// expected (0 while it knows no total). Received bytes beyond the total count
// as the total. A total beyond the bar's signed range is halved for the bar,
// together with the received count; the percentage is taken from the counts
// themselves, so it stays exact.
[[nodiscard]] DownloadProgress ProgressOfDownload(std::uint32_t progress, std::uint32_t maximum);

// The progress window's caption while the download runs, in the active language.
[[nodiscard]] std::string DownloadCaption(std::string_view appTitle, std::string_view percentText);
