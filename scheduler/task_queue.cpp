#include "scheduler/task_queue.h"

#include <algorithm>
#include <iterator>

namespace {

// Equality within a millisecond is not transitive, so sorting by the raw
// moment keeps the order strict-weak while agreeing with CompareTasksByWhen on
// every pair it tells apart.
void SortByWhen(std::vector<Task>& tasks) {
  std::stable_sort(tasks.begin(), tasks.end(),
                   [](const Task& a, const Task& b) { return a.When < b.When; });
}

}  // namespace

void TaskQueue::Add(Task task) {
  tasks_.push_back(std::move(task));
  SortByWhen(tasks_);
}

void TaskQueue::AddAll(std::vector<Task> tasks) {
  tasks_.insert(tasks_.end(), std::make_move_iterator(tasks.begin()),
                std::make_move_iterator(tasks.end()));
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
  Add(std::move(replacement));
  return true;
}

bool TaskQueue::RemoveAt(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= tasks_.size()) return false;
  tasks_.erase(tasks_.begin() + index);
  return true;
}
