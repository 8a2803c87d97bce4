#pragma once

#include <functional>
#include <optional>
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
    bool checked = false;
    // Checked with a dot: one of the exclusive choices of its menu.
    bool radio = false;
    bool enabled = true;
    // Entries opened beside this one; an entry with them is never chosen itself.
    std::vector<MenuItem> submenu{};
  };

  struct FileDialog {
    WindowHandle owner = 0;
    std::string title;
    std::string filterDescription;
    std::string filterPattern;
    std::string initialFile;  // the file chosen last time
  };

  struct ScreenSize {
    int width = 0;
    int height = 0;
  };

  // The system's own style values: an OK button and this icon.
  enum class MessageBoxIcon : unsigned {
    Error = 0x10,    // MB_ICONERROR
    Warning = 0x30,  // MB_ICONWARNING
  };

  [[nodiscard]] virtual unsigned DoubleClickTimeMs() const = 0;
  // Modal; the button the user pressed.
  virtual int ShowMessageBox(WindowHandle owner, const std::string& text,
                             const std::string& caption, MessageBoxIcon icon) = 0;
  // Opens a menu at the pointer, in front of the given window; the index of
  // the chosen entry, or -1 when the menu was dismissed. Entries are counted in
  // order, a submenu's entries right after the entry that opens it.
  virtual int ShowPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items) = 0;
  // The file-open dialog, modal; the full path chosen, or none when cancelled.
  virtual std::optional<std::string> ChooseFile(const FileDialog& dialog) = 0;
  // Runs a window modally: the program's other windows take no input until
  // stillOpen() turns false.
  virtual void RunModal(WindowHandle window, const std::function<bool()>& stillOpen) = 0;
  // In the 96-DPI pixels windows are laid out in.
  [[nodiscard]] virtual ScreenSize PrimaryScreenSize() const = 0;
  // Ends the message loop once control returns to it.
  virtual void Terminate() = 0;
};
