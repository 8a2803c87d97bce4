#include "process/process_windows.h"

ProcessWindows::ProcessWindows(const std::vector<Processes::TopLevelWindow>& windows) {
  for (const Processes::TopLevelWindow& window : windows) {
    if (window.visible && window.enabled) firstWindow_.try_emplace(window.processId, window.window);
  }
}

WindowHandle ProcessWindows::FindProcessWindow(std::uint32_t processId) const {
  if (processId == 0) return 0;
  const auto found = firstWindow_.find(processId);
  return found == firstWindow_.end() ? 0 : found->second;
}
