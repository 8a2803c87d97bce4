#pragma once

#include <cstdint>
#include <string>

#include "platform/interface.h"

// The version resource of an executable file: the fixed file version words.
class VersionResource : public PlatformInterface {
 public:
  enum class Outcome {
    Found,          // the fixed file information was read
    NoVersionInfo,  // the file has no version information (or no such file)
    Failed,         // the information exists but could not be read
  };
  struct Result {
    Outcome outcome = Outcome::NoVersionInfo;
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
  };

  [[nodiscard]] virtual Result ReadFileVersion(const std::string& path) const = 0;
};
