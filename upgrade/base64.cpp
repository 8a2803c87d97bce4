#include "upgrade/base64.h"

#include <cstdint>

namespace {

constexpr int kNotInAlphabet = -1;

int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return kNotInAlphabet;
}

}  // namespace

std::optional<std::string> DecodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t padding = 0;
  if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;

  std::string bytes;
  bytes.reserve(text.size() / 4 * 3);
  const std::size_t sextets = text.size() - padding;
  std::uint32_t bits = 0;
  int bitCount = 0;
  for (std::size_t i = 0; i < sextets; ++i) {
    const int sextet = SextetOf(text[i]);
    if (sextet == kNotInAlphabet) return std::nullopt;  // "=" before the end, too
    bits = (bits << 6) | static_cast<std::uint32_t>(sextet);
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      bytes.push_back(static_cast<char>((bits >> bitCount) & 0xFF));
    }
  }
  // What the last character carries beyond the last whole byte must be zero:
  // otherwise "Zh==" would read as "f" as well as "Zg==".
  if ((bits & ((1u << bitCount) - 1)) != 0) return std::nullopt;
  return bytes;
}
