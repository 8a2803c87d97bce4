#pragma once

#include <string>
#include <vector>

#include "platform/processes.h"

// The programs a shut-down, restart or log-off would close, as the user knows them: one entry
// for each process with a window on the taskbar, top of the stacking order first, never this
// program. The name is the title of its first such window that takes input, or the image name
// where that window has none; empty when neither can be read (the program still closes, unnamed).
[[nodiscard]] std::vector<std::string> OpenProgramNames(Processes& processes);
