#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "scheduler/task_listing.h"
#include "widgets/controls.h"
#include "widgets/tray_icon.h"

inline constexpr char kEmptyQueueHeadline[] = "你还没有添加定时任务。     ";

// "45秒后", "59分钟后", "1小时0分钟后" for a distance in whole seconds.
[[nodiscard]] std::string HeadlinePrefix(std::int64_t seconds);
// What the headline says the head task will do, with its trailing spaces.
[[nodiscard]] const char* HeadlineKindText(TaskKind kind);

// What the tick does with a task when it is due, and half a minute before.
class TaskActions {
 public:
  TaskActions() = default;
  TaskActions(const TaskActions&) = delete;
  TaskActions& operator=(const TaskActions&) = delete;
  virtual ~TaskActions() = default;
  virtual void WarnTaskDue(const Task& task) = 0;
  virtual void PerformTask(const Task& task) = 0;
};

// How the tick treats the head task at a given moment.
enum class HeadVerdict {
  Wait,         // not due yet
  Warn,         // 30 seconds to go
  Perform,      // due in this second
  PerformLate,  // its second passed unseen, at most a minute ago
  Drop,         // its second passed more than a minute ago
};
[[nodiscard]] HeadVerdict JudgeHead(DateTime when, DateTime now);

inline constexpr std::int64_t kLatestLatePerformSeconds = 60;

// The part of the tick that counts down to the head task and runs what is due.
// Every task that is due or overdue is handled in the same tick, in queue order.
class DueTaskRunner {
 public:
  DueTaskRunner(TaskListing& tasks, TaskActions& actions, Label& title, TrayIcon& trayIcon,
                const Clock& clock, std::string balloonTitle)
      : tasks_(tasks),
        actions_(actions),
        title_(title),
        trayIcon_(trayIcon),
        clock_(clock),
        balloonTitle_(std::move(balloonTitle)) {}

  void Run(DateTime now);

 private:
  TaskListing& tasks_;
  TaskActions& actions_;
  Label& title_;
  TrayIcon& trayIcon_;
  const Clock& clock_;
  std::string balloonTitle_;
};
