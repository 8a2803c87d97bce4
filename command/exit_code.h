#pragma once

// What dusk-cli tells the script that ran it, by its exit code.
enum class ExitCode : int {
  Done = 0,
  Refused = 1,      // the running copy said no, the reason on standard error
  WrongUsage = 2,   // the words make no command
  Unreachable = 3,  // no running copy could be reached or started
};
