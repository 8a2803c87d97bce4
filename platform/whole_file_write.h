#pragma once

#include <string>
#include <string_view>

#include "platform/profile_files.h"

// Puts `bytes` in place of the file at `path` so that a crash or a power cut
// at any moment leaves the old file or the new one, never a mix: they go to
// `temporary` (in the same folder), are flushed to the disk, and only then is
// it renamed over `path`. On a failure the old file is as it was and the
// temporary file is removed; the answer is the failed step's error.
[[nodiscard]] SystemError ReplaceWholeFile(ProfileFiles& files, const std::string& path,
                                           const std::string& temporary, std::string_view bytes);
