#pragma once

#include <string>
#include <vector>

#include "platform/interface.h"

// What the program asks of the window system beyond its own windows: message
// boxes, popup menus at the pointer, the double-click time, ending the loop.
class WindowSystem : public PlatformInterface {
 public:
  struct MenuItem {
    std::string text;  // empty: a separator line
    std::string shortcut;
  };

  static constexpr unsigned kIconError = 0x10;
  static constexpr unsigned kIconWarning = 0x30;

  [[nodiscard]] virtual unsigned DoubleClickTimeMs() const = 0;
  virtual int ShowMessageBox(WindowHandle owner, const std::string& text,
                             const std::string& caption, unsigned flags) = 0;
  // Opens a menu at the pointer, in front of the given window; the index of
  // the chosen entry, or -1 when the menu was dismissed.
  virtual int ShowPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items) = 0;
  // Ends the message loop once control returns to it.
  virtual void Terminate() = 0;
};
