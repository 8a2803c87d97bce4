#include "widgets/tray_frame.h"

TrayFrame::TrayFrame(Form& mainWindow, TrayIcon& trayIcon, WindowSystem& windowSystem)
    : mainWindow_(mainWindow), trayIcon_(trayIcon), windowSystem_(windowSystem) {
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
  enum { kRestore = 0, kClose = 2 };
  const int chosen = windowSystem_.ShowPopupMenu(
      mainWindow_.Handle(), {{"&Restore", ""}, {"", ""}, {"&Close", "Alt+F4"}});
  if (chosen == kRestore) Restore();
  if (chosen == kClose) mainWindow_.Close();
}
