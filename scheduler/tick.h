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
// the tasks dropped are named together in one balloon, as each balloon clears
// the one before.
class DueTaskRunner {
 public:
  // `warnedInThisSecond` is kept by the caller from one tick to the next: a
  // tick run at once after a wake or a clock change can fall in the same
  // second as the timer's, and the task is warned of once in that second. Any
  // other distance seen in between (the clock set back) warns it again.
  DueTaskRunner(TaskListing& tasks, TaskActions& actions, Label& title, TrayIcon& trayIcon,
                const Clock& clock, std::string balloonTitle,
                std::optional<Task>& warnedInThisSecond)
      : tasks_(tasks),
        actions_(actions),
        title_(title),
        trayIcon_(trayIcon),
        clock_(clock),
        balloonTitle_(std::move(balloonTitle)),
        warnedInThisSecond_(warnedInThisSecond) {}

  void Run(DateTime now);

 private:
  // An action may run a message loop (a shell error box) in which the user
  // deletes or adds tasks: what leaves the queue is the task performed, not
  // whatever heads it by then.
  void Perform(const Task& task);
  void ReportMissed(std::vector<Task>& missed);
  void Warn(const Task& task);

  TaskListing& tasks_;
  TaskActions& actions_;
  Label& title_;
  TrayIcon& trayIcon_;
  const Clock& clock_;
  std::string balloonTitle_;
  std::optional<Task>& warnedInThisSecond_;
};
