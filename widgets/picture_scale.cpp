#include "widgets/picture_scale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// How much of each source pixel an output pixel covers along one axis.
struct Span {
  int first = 0;
  std::vector<double> weights;  // sum to 1
};

std::vector<Span> Spans(int from, int to) {
  std::vector<Span> spans(static_cast<std::size_t>(to));
  const double step = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    const double begin = i * step;
    const double end = (i + 1) * step;
    Span& span = spans[static_cast<std::size_t>(i)];
    span.first = std::min(static_cast<int>(std::floor(begin)), from - 1);
    for (int s = span.first; s < from && s < end; ++s) {
      const double cover = std::min<double>(s + 1, end) - std::max<double>(s, begin);
      span.weights.push_back(cover / step);
    }
  }
  return spans;
}

using Channels = std::array<double, 4>;

Channels Unpack(std::uint32_t pixel) {
  return {static_cast<double>(pixel & 0xFF), static_cast<double>((pixel >> 8) & 0xFF),
          static_cast<double>((pixel >> 16) & 0xFF), static_cast<double>(pixel >> 24)};
}

std::uint32_t Pack(const Channels& c) {
  std::uint32_t pixel = 0;
  for (std::size_t i = c.size(); i-- > 0;) {
    pixel = (pixel << 8) | static_cast<std::uint32_t>(std::clamp(std::lround(c[i]), 0L, 255L));
  }
  return pixel;
}

}  // namespace

PremultipliedImage ResizePremultiplied(const PremultipliedImage& source, int width, int height) {
  PremultipliedImage result{width, height, {}};
  if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0) return result;
  result.pixels.resize(static_cast<std::size_t>(width) * height);
  const std::vector<Span> columns = Spans(source.width, width);
  const std::vector<Span> rows = Spans(source.height, height);
  for (int y = 0; y < height; ++y) {
    const Span& row = rows[static_cast<std::size_t>(y)];
    for (int x = 0; x < width; ++x) {
      const Span& column = columns[static_cast<std::size_t>(x)];
      Channels sum{};
      for (std::size_t j = 0; j < row.weights.size(); ++j) {
        const std::size_t sourceRow = static_cast<std::size_t>(row.first) + j;
        for (std::size_t i = 0; i < column.weights.size(); ++i) {
          const std::size_t at = sourceRow * static_cast<std::size_t>(source.width) +
                                 static_cast<std::size_t>(column.first) + i;
          const Channels c = Unpack(source.pixels[at]);
          const double weight = row.weights[j] * column.weights[i];
          for (std::size_t k = 0; k < c.size(); ++k) sum[k] += c[k] * weight;
        }
      }
      result.pixels[static_cast<std::size_t>(y) * width + x] = Pack(sum);
    }
  }
  return result;
}
