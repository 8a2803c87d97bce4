#include "scheduler/power_warning.h"

#include <vector>

#include "language/report_title.h"
#include "process/open_programs.h"
#include "scheduler/elapsed_time.h"
#include "scheduler/task_kinds.h"

PowerWarning::PowerWarning(TaskListing& tasks, TaskActions& actions, WarningView& window,
                           TrayIcon& trayIcon, const Clock& clock, const TimeZone& timeZone,
                           Processes& processes, std::function<ShutdownMethod()> shutdownMethod)
    : tasks_(tasks),
      actions_(actions),
      window_(window),
      trayIcon_(trayIcon),
      clock_(clock),
      timeZone_(timeZone),
      processes_(processes),
      shutdownMethod_(std::move(shutdownMethod)) {}

void PowerWarning::Follow(DateTime now) {
  const TaskQueue& queue = tasks_.Queue();
  const bool warned = !queue.Empty() && IsPowerAction(queue.Head().Kind) &&
                      CompareDateTime(queue.Head().When, now) >= 0 &&
                      WholeSecondsApart(queue.Head().When, now) <= kWarningLeadSeconds &&
                      queue.Head() != dismissed_;
  if (!warned) {
    shown_.reset();
    window_.Close();
    return;
  }
  const Task& head = queue.Head();
  shown_ = head;
  // Sleep and hibernation close nothing: the programs wait for the wake.
  const std::string closing =
      TraitsOf(head.Kind).endsSession
          ? ClosingProgramsText(OpenProgramNames(processes_), shutdownMethod_())
          : std::string();
  window_.ShowWarning(TaskRowCaption(head, clock_),
                      CountdownText(WholeSecondsApart(head.When, now), head.Kind), closing);
}

void PowerWarning::Postpone(int minutes, DateTime now) {
  if (!shown_) return;
  // From now, not from the due moment: the user gets the minutes named, in
  // elapsed time.
  tasks_.Reschedule(*shown_, ElapsedMinutesLater(now, minutes, timeZone_));
  Follow(now);
}

void PowerWarning::Cancel() {
  if (!shown_) return;
  // This occurrence only: deleting the row is what ends a series.
  tasks_.Finish(*shown_, clock_.Now());
  Follow(clock_.Now());
}

void PowerWarning::RunNow() {
  if (!shown_) return;
  const Task task = *shown_;
  // Out of the queue first: a tick that runs while the action waits on the
  // system must not find the task and perform it a second time.
  tasks_.Finish(task, clock_.Now());
  Follow(clock_.Now());
  const std::uint64_t balloonsBefore = trayIcon_.BalloonsShown();
  if (std::optional<std::string> failure = actions_.PerformTask(task)) {
    ShowTaskReport(trayIcon_, ReportTitle(),
                   FailedTasksText({FailedTask{task, std::move(*failure)}}, clock_),
                   balloonsBefore);
  }
}

void PowerWarning::Dismiss() {
  dismissed_ = shown_;
  shown_.reset();
}
