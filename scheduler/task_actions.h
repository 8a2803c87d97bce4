#pragma once

#include <functional>
#include <string>

#include "platform/power.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "scheduler/tick.h"
#include "tips/tip_form.h"
#include "widgets/form.h"
#include "widgets/tray_icon.h"

inline constexpr char kAlarmBalloonTitle[] = "设定的时间到了：";

// What the program does half a minute before a shut-down, restart or log-off,
// and in each task's due second. Every action only starts its work: nothing
// waits for it, and what it achieves is not examined.
class SystemTaskActions : public TaskActions {
 public:
  struct Services {
    TrayIcon& trayIcon;
    Shell& shell;
    Power& power;
    Sound& sound;
    Form& mainWindow;
    TForm3& alarmWindow;
    const std::string& appPath;
    const std::string& appTitle;
    // Ends every running process of a program by its image name.
    std::function<void(const std::string&)> killProcessByName;
  };

  explicit SystemTaskActions(Services services) : s_(std::move(services)) {}

  void WarnTaskDue(const Task& task) override;
  void PerformTask(const Task& task) override;

 private:
  void SoundAlarm(const Task& task);

  Services s_;
};
