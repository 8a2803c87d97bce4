#include "widgets/tray_frame.h"

#include <utility>

#include "language/language.h"

TrayFrame::TrayFrame(Form& mainWindow, TrayIcon& trayIcon, WindowSystem& windowSystem,
                     std::vector<Submenu*> submenus, Setting& startWithWindows)
    : mainWindow_(mainWindow),
      trayIcon_(trayIcon),
      windowSystem_(windowSystem),
      submenus_(std::move(submenus)),
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
  std::vector<WindowSystem::MenuItem> menu{{std::string(Text(TextId::TrayRestore)), ""}, {"", ""}};
  // Where each submenu's entries start in the count the window system answers with.
  std::vector<int> firstEntries;
  int entries = static_cast<int>(menu.size());
  for (const Submenu* submenu : submenus_) {
    WindowSystem::MenuItem opener{submenu->Title(), ""};
    opener.submenu = submenu->Items();
    firstEntries.push_back(entries + 1);
    entries += 1 + static_cast<int>(opener.submenu.size());
    menu.push_back(std::move(opener));
  }
  const int startWithWindows = entries;
  menu.push_back({std::string(Text(TextId::StartWithWindows)), "", startWithWindows_.On()});
  const int close = entries + 1;
  menu.push_back(
      {std::string(Text(TextId::TrayClose)), std::string(Text(TextId::TrayCloseShortcut))});

  const int chosen = windowSystem_.ShowPopupMenu(mainWindow_.Handle(), menu);
  if (chosen == 0) Restore();
  for (std::size_t i = 0; i < submenus_.size(); ++i) {
    const int first = firstEntries[i];
    const int count = static_cast<int>(menu[2 + i].submenu.size());
    if (chosen >= first && chosen < first + count) submenus_[i]->Choose(chosen - first);
  }
  if (chosen == startWithWindows) startWithWindows_.Toggle();
  if (chosen == close) mainWindow_.Close();
}
