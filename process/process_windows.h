#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/processes.h"

// The window whose title labels a process in the picker: the process's first
// visible and enabled top-level window, top of the stacking order first. One
// enumeration answers for every process of a listing.
class ProcessWindows {
 public:
  explicit ProcessWindows(const std::vector<Processes::TopLevelWindow>& windows);
  // 0 when the process has no such window, and always for process 0.
  [[nodiscard]] WindowHandle FindProcessWindow(std::uint32_t processId) const;

 private:
  // A tree, as elsewhere in the program: a hash table would bring its own library code.
  std::map<std::uint32_t, WindowHandle> firstWindow_;
};
