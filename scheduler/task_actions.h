#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/power.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/system_error.h"
#include "process/kill_by_name.h"
#include "scheduler/alarm_view.h"
#include "scheduler/shutdown_method.h"
#include "scheduler/tick.h"
#include "widgets/form.h"
#include "widgets/tray_icon.h"

// What the program does half a minute before a power action (shut-down, restart, log-off,
// sleep, hibernation),
// and in each task's due second. Every action only starts its work: nothing
// waits for it, but a sleep returns only after the wake. What the system
// answers at once is examined, and a refusal is told in the user's words.
class SystemTaskActions : public TaskActions {
 public:
  struct Services {
    TrayIcon& trayIcon;
    Shell& shell;
    Power& power;
    Sound& sound;
    const Files& files;
    const SystemMessages& messages;
    Form& mainWindow;
    AlarmView& alarmWindow;
    const std::string& appPath;
    // Ends every running process of a program by its image name.
    std::function<KillResult(const std::string&)> closeProgram;
    // How an exit treats the programs still running: the user's choice at that moment.
    std::function<ShutdownMethod()> shutdownMethod;
  };

  explicit SystemTaskActions(Services services) : s_(std::move(services)) {}

  void WarnTaskDue(const Task& task) override;
  [[nodiscard]] std::optional<std::string> PerformTask(const Task& task) override;

 private:
  [[nodiscard]] std::optional<std::string> ExitSystem(TaskKind kind);
  [[nodiscard]] std::optional<std::string> Suspend(TaskKind kind, Power::SuspendMode mode);
  [[nodiscard]] std::optional<std::string> Lock();
  [[nodiscard]] std::optional<std::string> TurnScreenOff();
  [[nodiscard]] std::optional<std::string> Launch(const Task& task, WindowHandle owner);
  [[nodiscard]] std::optional<std::string> SoundAlarm(const Task& task);
  [[nodiscard]] std::optional<std::string> CloseProgram(const Task& task);

  Services s_;
};
