#pragma once

#include <optional>
#include <string>

#include "platform/interface.h"

// Starting a file through the shell: a program, a document, an address.
class Shell : public PlatformInterface {
 public:
  static constexpr int kShowNormal = 1;

  struct Launch {
    WindowHandle owner = 0;
    std::optional<std::string> verb;  // none: the file's default verb
    std::string file;
    std::optional<std::string> parameters;  // none: no parameter string at all
    std::optional<std::string> directory;   // none: no working directory
    int showCommand = kShowNormal;
  };

  // True when the shell reports the launch started.
  [[nodiscard]] virtual bool Execute(const Launch& launch) = 0;
};
