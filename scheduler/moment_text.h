#pragma once

#include <string>

#include "platform/clock.h"

// A moment as the program writes it everywhere: the short date, a space and
// the long time; at exactly midnight the date alone.
[[nodiscard]] std::string MomentText(const Clock& clock, DateTime moment);
