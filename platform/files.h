#pragma once

#include <string>

#include "platform/interface.h"

// The program's own file and the files beside it.
class Files : public PlatformInterface {
 public:
  // Full path of the running program file, in the system code page.
  [[nodiscard]] virtual std::string ProgramFilePath() const = 0;
};
