#include "widgets/font_face.h"

#include <algorithm>
#include <cctype>

namespace {

// Face names are compared without regard to case, as the font mapper does.
bool SameFace(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::string SystemFontFace(const std::string& designFace) {
  return SameFace(designFace, "MS Sans Serif") ? "SimSun" : designFace;
}
