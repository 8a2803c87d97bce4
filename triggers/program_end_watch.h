#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/processes.h"
#include "platform/time_zone.h"
#include "scheduler/queue_observer.h"
#include "scheduler/task_listing.h"
#include "scheduler/waiting_tasks.h"

// When a task that waited for a program's end is due, seen at `now`: after its
// delay in elapsed time, and a shut-down, restart, log-off or sleep not before
// its half-minute warning.
[[nodiscard]] DateTime ProgramEndDueMoment(TaskKind kind, int delayMinutes, DateTime now,
                                           const TimeZone& zone);

// Holds the processes that tasks wait for, one handle each however many tasks
// wait for it, and turns a waiting task into a dated one once its process has
// ended. A tick asks the kept handles, without waiting and without a snapshot.
// A task from the saved list is bound again at the first tick to the process
// of its id and start time; when that process is gone, the task is due at once,
// but a shut-down, restart, log-off or sleep is missed: it ended at a moment
// nobody knows, maybe hours ago, and the user may be at work again.
// The waiting tasks are found wherever they sort: a dated task on the waiting
// moment's day may sort after them.
class ProgramEndWatch : public QueueObserver, public WaitingTasks {
 public:
  ProgramEndWatch(Processes& processes, TaskListing& tasks, const TimeZone& timeZone)
      : processes_(processes), tasks_(tasks), timeZone_(timeZone) {}

  // The picked process, held from now on for a task about to be added; none
  // when it cannot be opened to be waited for, or the process of that id now
  // is not the one that started at `startTime` (0, unknown, matches none).
  [[nodiscard]] std::optional<ProgramEndTrigger> Watch(std::uint32_t processId,
                                                       std::uint64_t startTime,
                                                       std::string_view pickerText,
                                                       int delayMinutes);
  // Every tick, before the due tasks are run. The tasks found missed, out of
  // the queue already, for the tick to name.
  [[nodiscard]] std::vector<Task> Follow(DateTime now) override;
  // A process no waiting task names any more is let go.
  void QueueChanged(const TaskQueue& queue) override;

 private:
  using ProcessKey = std::pair<std::uint32_t, std::uint64_t>;
  [[nodiscard]] static ProcessKey KeyOf(const ProgramEndTrigger& trigger) {
    return {trigger.ProcessId, trigger.StartTime};
  }
  struct Ended {
    Task task;
    DateTime due;
  };
  // The tasks read from the saved list, bound to their processes again, due
  // at once or missed.
  void BindAgain(DateTime now, std::vector<Ended>& ended, std::vector<Task>& missed);
  [[nodiscard]] bool Keep(const ProgramEndTrigger& trigger,
                          std::unique_ptr<Processes::WatchedProcess> process);
  void ListHandles();

  Processes& processes_;
  TaskListing& tasks_;
  const TimeZone& timeZone_;
  std::map<ProcessKey, std::unique_ptr<Processes::WatchedProcess>> watched_;
  // The kept handles and their keys in one order, for the one question per tick.
  std::vector<Processes::WatchedProcess*> handles_;
  std::vector<ProcessKey> handleKeys_;
  // A waiting task has no handle yet.
  bool unbound_ = false;
};
