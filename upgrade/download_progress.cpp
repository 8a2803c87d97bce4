#include "upgrade/download_progress.h"

#include <algorithm>
#include <limits>

#include "language/language.h"

DownloadProgress ProgressOfDownload(std::uint32_t progress, std::uint32_t maximum) {
  const std::uint32_t held = std::min(progress, maximum);

  constexpr std::uint32_t kBarLimit = std::numeric_limits<std::int32_t>::max();
  int shift = 0;
  while ((maximum >> shift) > kBarLimit) ++shift;

  DownloadProgress shown;
  shown.barMaximum = static_cast<std::int32_t>(maximum >> shift);
  shown.barPosition = static_cast<std::int32_t>(held >> shift);
  // From the unscaled counts, since a halved total would show a download one
  // byte short of a huge total as 100%; and in whole numbers, since a double
  // fraction times 100 shows 29 bytes of 100 as 28%.
  const std::uint64_t percent = held == 0 ? 0 : std::uint64_t{held} * 100 / maximum;
  shown.percentText = std::to_string(percent);
  return shown;
}

std::string DownloadCaption(std::string_view appTitle, std::string_view percentText) {
  return FormatText(TextId::DownloadProgressCaption, {appTitle, percentText});
}
