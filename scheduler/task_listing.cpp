#include "scheduler/task_listing.h"

#include "scheduler/task_kinds.h"

std::uint32_t TaskListing::Add(Task task) {
  const std::uint32_t id = queue_.Add(std::move(task));
  Changed();
  return id;
}

void TaskListing::AddAll(std::vector<Task> tasks) {
  queue_.AddAll(std::move(tasks));
  Changed();
}

void TaskListing::RemoveAll() {
  queue_.RemoveAll();
  Changed();
}

void TaskListing::RemoveHead() {
  queue_.RemoveHead();
  Changed();
}

void TaskListing::Remove(const Task& task) {
  if (queue_.Remove(task)) Changed();
}

void TaskListing::Reschedule(const Task& task, DateTime when) {
  if (queue_.Reschedule(task, when)) Changed();
}

void TaskListing::Replace(const Task& task, Task replacement) {
  if (queue_.Replace(task, std::move(replacement))) Changed();
}

void TaskListing::Finish(const Task& task, DateTime now) {
  if (!queue_.Remove(task)) return;
  if (task.Repeat.kind == RepeatKind::EachTime && HasCondition(task)) {
    Task again = task;
    again.When = kWaitingMoment;
    queue_.Add(std::move(again));
  } else if (const std::optional<TaskRepeat> next = NextOccurrence(task.Repeat, now, timeZone_)) {
    Task again = task;
    again.Repeat = *next;
    again.When = DueMomentOf(next->occurrence, timeZone_);
    queue_.Add(std::move(again));
  }
  Changed();
}

void TaskListing::RemoveSelected() {
  const int index = list_.ItemIndex();
  if (!queue_.RemoveAt(index)) return;
  Changed();
}

void TaskListing::Changed() {
  RefreshTaskList();
  for (QueueObserver* observer : observers_) observer->QueueChanged(queue_);
}

std::vector<std::string> TaskListing::Captions() const {
  std::vector<std::string> captions;
  captions.reserve(queue_.Count());
  for (std::size_t i = 0; i < queue_.Count(); ++i) {
    const Task& task = queue_.At(i);
    captions.push_back(TaskRowCaption(task, clock_, progress_.ProgressOf(task)));
  }
  return captions;
}

void TaskListing::RefreshTaskList() {
  std::vector<std::string> captions = Captions();
  // An empty queue leaves the hint alone: it keeps the last task's caption.
  if (!captions.empty()) trayIcon_.SetHint(captions.front());
  std::vector<TaskListBox::Row> rows;
  rows.reserve(captions.size());
  for (std::size_t i = 0; i < captions.size(); ++i) {
    rows.push_back({std::move(captions[i]), TraitsOf(queue_.At(i).Kind).picture});
  }
  list_.SetRows(std::move(rows));
}

void TaskListing::RefreshCaptions() {
  list_.SetCaptions(Captions());
  // The shell is told only of a new hint.
  const std::vector<int>& changed = list_.ChangedRows();
  if (!changed.empty() && changed.front() == 0) trayIcon_.SetHint(list_.Rows().front().caption);
}
