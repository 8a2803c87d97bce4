#include "upgrade/download_progress.h"

#include <algorithm>
#include <cmath>
#include <limits>

DownloadProgress ProgressOfDownload(std::uint32_t progress, std::uint32_t maximum) {
  const std::uint32_t held = std::min(progress, maximum);

  constexpr std::uint32_t kBarLimit = std::numeric_limits<std::int32_t>::max();
  int shift = 0;
  while ((maximum >> shift) > kBarLimit) ++shift;

  DownloadProgress shown;
  shown.barMaximum = static_cast<std::int32_t>(maximum >> shift);
  shown.barPosition = static_cast<std::int32_t>(held >> shift);
  // Fraction first, then times 100, as the bar's own values would give when the
  // total fits; but from the unscaled counts, since a halved total would show
  // a download one byte short of a huge total as 100%.
  const double percent =
      held == 0 ? 0.0
                : std::trunc(static_cast<double>(held) / static_cast<double>(maximum) * 100.0);
  shown.percentText = std::to_string(static_cast<int>(percent));
  return shown;
}

std::string DownloadCaption(std::string_view appTitle, std::string_view percentText) {
  std::string caption(appTitle);
  caption += " 正在下载最新版本 下载进度：";
  caption += percentText;
  caption += '%';
  return caption;
}
