#pragma once

#include "widgets/control.h"

// The windows are laid out in pixels at 96 dots per inch; a screen with
// another density shows them larger by dpi / 96. A box is scaled by its edges,
// not by its size, so controls that touch at 96 DPI touch at every density and
// none creeps away from its neighbours.
inline constexpr int kLayoutDpi = 96;

// A length or a position in layout pixels, on a screen of this density;
// halves round away from zero, as MulDiv does.
[[nodiscard]] int ScaleToDpi(int value, int dpi);
// A length or a position on the screen back in layout pixels.
[[nodiscard]] int ScaleFromDpi(int value, int dpi);

[[nodiscard]] Bounds ScaleToDpi(const Bounds& bounds, int dpi);
[[nodiscard]] Bounds ScaleFromDpi(const Bounds& bounds, int dpi);

// A font's character height on the screen, never less than one pixel.
[[nodiscard]] int ScaleFontHeight(int height, int dpi);
