#include "startup/start_arguments.h"

#include <algorithm>

#include "process/image_name.h"

StartArguments ParseStartArguments(std::string_view commandLine) {
  StartArguments arguments;
  constexpr std::string_view kBlanks = " \t\"";
  std::size_t at = 0;
  while ((at = commandLine.find_first_not_of(kBlanks, at)) != std::string_view::npos) {
    const std::size_t end = std::min(commandLine.find_first_of(kBlanks, at), commandLine.size());
    const std::string_view word = commandLine.substr(at, end - at);
    if (SameImageName(word, kTrayArgument)) arguments.inTray = true;
    if (SameImageName(word, kHandOverArgument)) arguments.handOver = true;
    at = end;
  }
  return arguments;
}

std::string HandOverArguments(bool inTray) {
  std::string arguments = kHandOverArgument;
  if (inTray) arguments += std::string(" ") + kTrayArgument;
  return arguments;
}
