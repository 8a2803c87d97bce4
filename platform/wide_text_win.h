#pragma once

#include <string>
#include <string_view>

#include "platform/utf16.h"

// The program's UTF-8 texts as the wide system calls take and give them.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

[[nodiscard]] inline std::wstring ToWide(std::string_view utf8) {
  const std::u16string utf16 = Utf8ToUtf16(utf8);
  return std::wstring(utf16.begin(), utf16.end());
}

[[nodiscard]] inline std::string FromWide(std::wstring_view wide) {
  return Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}
