#pragma once

#include <cstddef>
#include <vector>

#include "scheduler/task.h"

// The pending tasks, earliest first. Position 0 is the head; a row of the task
// list is a queue position.
class TaskQueue {
 public:
  // Appends and sorts again; tasks due within one millisecond of each other
  // keep no particular order.
  void Add(Task task);
  // Many tasks at once, sorted once: the saved list at start-up.
  void AddAll(std::vector<Task> tasks);
  void RemoveHead();
  // The first task equal to this one; false, and nothing removed, when none is.
  bool Remove(const Task& task);
  // False, and nothing removed, when the index is not a queue position.
  bool RemoveAt(int index);
  // The first task equal to this one moves to another moment; false, and
  // nothing changed, when none is.
  bool Reschedule(const Task& task, DateTime when);
  // The first task equal to this one gives way to another, sorted into its
  // place; false, and nothing changed, when none is.
  bool Replace(const Task& task, Task replacement);

  [[nodiscard]] bool Empty() const { return tasks_.empty(); }
  [[nodiscard]] std::size_t Count() const { return tasks_.size(); }
  [[nodiscard]] const Task& Head() const { return tasks_.front(); }
  [[nodiscard]] const Task& At(std::size_t index) const { return tasks_[index]; }

 private:
  std::vector<Task> tasks_;
};
