#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scheduler/task.h"

// The pending tasks, earliest first. Position 0 is the head; a row of the task
// list is a queue position. Every task in it has an id of its own: one that
// comes without an id, or with one another task holds, gets a new one, never
// given before in this run.
class TaskQueue {
 public:
  // Appends and sorts again; tasks due within one millisecond of each other
  // keep no particular order. Returns the task's id.
  std::uint32_t Add(Task task);
  // Many tasks at once, sorted once: the saved list at start-up.
  void AddAll(std::vector<Task> tasks);
  void RemoveHead();
  void RemoveAll() { tasks_.clear(); }
  // The first task equal to this one; false, and nothing removed, when none is.
  bool Remove(const Task& task);
  // False, and nothing removed, when the index is not a queue position.
  bool RemoveAt(int index);
  // The first task equal to this one moves to another moment; false, and
  // nothing changed, when none is.
  bool Reschedule(const Task& task, DateTime when);
  // The first task equal to this one gives way to another, sorted into its
  // place, which takes over its id; false, and nothing changed, when none is.
  bool Replace(const Task& task, Task replacement);
  // The task of that id; nullptr when none has it.
  [[nodiscard]] const Task* Find(std::uint32_t id) const;

  [[nodiscard]] bool Empty() const { return tasks_.empty(); }
  [[nodiscard]] std::size_t Count() const { return tasks_.size(); }
  [[nodiscard]] const Task& Head() const { return tasks_.front(); }
  [[nodiscard]] const Task& At(std::size_t index) const { return tasks_[index]; }

 private:
  void GiveId(Task& task);

  std::vector<Task> tasks_;
  std::uint32_t nextId_ = 1;
};
