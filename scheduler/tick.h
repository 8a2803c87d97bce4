#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "scheduler/task_kinds.h"
#include "scheduler/task_listing.h"
#include "scheduler/waiting_tasks.h"
#include "widgets/controls.h"
#include "widgets/tray_icon.h"

// The headline's distance for whole seconds: "45秒后", "59分钟后", "1小时0分钟后";
// in English "in 45 s", "in 59 min", "in 1 h 0 min".
[[nodiscard]] std::string HeadlinePrefix(std::int64_t seconds);
// What the headline says the head task will do, with its trailing spaces.
// The headline's words alone: "29秒后关机。", "Shutdown in 29 s.".
[[nodiscard]] std::string CountdownText(std::int64_t seconds, TaskKind kind);
// The whole headline for the task at the head of the list, with the padding
// it is drawn with; a waiting task's says what it waits for.
[[nodiscard]] std::string HeadTaskHeadline(const Task& head, DateTime now,
                                           const WaitProgress& progress);
// The tray hint's first line: "还有1小时12分钟关机", "还有2天3小时重启电脑",
// "还有不到1分钟闹钟响起" ("Shutdown in 1 h 12 min", "Alarm in less than 1 min");
// whole minutes, so that it changes once a minute.
[[nodiscard]] std::string TimeLeftText(std::int64_t seconds, TaskKind kind);

// What the tick does with a task when it is due, and half a minute before.
class TaskActions {
 public:
  TaskActions() = default;
  TaskActions(const TaskActions&) = delete;
  TaskActions& operator=(const TaskActions&) = delete;
  virtual ~TaskActions() = default;
  virtual void WarnTaskDue(const Task& task) = 0;
  // Starts the task's work; why it could not be done, when it could not.
  [[nodiscard]] virtual std::optional<std::string> PerformTask(const Task& task) = 0;
};

struct FailedTask {
  Task task;
  std::string reason;
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
// The balloon text that names the tasks whose action failed, with the reasons.
[[nodiscard]] std::string FailedTasksText(const std::vector<FailedTask>& failed,
                                          const Clock& clock);

// Shows what the user must hear of (tasks dropped, actions that failed) in a
// balloon. A balloon clears the one before: when a warning or an alarm put up
// a balloon since `balloonsBefore`, the report goes below its text instead.
void ShowTaskReport(TrayIcon& trayIcon, const std::string& title, const std::string& report,
                    std::uint64_t balloonsBefore);

// The part of the tick that counts down to the head task and runs what is due.
// It first lets the program-end watch date the tasks whose program ended.
// Every task that is due or overdue is handled in the same tick, in queue order;
// each leaves the queue before its action starts. The tasks dropped and the
// actions that failed are named together in one balloon, below the balloon of
// a warning or an alarm of the same tick.
// A shut-down, restart, log-off or sleep found late is never performed
// unannounced: at most a minute late, it is moved to half a minute from now
// and warned of; later than that, it is dropped as missed like any other task.
class DueTaskRunner {
 public:
  DueTaskRunner(TaskListing& tasks, WaitingTasks& waiting, TaskActions& actions, Label& title,
                TrayIcon& trayIcon, const Clock& clock)
      : tasks_(tasks),
        waiting_(waiting),
        actions_(actions),
        title_(title),
        trayIcon_(trayIcon),
        clock_(clock) {}
  DueTaskRunner(const DueTaskRunner&) = delete;
  DueTaskRunner& operator=(const DueTaskRunner&) = delete;

  void Run(DateTime now);
  // The headline for the list as it is now, without running anything: after
  // the user added or deleted a task, the next tick is up to a second away.
  void ShowHeadline(DateTime now);

 private:
  // An action may run a message loop (a shell error box, a sleep) in which
  // the user deletes or adds tasks: the task has left the queue by then, and
  // the tick goes on with whatever heads the queue after the action.
  void Perform(const Task& task, std::vector<FailedTask>& failed);
  void Warn(const Task& task);
  // The time left to the head task above its row's caption.
  void ShowTimeLeftInHint(DateTime now);

  TaskListing& tasks_;
  WaitingTasks& waiting_;
  TaskActions& actions_;
  Label& title_;
  TrayIcon& trayIcon_;
  const Clock& clock_;
  // A tick run at once after a wake or a clock change can fall in the same
  // second as the timer's: the task is warned of once in that second. Any
  // other distance seen in between (the clock set back) warns it again.
  std::optional<Task> warnedInThisSecond_;
  // The head task's row caption when the hint last told its time left.
  std::string lastCaption_;
};
