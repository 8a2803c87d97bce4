#pragma once

#include <string>

#include "platform/version_resource.h"

// The file version of an executable as "major.minor.release.build", "" when
// it has none, "-1" when it cannot be read.
[[nodiscard]] std::string GetFileVersionString(const VersionResource& versions,
                                               const std::string& fileName);
