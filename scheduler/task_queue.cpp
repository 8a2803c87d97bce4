#include "scheduler/task_queue.h"

#include <algorithm>

namespace {

// Equality within a millisecond is not transitive, so sorting by the raw
// moment keeps the order strict-weak while agreeing with CompareTasksByWhen on
// every pair it tells apart.
void SortByWhen(std::vector<Task>& tasks) {
  std::stable_sort(tasks.begin(), tasks.end(),
                   [](const Task& a, const Task& b) { return a.When < b.When; });
}

}  // namespace

void TaskQueue::GiveId(Task& task) {
  const bool taken = task.Id != 0 && Find(task.Id) != nullptr;
  if (task.Id == 0 || taken) task.Id = nextId_;
  // Ids read from the saved list count too: a new task never takes one of theirs.
  nextId_ = std::max(nextId_, task.Id + 1);
}

const Task* TaskQueue::Find(std::uint32_t id) const {
  const auto found =
      std::find_if(tasks_.begin(), tasks_.end(), [id](const Task& task) { return task.Id == id; });
  return found == tasks_.end() ? nullptr : &*found;
}

std::uint32_t TaskQueue::Add(Task task) {
  GiveId(task);
  const std::uint32_t id = task.Id;
  tasks_.push_back(std::move(task));
  SortByWhen(tasks_);
  return id;
}

void TaskQueue::AddAll(std::vector<Task> tasks) {
  tasks_.reserve(tasks_.size() + tasks.size());
  for (Task& task : tasks) {
    GiveId(task);
    tasks_.push_back(std::move(task));
  }
  SortByWhen(tasks_);
}

void TaskQueue::RemoveHead() {
  if (!tasks_.empty()) tasks_.erase(tasks_.begin());
}

bool TaskQueue::Remove(const Task& task) {
  const auto found = std::find(tasks_.begin(), tasks_.end(), task);
  if (found == tasks_.end()) return false;
  tasks_.erase(found);
  return true;
}

bool TaskQueue::Reschedule(const Task& task, DateTime when) {
  if (!Remove(task)) return false;
  Task moved = task;
  moved.When = when;
  Add(std::move(moved));
  return true;
}

bool TaskQueue::Replace(const Task& task, Task replacement) {
  if (!Remove(task)) return false;
  replacement.Id = task.Id;
  Add(std::move(replacement));
  return true;
}

bool TaskQueue::RemoveAt(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= tasks_.size()) return false;
  tasks_.erase(tasks_.begin() + index);
  return true;
}
