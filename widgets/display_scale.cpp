#include "widgets/display_scale.h"

namespace {

// value * numerator / denominator, rounded half away from zero.
int MulDivRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  const long long rounded =
      product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
  return static_cast<int>(rounded);
}

Bounds ScaleEdges(const Bounds& b, int numerator, int denominator) {
  const int left = MulDivRounded(b.left, numerator, denominator);
  const int top = MulDivRounded(b.top, numerator, denominator);
  const int right = MulDivRounded(b.left + b.width, numerator, denominator);
  const int bottom = MulDivRounded(b.top + b.height, numerator, denominator);
  return {left, top, right - left, bottom - top};
}

}  // namespace

int ScaleToDpi(int value, int dpi) { return MulDivRounded(value, dpi, kLayoutDpi); }

int ScaleFromDpi(int value, int dpi) { return MulDivRounded(value, kLayoutDpi, dpi); }

Bounds ScaleToDpi(const Bounds& bounds, int dpi) { return ScaleEdges(bounds, dpi, kLayoutDpi); }

Bounds ScaleFromDpi(const Bounds& bounds, int dpi) { return ScaleEdges(bounds, kLayoutDpi, dpi); }

int ScaleFontHeight(int height, int dpi) {
  const int scaled = ScaleToDpi(height, dpi);
  return scaled > 0 ? scaled : 1;
}
