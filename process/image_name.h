#pragma once

#include <string_view>

// Image names as the close-program task compares them: the ASCII letters a to
// z without case, every other byte exactly. The texts are UTF-8, whose bytes
// of a character other than ASCII are never a separator or an ASCII letter.

// The text after the last "\\" or ":" of a snapshot's image name (or all of it).
[[nodiscard]] std::string_view FileNamePart(std::string_view exeFile);

// The folder of a full path, with its last "\\", "/" or ":" (or nothing).
[[nodiscard]] std::string_view DirectoryPart(std::string_view path);

[[nodiscard]] bool SameImageName(std::string_view a, std::string_view b);

// Whether the snapshot entry names `name`: its file-name part or its whole text.
[[nodiscard]] bool ImageNameMatches(std::string_view exeFile, std::string_view name);
