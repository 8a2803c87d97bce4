#pragma once

#include <vector>

#include "platform/clock.h"
#include "platform/time_zone.h"
#include "scheduler/queue_observer.h"
#include "scheduler/task_queue.h"
#include "scheduler/waiting_progress.h"
#include "widgets/task_list_box.h"
#include "widgets/tray_icon.h"

// The task queue together with its view: every change rebuilds the list rows
// and the tray hint, then tells the observers, in their order.
class TaskListing {
 public:
  TaskListing(TaskListBox& list, TrayIcon& trayIcon, const Clock& clock, const TimeZone& timeZone,
              std::vector<QueueObserver*> observers = {},
              const WaitingProgress& progress = kNoProgress)
      : list_(list),
        trayIcon_(trayIcon),
        clock_(clock),
        timeZone_(timeZone),
        observers_(std::move(observers)),
        progress_(progress) {}

  [[nodiscard]] const TaskQueue& Queue() const { return queue_; }
  [[nodiscard]] WaitProgress ProgressOf(const Task& task) const {
    return progress_.ProgressOf(task);
  }
  // Returns the task's id.
  std::uint32_t Add(Task task);
  // Many tasks at once (the saved list at start-up): one change, told once.
  void AddAll(std::vector<Task> tasks);
  void RemoveHead();
  // Every task, in one change.
  void RemoveAll();
  // This task, wherever it stands now; nothing when it is gone already.
  void Remove(const Task& task);
  // The row selected in the list; nothing happens when none is.
  void RemoveSelected();
  // This task, wherever it stands now, to another moment; nothing when it is gone.
  void Reschedule(const Task& task, DateTime when);
  // This task, wherever it stands now, gives way to another; nothing when it is gone.
  void Replace(const Task& task, Task replacement);
  // This occurrence is over (performed, missed or cancelled): the task leaves,
  // and a series comes back at its first occurrence after now, a "每次" task
  // to waiting, in one change.
  void Finish(const Task& task, DateTime now);
  // The captions again, with the live figures of the waiting tasks: the rows
  // and the selection stay.
  void RefreshCaptions();

 private:
  void Changed();
  void RefreshTaskList();
  [[nodiscard]] std::vector<std::string> Captions() const;

  static inline const NoWaitingProgress kNoProgress;

  TaskQueue queue_;
  TaskListBox& list_;
  TrayIcon& trayIcon_;
  const Clock& clock_;
  const TimeZone& timeZone_;
  std::vector<QueueObserver*> observers_;
  const WaitingProgress& progress_;
};
