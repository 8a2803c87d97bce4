#pragma once

#include "platform/window_system.h"
#include "widgets/form.h"
#include "widgets/tray_icon.h"

// Ties the main window to the tray icon: minimising goes to the tray, a double
// click or the tray menu's "&Restore" brings the window back, the tray menu's
// "&Close" closes it, and closing the main window ends the program.
class TrayFrame {
 public:
  TrayFrame(Form& mainWindow, TrayIcon& trayIcon, WindowSystem& windowSystem);

  void Restore();

 private:
  void OpenTrayMenu();

  Form& mainWindow_;
  TrayIcon& trayIcon_;
  WindowSystem& windowSystem_;
};
