#pragma once

#include <vector>

#include "platform/clock.h"
#include "scheduler/task.h"

// What tasks that wait for an event (a program's end) wait for, as the tick
// asks it: the watches in triggers/ implement it.
class WaitingTasks {
 public:
  // Every tick, before the due tasks are run: tasks whose event came become
  // dated. The tasks found missed, out of the queue already, for the tick to name.
  [[nodiscard]] virtual std::vector<Task> Follow(DateTime now) = 0;

 protected:
  ~WaitingTasks() = default;
};
