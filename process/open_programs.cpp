#include "process/open_programs.h"

#include <map>

#include "process/image_name.h"

std::vector<std::string> OpenProgramNames(Processes& processes) {
  // Each program's window to be named: its first one on the taskbar that takes input, or its
  // first one when all are disabled (a main window under a modal dialog).
  std::vector<std::uint32_t> order;
  std::map<std::uint32_t, Processes::TopLevelWindow> named;
  const std::uint32_t self = processes.CurrentProcessId();
  for (const Processes::TopLevelWindow& window : processes.TopLevelWindows()) {
    if (!window.onTaskbar || window.processId == self) continue;
    const auto [found, added] = named.try_emplace(window.processId, window);
    if (added) {
      order.push_back(window.processId);
    } else if (!found->second.enabled && window.enabled) {
      found->second = window;
    }
  }
  std::vector<std::string> names;
  for (const std::uint32_t processId : order) {
    std::string name = processes.WindowTitle(named[processId].window);
    if (name.empty()) name = FileNamePart(processes.ExecutablePath(processId));
    names.push_back(std::move(name));
  }
  return names;
}
