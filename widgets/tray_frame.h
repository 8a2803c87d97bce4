#pragma once

#include <string>
#include <vector>

#include "platform/window_system.h"
#include "widgets/form.h"
#include "widgets/tray_icon.h"

// Ties the main window to the tray icon: minimising goes to the tray, a double
// click or the tray menu's "&Restore" brings the window back, the tray menu's
// "&Close" closes it, and closing the main window ends the program. Above
// "&Close" the menu holds the program's submenus and turns the start with
// Windows on and off.
class TrayFrame {
 public:
  // A setting the tray menu shows with a check mark and turns over when chosen.
  class Setting {
   public:
    virtual ~Setting() = default;
    [[nodiscard]] virtual bool On() const = 0;
    virtual void Toggle() = 0;
  };

  // A submenu of the tray menu; its entries are asked for each time the menu opens.
  class Submenu {
   public:
    virtual ~Submenu() = default;
    [[nodiscard]] virtual std::string Title() const = 0;
    [[nodiscard]] virtual std::vector<WindowSystem::MenuItem> Items() const = 0;
    // `index` counts the entries Items() gave, separators included.
    virtual void Choose(std::size_t index) = 0;
  };

  // The submenus stand in the menu in the order given.
  TrayFrame(Form& mainWindow, TrayIcon& trayIcon, WindowSystem& windowSystem,
            std::vector<Submenu*> submenus, Setting& startWithWindows);

  void Restore();

 private:
  void OpenTrayMenu();

  Form& mainWindow_;
  TrayIcon& trayIcon_;
  WindowSystem& windowSystem_;
  std::vector<Submenu*> submenus_;
  Setting& startWithWindows_;
};
