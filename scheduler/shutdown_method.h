#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scheduler/task.h"

// How a shut-down, restart or log-off treats the programs still running: the user's choice in
// the tray menu's "关机方式", remembered in the settings file.
enum class ShutdownMethod {
  ForceAll,     // every program ends, saved or not (the program's first behaviour)
  ForceHung,    // programs may save; only those that do not answer are ended
  AskPrograms,  // a program that wants to save may stop the exit
};

inline constexpr ShutdownMethod kShutdownMethods[] = {
    ShutdownMethod::ForceAll, ShutdownMethod::ForceHung, ShutdownMethod::AskPrograms};

// The tray menu's entry for the method.
[[nodiscard]] std::string ShutdownMethodText(ShutdownMethod method);
// The settings file's word for it, and back; none for a word no version wrote.
[[nodiscard]] const char* ShutdownMethodWord(ShutdownMethod method);
[[nodiscard]] std::optional<ShutdownMethod> ShutdownMethodFromWord(std::string_view word);

// The system's exit flags (EWX_*) for a shut-down, restart or log-off under the method.
[[nodiscard]] unsigned ExitFlags(ShutdownMethod method, TaskKind kind);

// The warning window's line on what the exit will close, from the names of the open programs
// (an empty name: a program that could not be named): "将关闭：记事本、Word 等 5 个程序",
// "Will close: Notepad, Word and others, 5 in all".
// Empty when no program is open.
[[nodiscard]] std::string ClosingProgramsText(const std::vector<std::string>& names,
                                              ShutdownMethod method);
