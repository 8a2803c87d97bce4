#pragma once

#include <optional>
#include <string>

#include "platform/interface.h"
#include "platform/system_error.h"

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

  // Whether the shell reports the launch started, and why not: its own
  // answers are given as the system's error codes (a file not found, no
  // program for that kind of file).
  [[nodiscard]] virtual SystemError Execute(const Launch& launch) = 0;
};
