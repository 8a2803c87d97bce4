#pragma once

#include "platform/session_instance.h"
#include "startup/start_arguments.h"

// How long a program started by a hand-over waits for the copy that started
// it to give up its claim: that one ends at once, unless it hangs.
inline constexpr unsigned kHandOverWaitMs = 5000;

enum class StartDecision {
  Run,                // this process holds the claim: the program runs
  LeaveToRunningCopy  // another copy runs in this session: this start ends
};

// Decided before anything else at start-up, before the saved task list is read
// above all: two copies must never keep it at once. A start that finds a copy running brings that
// one's window to the front, unless it was asked to start in the tray.
[[nodiscard]] StartDecision ClaimSession(SessionInstance& instance,
                                         const StartArguments& arguments);
