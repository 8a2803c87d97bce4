#pragma once

#include "platform/token_elevation.h"

enum class ElevationDecision {
  Run,                 // as the user: the program runs
  RestartAsShellUser,  // as administrator: start again with the desktop's token, then end
  Refuse,              // as administrator with no user's token to return to: say so, then end
};

// Decided first at start-up, before the claim: a program that runs tasks from
// files the user can write must not run them with the administrator's rights.
[[nodiscard]] ElevationDecision DecideElevation(const ElevationFacts& facts);
