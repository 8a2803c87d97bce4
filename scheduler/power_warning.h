#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/processes.h"
#include "platform/time_zone.h"
#include "scheduler/shutdown_method.h"
#include "scheduler/task_listing.h"
#include "scheduler/tick.h"
#include "scheduler/warning_view.h"
#include "widgets/tray_icon.h"

// The warning window before a power action. It shows the power task that heads
// the queue in its last half minute, whatever brought it there (its own
// countdown, an entry made late, a task performed before it, a wake), counts it
// down, names the programs a shut-down, restart or log-off will close (looked
// at again each time it follows), and carries out what the user chooses.
class PowerWarning {
 public:
  // `shutdownMethod`: how the exit will treat those programs, as chosen at that moment.
  PowerWarning(TaskListing& tasks, TaskActions& actions, WarningView& window, TrayIcon& trayIcon,
               const Clock& clock, const TimeZone& timeZone, Processes& processes,
               std::function<ShutdownMethod()> shutdownMethod);
  PowerWarning(const PowerWarning&) = delete;
  PowerWarning& operator=(const PowerWarning&) = delete;

  // After every tick and every change of the queue: the window follows the
  // head, or closes when no power task is that close.
  void Follow(DateTime now);

  // What the window's buttons do with the task it shows.
  void Postpone(int minutes, DateTime now);
  void Cancel();
  void RunNow();
  // Closed by the user: that task is not shown again; its countdown goes on.
  void Dismiss();

 private:
  TaskListing& tasks_;
  TaskActions& actions_;
  WarningView& window_;
  TrayIcon& trayIcon_;
  const Clock& clock_;
  const TimeZone& timeZone_;
  Processes& processes_;
  std::function<ShutdownMethod()> shutdownMethod_;
  std::optional<Task> shown_;
  std::optional<Task> dismissed_;
};
