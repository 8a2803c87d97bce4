#pragma once

#include <string>

#include "command/exit_code.h"

// What the running copy answers a command: the exit code dusk-cli ends with,
// and what it prints on standard output and standard error (UTF-8).
struct CommandReply {
  ExitCode code = ExitCode::Done;
  std::string out;
  std::string err;
  friend bool operator==(const CommandReply&, const CommandReply&) = default;
};
