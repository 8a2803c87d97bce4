// Versions come from the update server's file and from version resources of
// downloaded programs: any text.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fuzz/fuzz_support.h"
#include "upgrade/version_compare.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

bool IsNewer(std::string_view current, std::string_view other) {
  const fuzz::ExactBytes a(current);
  const fuzz::ExactBytes b(other);
  return IsNewerVersion(a.View(), b.View());
}

void CheckNumberReadsBack(std::string_view piece) {
  const fuzz::ExactBytes exact(piece);
  const std::optional<std::int32_t> number = ParseVersionNumber(exact.View());
  if (!number) return;
  const std::int64_t value = *number;
  FUZZ_CHECK(ParseVersionNumber(std::to_string(value)) == number);
  char hex[16];
  std::snprintf(hex, sizeof hex, "%s$%llX", value < 0 ? "-" : "",
                static_cast<unsigned long long>(value < 0 ? -value : value));
  FUZZ_CHECK(ParseVersionNumber(hex) == number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader input(data, size);
  const std::string_view a = input.Field();
  const std::string_view b = input.Field();
  const std::string_view c = input.Field();
  const std::string_view delimiter = input.Field();
  const std::string_view text = input.Rest();

  const fuzz::ExactBytes exactText(text);
  const fuzz::ExactBytes exactDelimiter(delimiter);
  std::vector<std::string> pieces{"left over from before"};
  SplitByDelimiter(exactText.View(), pieces, exactDelimiter.View());
  FUZZ_CHECK(pieces.size() <= text.size());
  for (const std::string& piece : pieces) {
    FUZZ_CHECK(piece.empty() || (!IsBlank(piece.front()) && !IsBlank(piece.back())));
    FUZZ_CHECK(text.find(piece) != std::string_view::npos);
    if (!delimiter.empty()) FUZZ_CHECK(piece.find(delimiter) == std::string::npos);
  }
  for (const std::string_view piece : {a, b, c, text}) CheckNumberReadsBack(piece);
  for (const std::string& piece : pieces) CheckNumberReadsBack(piece);

  // "Newer" is an order: never of itself, never both ways, and it chains.
  const bool ab = IsNewer(a, b);
  const bool bc = IsNewer(b, c);
  FUZZ_CHECK(!IsNewer(a, a));
  FUZZ_CHECK(!(ab && IsNewer(b, a)));
  if (ab && bc) FUZZ_CHECK(IsNewer(a, c));
  // Blanks around the whole text change nothing.
  FUZZ_CHECK(IsNewer(" \t" + std::string(a) + "\r\n", b) == ab);
  return 0;
}
