#pragma once

#include <string>
#include <string_view>

// How this start of the program was asked for, read from its command line.
struct StartArguments {
  bool inTray = false;    // the main window stays hidden, the icon in the tray
  bool handOver = false;  // started by the copy that hands over to this one
};

inline constexpr char kTrayArgument[] = "/tray";
inline constexpr char kHandOverArgument[] = "/handover";

// The arguments after the program's name; letters in any case, words the
// program does not know ignored.
[[nodiscard]] StartArguments ParseStartArguments(std::string_view commandLine);

// What a copy that hands over passes to the program it starts: that one comes
// up as this one is now, in the tray or with its window.
[[nodiscard]] std::string HandOverArguments(bool inTray);
