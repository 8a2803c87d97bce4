#pragma once

#include <optional>
#include <string>
#include <string_view>

// The bytes written by standard base64 (RFC 4648, "+" and "/", "=" padding).
// Read strictly, so that one set of bytes has exactly one accepted text: the
// length is a multiple of 4, "=" appears only as the last one or two
// characters, the bits the padding leaves over are zero, and nothing else —
// no line breaks, blanks or other alphabets — is allowed. None otherwise.
[[nodiscard]] std::optional<std::string> DecodeBase64(std::string_view text);
