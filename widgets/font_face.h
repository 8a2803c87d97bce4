#pragma once

#include <string>

// The face to ask the system for, for a face the window designs name. The
// designs were drawn on a Simplified Chinese system, where the font mapper
// answers "MS Sans Serif" (a bitmap font without Chinese, which links to no
// font that has it) with SimSun; any other system keeps the bitmap font and
// draws every Chinese text in it as boxes. So SimSun is asked for by name,
// whatever the system's code page.
[[nodiscard]] std::string SystemFontFace(const std::string& designFace);
