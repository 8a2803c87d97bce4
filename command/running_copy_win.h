#pragma once

#include <optional>
#include <string>
#include <vector>

#include "command/command_reply.h"

// The running copy of the user's, reached through its main window.

// Its answer to the command's words; none when no copy of this user's answered
// within the time.
[[nodiscard]] std::optional<CommandReply> AskRunningCopy(const std::vector<std::string>& words,
                                                         unsigned timeoutMs);

// Starts the program in the tray and asks it once it answers, waiting at most
// waitMs; none when it could not be started, or did not answer in time.
[[nodiscard]] std::optional<CommandReply> StartAndAsk(const std::wstring& program,
                                                      const std::vector<std::string>& words,
                                                      unsigned waitMs);
