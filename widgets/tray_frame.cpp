#include "widgets/tray_frame.h"

TrayFrame::TrayFrame(Form& mainWindow, TrayIcon& trayIcon, WindowSystem& windowSystem,
                     Setting& startWithWindows, Picks& quickPicks)
    : mainWindow_(mainWindow),
      trayIcon_(trayIcon),
      windowSystem_(windowSystem),
      startWithWindows_(startWithWindows),
      quickPicks_(quickPicks) {
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
  WindowSystem::MenuItem picks{quickPicks_.MenuText(), ""};
  for (std::string& label : quickPicks_.Labels()) picks.submenu.push_back({std::move(label), ""});
  // The picks come right after their item; the other entries after them.
  const int afterPicks = 1 + static_cast<int>(picks.submenu.size());
  const int restore = afterPicks + 1;
  const int startWithWindows = afterPicks + 3;
  const int close = afterPicks + 4;
  const int chosen =
      windowSystem_.ShowPopupMenu(mainWindow_.Handle(), {std::move(picks),
                                                         {"", ""},
                                                         {"&Restore", ""},
                                                         {"", ""},
                                                         {"开机时启动", "", startWithWindows_.On()},
                                                         {"&Close", "Alt+F4"}});
  if (chosen >= 1 && chosen < afterPicks) quickPicks_.Choose(static_cast<std::size_t>(chosen - 1));
  if (chosen == restore) Restore();
  if (chosen == startWithWindows) startWithWindows_.Toggle();
  if (chosen == close) mainWindow_.Close();
}
