#include "widgets/font_face.h"

#include <gtest/gtest.h>

TEST(SystemFontFace, AsksForAFaceWithChineseWhereTheDesignNamesTheBitmapFont) {
  static constexpr struct {
    const char* design;
    const char* asked;
  } kCases[] = {
      {"MS Sans Serif", "SimSun"},
      {"ms sans serif", "SimSun"},
      {"MS Sans Serif Bold", "MS Sans Serif Bold"},
      {"Microsoft Sans Serif", "Microsoft Sans Serif"},
      {"Arial", "Arial"},
      {"", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.design);
    EXPECT_EQ(SystemFontFace(c.design), c.asked);
  }
}
