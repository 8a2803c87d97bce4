#pragma once

#include "platform/window_system.h"
#include "widgets/form.h"
#include "widgets/tray_icon.h"

// Ties the main window to the tray icon: minimising goes to the tray, a double
// click or the tray menu's "&Restore" brings the window back, the tray menu's
// "&Close" closes it, and closing the main window ends the program. Above
// "&Close" the menu turns the start with Windows on and off; at its top the
// quick picks open.
class TrayFrame {
 public:
  // A setting the tray menu shows with a check mark and turns over when chosen.
  class Setting {
   public:
    virtual ~Setting() = default;
    [[nodiscard]] virtual bool On() const = 0;
    virtual void Toggle() = 0;
  };

  // Tasks added with one click, in a submenu at the top of the tray menu.
  class Picks {
   public:
    virtual ~Picks() = default;
    [[nodiscard]] virtual std::string MenuText() const = 0;
    // What the submenu lists now.
    [[nodiscard]] virtual std::vector<std::string> Labels() const = 0;
    virtual void Choose(std::size_t index) = 0;
  };

  TrayFrame(Form& mainWindow, TrayIcon& trayIcon, WindowSystem& windowSystem,
            Setting& startWithWindows, Picks& quickPicks);

  void Restore();

 private:
  void OpenTrayMenu();

  Form& mainWindow_;
  TrayIcon& trayIcon_;
  WindowSystem& windowSystem_;
  Setting& startWithWindows_;
  Picks& quickPicks_;
};
