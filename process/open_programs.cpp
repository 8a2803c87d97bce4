#include "process/open_programs.h"

#include <set>

#include "process/image_name.h"

std::vector<std::string> OpenProgramNames(Processes& processes) {
  std::vector<std::string> names;
  std::set<std::uint32_t> listed{processes.CurrentProcessId()};
  for (const Processes::TopLevelWindow& window : processes.TopLevelWindows()) {
    if (!window.onTaskbar || !listed.insert(window.processId).second) continue;
    std::string name = processes.WindowTitle(window.window);
    if (name.empty()) name = FileNamePart(processes.ExecutablePath(window.processId));
    names.push_back(std::move(name));
  }
  return names;
}
