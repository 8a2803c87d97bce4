#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

// The version-information file the update server answers with: token 1 is the
// newest version, token 2 the address of its program.

// The reader looks at no more than this many bytes of the file, so a hostile or
// broken answer costs a bounded amount of memory; callers read at most this much.
inline constexpr std::size_t kVersionFileMaxBytes = 64 * 1024;

// The file's tokens. The text ends at its first byte 0 (or at the bound above).
// Bytes 1 to 32 and commas separate tokens; a comma at a token's start gives an
// empty token. A token in double quotes may hold separators, "" stands for one
// quote inside it, and a missing closing quote lets it run to the end of the
// text. Line breaks count as CR LF. Double-byte characters are stepped over
// whole, so their second byte is never a separator or a quote: the file is
// read in the system's code page, as servers written for older programs
// expect. Each token is then the program's UTF-8 text; a byte-order mark stays
// in front of the first token.
[[nodiscard]] std::vector<std::string> VersionFileTokens(std::string_view bytes,
                                                         const CodePage& codePage);

// The address to download from, or empty when the file offers nothing newer
// than `appVersion`.
[[nodiscard]] std::string UpdateCandidateFrom(const std::vector<std::string>& tokens,
                                              std::string_view appVersion);
