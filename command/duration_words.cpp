#include "command/duration_words.h"

namespace {

constexpr struct {
  char letter;
  long long minutes;
} kUnits[] = {{'d', 1440}, {'h', 60}, {'m', 1}};

}  // namespace

std::optional<long long> ParseDurationMinutes(std::string_view text) {
  if (text.empty()) return std::nullopt;
  long long total = 0;
  std::size_t unit = 0;
  while (!text.empty()) {
    std::size_t digits = 0;
    long long count = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
      // Past the longest countdown already: no need to count on and overflow.
      if (count > kMaxCountdownMinutes) return std::nullopt;
      count = count * 10 + (text[digits] - '0');
      ++digits;
    }
    if (digits == 0 || digits == text.size()) return std::nullopt;
    const char letter = text[digits];
    while (unit < std::size(kUnits) && kUnits[unit].letter != letter) ++unit;
    if (unit == std::size(kUnits)) return std::nullopt;
    total += count * kUnits[unit].minutes;
    if (total > kMaxCountdownMinutes) return std::nullopt;
    ++unit;  // each unit once, the larger first
    text.remove_prefix(digits + 1);
  }
  return total;
}
