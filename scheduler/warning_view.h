#pragma once

#include <string>

// The warning before a power action as the scheduler sees it: the window in
// tips/ implements it.
class WarningView {
 public:
  // Shows the task's caption, the countdown and what the action will close (empty: nothing
  // to say); opening, it plays its sound and flashes the program's taskbar entry.
  virtual void ShowWarning(const std::string& caption, const std::string& countdown,
                           const std::string& closing) = 0;
  virtual void Close() = 0;

 protected:
  ~WarningView() = default;
};
