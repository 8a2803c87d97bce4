#pragma once

#include <string>

// The alarm window as the actions see it: the window in tips/ implements it.
class AlarmView {
 public:
  // The alarm's reminder text, in front of the main window.
  virtual void ShowAlarm(const std::string& text) = 0;

 protected:
  ~AlarmView() = default;
};
