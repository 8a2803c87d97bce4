#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// The balloon text that names the tasks dropped in one tick, earliest first.
[[nodiscard]] std::string MissedTasksText(const std::vector<Task>& missed, const Clock& clock);

// The part of the tick that counts down to the head task and runs what is due.
// Every task that is due or overdue is handled in the same tick, in queue order;
// the tasks dropped are named together in one balloon. A balloon clears the one
// before, so when a task's warning or alarm put up a balloon in the same tick,
// the dropped tasks are named below its text instead of taking its place.
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
  DueTaskRunner(const DueTaskRunner&) = delete;
  DueTaskRunner& operator=(const DueTaskRunner&) = delete;

  void Run(DateTime now);

 private:
  // An action may run a message loop (a shell error box) in which the user
  // deletes or adds tasks: what leaves the queue is the task performed, not
  // whatever heads it by then.
  void Perform(const Task& task);
  void ReportMissed(const std::vector<Task>& missed, std::uint64_t balloonsBeforeTick);
  void Warn(const Task& task);

  TaskListing& tasks_;
  TaskActions& actions_;
  Label& title_;
  TrayIcon& trayIcon_;
  const Clock& clock_;
  std::string balloonTitle_;
  // A tick run at once after a wake or a clock change can fall in the same
  // second as the timer's: the task is warned of once in that second. Any
  // other distance seen in between (the clock set back) warns it again.
  std::optional<Task> warnedInThisSecond_;
};
