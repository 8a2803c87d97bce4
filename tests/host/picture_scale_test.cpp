#include "widgets/picture_scale.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kClear = 0x00000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;

PremultipliedImage Filled(int width, int height, std::uint32_t pixel) {
  return {width, height,
          std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, pixel)};
}

}  // namespace

TEST(PictureScale, ShrinksByAreaWithoutDarkFringesOrBleedingBetweenPictures) {
  struct Case {
    const char* what;
    PremultipliedImage source;
    int width, height;
    std::vector<std::uint32_t> expected;
  };
  const Case kCases[] = {
      {"a flat colour stays itself", Filled(96, 96, kRed), 48, 48, Filled(48, 48, kRed).pixels},
      {"same size: the same pixels", {2, 1, {kRed, kBlue}}, 2, 1, {kRed, kBlue}},
      // A quarter-covered pixel is a quarter of white, not a grey.
      {"soft edge", {2, 2, {kWhite, kClear, kClear, kClear}}, 1, 1, {0x40404040}},
      // Two pictures side by side in a strip stay apart.
      {"strip of two",
       {4, 2, {kRed, kRed, kBlue, kBlue, kRed, kRed, kBlue, kBlue}},
       2,
       1,
       {kRed, kBlue}},
      // 150 %: three source pixels to two, the middle one shared.
      {"thirds", {3, 1, {kRed, kWhite, kBlue}}, 2, 1, {0xFFFF5555, 0xFF5555FF}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    const PremultipliedImage resized = ResizePremultiplied(c.source, c.width, c.height);
    EXPECT_EQ(resized.width, c.width);
    EXPECT_EQ(resized.height, c.height);
    EXPECT_EQ(resized.pixels, c.expected);
  }
}
