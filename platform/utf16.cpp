#include "platform/utf16.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One character from the front of the text: its code point (U+FFFD for a bad
// piece) and how many bytes it took (at least one).
struct Decoded {
  char32_t codePoint;
  std::size_t length;
};

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

Decoded DecodeOne(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t codePoint = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
    smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
    smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
    smallest = 0x10000;
  } else {
    return {kReplacement, 1};  // a continuation byte, or a lead no character has
  }
  // A piece cut short or broken off is replaced up to where it stops being
  // well formed; the byte there starts the next character.
  std::size_t taken = 1;
  for (; taken < length; ++taken) {
    if (taken >= text.size() || !IsContinuation(static_cast<unsigned char>(text[taken]))) {
      return {kReplacement, taken};
    }
    codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[taken]) & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < smallest || surrogate || codePoint > 0x10FFFF) return {kReplacement, length};
  return {codePoint, length};
}

void AppendUtf16(std::u16string& out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<char16_t>(codePoint));
    return;
  }
  codePoint -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const Decoded one = DecodeOne(utf8);
    AppendUtf16(out, one.codePoint);
    utf8.remove_prefix(one.length);
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                          (static_cast<char32_t>(utf16[i + 1]) - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits) {
  std::size_t units = 0;
  std::size_t bytes = 0;
  while (bytes < utf8.size()) {
    const Decoded one = DecodeOne(utf8.substr(bytes));
    const std::size_t needed = one.codePoint >= 0x10000 ? 2 : 1;
    if (units + needed > maxUnits) break;
    units += needed;
    bytes += one.length;
  }
  return std::string(utf8.substr(0, bytes));
}
