#include "upgrade/version_compare.h"

#include <limits>

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value < base ? value : -1;
}

}  // namespace

void SplitByDelimiter(std::string_view text, std::vector<std::string>& pieces,
                      std::string_view delimiter) {
  pieces.clear();
  const std::string_view data = Trimmed(text);
  if (data.empty()) return;
  if (delimiter.empty()) {
    // Nothing to cut at; searching for "" would find it everywhere forever.
    pieces.emplace_back(data);
    return;
  }
  std::size_t start = 0;
  for (std::size_t found = data.find(delimiter); found != std::string_view::npos;
       found = data.find(delimiter, start)) {
    if (found > start) pieces.emplace_back(Trimmed(data.substr(start, found - start)));
    start = found + delimiter.size();
  }
  if (start < data.size()) pieces.emplace_back(Trimmed(data.substr(start)));
}

std::optional<std::int32_t> ParseVersionNumber(std::string_view piece) {
  while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
  bool negative = false;
  if (!piece.empty() && (piece.front() == '+' || piece.front() == '-')) {
    negative = piece.front() == '-';
    piece.remove_prefix(1);
  }
  int base = 10;
  if (piece.starts_with('$') || piece.starts_with('x') || piece.starts_with('X')) {
    base = 16;
    piece.remove_prefix(1);
  } else if (piece.starts_with("0x") || piece.starts_with("0X")) {
    base = 16;
    piece.remove_prefix(2);
  }
  if (piece.empty()) return std::nullopt;

  // The magnitude may reach 2^31 only for a negative number.
  const std::int64_t limit =
      static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0);
  std::int64_t magnitude = 0;
  for (const char c : piece) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

bool IsNewerVersion(std::string_view current, std::string_view other) {
  std::vector<std::string> a;
  std::vector<std::string> b;
  SplitByDelimiter(current, a, ".");
  SplitByDelimiter(other, b, ".");
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    // Later pieces stay unread once a position decides: "2.beta" is newer than 1.x.
    const std::optional<std::int32_t> mine = ParseVersionNumber(a[i]);
    const std::optional<std::int32_t> theirs = ParseVersionNumber(b[i]);
    if (!mine || !theirs) return false;
    if (*mine != *theirs) return *mine < *theirs;
  }
  return false;
}
