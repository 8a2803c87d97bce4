#include "widgets/tray_frame.h"

TrayFrame::TrayFrame(Form& mainWindow, TrayIcon& trayIcon, WindowSystem& windowSystem,
                     Setting& startWithWindows)
    : mainWindow_(mainWindow),
      trayIcon_(trayIcon),
      windowSystem_(windowSystem),
      startWithWindows_(startWithWindows) {
  mainWindow_.OnMinimize = [this] {
    trayIcon_.SetMinimizeToTray(true);
    trayIcon_.HideMainWindow();
  };
  mainWindow_.OnClose = [this] { windowSystem_.Terminate(); };
  trayIcon_.OnDblClick = [this] { Restore(); };
  trayIcon_.OnRightClick = [this] { OpenTrayMenu(); };
}

void TrayFrame::Restore() {
  trayIcon_.SetMinimizeToTray(false);
  trayIcon_.ShowMainWindow();
}

void TrayFrame::OpenTrayMenu() {
  enum { kRestore = 0, kStartWithWindows = 2, kClose = 3 };
  const int chosen =
      windowSystem_.ShowPopupMenu(mainWindow_.Handle(), {{"&Restore", ""},
                                                         {"", ""},
                                                         {"开机时启动", "", startWithWindows_.On()},
                                                         {"&Close", "Alt+F4"}});
  if (chosen == kRestore) Restore();
  if (chosen == kStartWithWindows) startWithWindows_.Toggle();
  if (chosen == kClose) mainWindow_.Close();
}
