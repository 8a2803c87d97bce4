#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/token_elevation.h"
#include "platform/unique_handle_win.h"

// The elevation of a token opened with TOKEN_QUERY; none when it cannot be read.
[[nodiscard]] std::optional<UacToken> QueryTokenElevation(HANDLE token);

// The token of the desktop shell's process, for query and duplication; empty
// when no shell window runs or its process cannot be opened.
[[nodiscard]] UniqueKernelHandle OpenShellToken();

// This process's token, the shell's, and whether the system is Wine.
[[nodiscard]] ElevationFacts CurrentElevationFacts();

// Starts this program file again with the shell's token, as the desktop's
// user, with this command line and in this working folder. False when it did
// not start, or would not have run with less than this process's rights.
[[nodiscard]] bool StartAgainAsShellUser(const wchar_t* commandLine);
