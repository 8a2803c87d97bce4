#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The program's texts are UTF-8; the system's wide calls take UTF-16. These
// two convert between them at the system boundary. Whatever is not a valid
// sequence (a stray byte, an overlong form, a lone surrogate) becomes U+FFFD,
// one for each bad piece: a broken name stays visibly broken rather than
// shortened into another.
[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view utf8);
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view utf16);

// The longest start of a UTF-8 text that takes at most maxUnits UTF-16 units,
// cut between characters: a surrogate pair is never split.
[[nodiscard]] std::string CutToUtf16Units(std::string_view utf8, std::size_t maxUnits);
