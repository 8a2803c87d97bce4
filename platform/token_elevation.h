#pragma once

#include <optional>

// What a process's token says of its rights under User Account Control.
enum class UacToken {
  Default,  // no split token: UAC off, or an account with one token only
  Full,     // the administrator's half of a split token ("run as administrator")
  Limited,  // the user's half of a split token, as the desktop runs
};

// The tokens that decide whether this start may run as it was started.
struct ElevationFacts {
  std::optional<UacToken> program;  // none: the system could not say
  std::optional<UacToken> shell;    // none: no desktop shell, or not reachable
  // Wine gives every process the same full token and has no limited desktop
  // to return to: there is no administrator apart from the user.
  bool oneTokenForAll = false;
};
