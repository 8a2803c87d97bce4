#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Dotted versions, as the update server and the version resource write them.

// Clears the pieces and fills them with the text cut at each delimiter. The
// text and every piece lose their leading and trailing bytes of 32 or less.
// Two delimiters in a row, or one at either end, add no piece, while blanks
// between two delimiters add an empty one. An empty delimiter leaves the
// trimmed text as the one piece.
void SplitByDelimiter(std::string_view text, std::vector<std::string>& pieces,
                      std::string_view delimiter);

// One piece of a version as a signed 32-bit number: leading spaces, an optional
// "+" or "-", then decimal digits, or hexadecimal digits after "$", "x", "X",
// "0x" or "0X". The sign applies to hexadecimal as well ("-$1F" is -31), and
// both kinds must land within the signed 32-bit range ("$80000000" is not a
// number, "-$80000000" is). Nothing but digits may follow.
[[nodiscard]] std::optional<std::int32_t> ParseVersionNumber(std::string_view piece);

// Whether `other` names a newer version than `current`: the same number of
// pieces, and the first piece that differs is greater in `other`. A piece that
// is not a number, once the comparison reaches it, makes the answer "not newer"
// — an unreadable version from the server must never start an update.
[[nodiscard]] bool IsNewerVersion(std::string_view current, std::string_view other);
