#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// How this start of the program was asked for, read from its command line.
struct StartArguments {
  bool inTray = false;    // the main window stays hidden, the icon in the tray
  bool handOver = false;  // started by the copy that hands over to this one
  // What the saved list lost when the copy that handed over read it, not yet
  // told; empty when nothing was.
  std::string loadReport{};
  // "Dusk.exe add ...": the words from "add" on, carried out by the running
  // copy (this one, or the one already running), which stays in the tray.
  std::vector<std::string> command{};
};

inline constexpr char kTrayArgument[] = "/tray";
inline constexpr char kHandOverArgument[] = "/handover";
// Followed at once by the report, percent-encoded: one word with no blank and
// no quote, which every reader of a command line splits the same way.
inline constexpr char kLoadReportArgument[] = "/loadreport:";

// The arguments after the program's name; letters in any case, words the
// program does not know ignored.
[[nodiscard]] StartArguments ParseStartArguments(std::string_view commandLine);
// "Dusk.exe add ...", the words after the program's name as the runtime split
// them: the command to carry out, with the start in the tray it asks for.
// Other words are left to ParseStartArguments.
void TakeStartCommand(std::span<const std::string> words, StartArguments& arguments);

// What a copy that hands over passes to the program it starts: that one comes
// up as this one is now, in the tray or with its window, and tells the load
// report this one could not (none when it is empty).
[[nodiscard]] std::string HandOverArguments(bool inTray, std::string_view loadReport = {});
