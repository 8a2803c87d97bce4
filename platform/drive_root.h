#pragma once

#include <optional>
#include <string>
#include <string_view>

// The parts of a Windows path that say which drive it lies on.

// A share of another computer: \\server\share\..., also as \\?\UNC\server\share\....
[[nodiscard]] bool IsUncPath(std::string_view path);

// The root of a path on a lettered drive, "C:\" for "C:\Tools\Dusk.exe" (also
// after \\?\); none for any other path.
[[nodiscard]] std::optional<std::string> DriveLetterRoot(std::string_view path);
