#pragma once

#include "platform/shell.h"
#include "scheduler/tick.h"
#include "widgets/form.h"
#include "widgets/tray_icon.h"

// The program's own warnings and actions for due tasks.
class SystemTaskActions : public TaskActions {
 public:
  SystemTaskActions(TrayIcon& trayIcon, Shell& shell, const Form& mainWindow, std::string appTitle)
      : trayIcon_(trayIcon),
        shell_(shell),
        mainWindow_(mainWindow),
        appTitle_(std::move(appTitle)) {}

  void WarnTaskDue(const Task& task) override;
  void PerformTask(const Task& task) override;

 private:
  TrayIcon& trayIcon_;
  Shell& shell_;
  const Form& mainWindow_;
  std::string appTitle_;
};
