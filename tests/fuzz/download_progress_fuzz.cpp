// The download counts come from the download service and, through it, from
// the server: any pair of 32-bit numbers.
#include <cstdint>
#include <cstring>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "upgrade/download_progress.h"

namespace {

// "Whole percent done, cut toward zero", in exact integers.
std::uint32_t WholePercent(std::uint32_t progress, std::uint32_t maximum) {
  if (maximum == 0) return 0;
  const std::uint64_t held = progress < maximum ? progress : maximum;
  return static_cast<std::uint32_t>(held * 100 / maximum);
}

std::uint32_t ShownPercent(const DownloadProgress& shown) {
  const std::string& text = shown.percentText;
  FUZZ_CHECK(!text.empty() && text.size() <= 3);
  FUZZ_CHECK(text == "0" || text[0] != '0');
  std::uint32_t value = 0;
  for (const char c : text) {
    FUZZ_CHECK(c >= '0' && c <= '9');
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  FUZZ_CHECK(value <= 100);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // This build must compile the program's literals as the real builds do.
  FUZZ_CHECK(DownloadCaption("", "7") == " 正在下载最新版本 下载进度：7%");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader input(data, size);
  const std::uint32_t progress = input.U32();
  const std::uint32_t maximum = input.U32();

  const DownloadProgress shown = ProgressOfDownload(progress, maximum);
  FUZZ_CHECK(shown.barMaximum >= 0);
  FUZZ_CHECK(shown.barPosition >= 0 && shown.barPosition <= shown.barMaximum);
  if (maximum <= 0x7FFFFFFFu) {
    FUZZ_CHECK(static_cast<std::uint32_t>(shown.barMaximum) == maximum);
  }
  if (maximum != 0) {
    // A halved bar still shows about the right share.
    const double held = progress < maximum ? progress : maximum;
    const double barShare = static_cast<double>(shown.barPosition) / shown.barMaximum;
    FUZZ_CHECK(barShare - held / maximum < 1e-6 && held / maximum - barShare < 1e-6);
  }

  const std::uint32_t percent = ShownPercent(shown);
  FUZZ_CHECK(percent == WholePercent(progress, maximum));
  // 100 only once everything is there.
  FUZZ_CHECK((percent == 100) == (maximum != 0 && progress >= maximum));
  // One more byte never shows less.
  if (progress != UINT32_MAX) {
    FUZZ_CHECK(ShownPercent(ProgressOfDownload(progress + 1, maximum)) >= percent);
  }
  return 0;
}
