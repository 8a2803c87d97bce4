#pragma once

#include <cstdint>
#include <vector>

// A picture as 32-bit pixels with the alpha multiplied in (what AlphaBlend
// draws), one row after another.
struct PremultipliedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB
};

// The picture at another size, each new pixel the average of the area of the
// old ones it covers: shrinking keeps thin lines and soft edges, and colours
// never bleed from transparent pixels since the alpha is already multiplied in.
[[nodiscard]] PremultipliedImage ResizePremultiplied(const PremultipliedImage& source, int width,
                                                     int height);
