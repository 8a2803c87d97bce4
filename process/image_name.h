#pragma once

#include <string_view>

#include "platform/code_page.h"

// Image names as the close-program task compares them: the ASCII letters a to
// z without case, every other byte exactly, the two bytes of a double-byte
// character included.

// The text after the last "\" or ":" of a snapshot's image name (or all of
// it): a second byte of a double-byte character with either value is no
// separator.
[[nodiscard]] std::string_view FileNamePart(std::string_view exeFile, const CodePage& codePage);

// The folder of a full path, with its last "\\", "/" or ":" (or nothing): cut
// where the file-name part starts, by the same double-byte rules.
[[nodiscard]] std::string_view DirectoryPart(std::string_view path, const CodePage& codePage);

[[nodiscard]] bool SameImageName(std::string_view a, std::string_view b, const CodePage& codePage);

// Whether the snapshot entry names `name`: its file-name part or its whole text.
[[nodiscard]] bool ImageNameMatches(std::string_view exeFile, std::string_view name,
                                    const CodePage& codePage);
