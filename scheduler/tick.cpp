#include "scheduler/tick.h"

#include "language/language.h"
#include "language/report_title.h"
#include "scheduler/condition_texts.h"

std::string HeadlinePrefix(std::int64_t seconds) {
  if (seconds <= 60) return FormatText(TextId::HeadlineInSeconds, {std::to_string(seconds)});
  if (seconds < 3600) return FormatText(TextId::HeadlineInMinutes, {std::to_string(seconds / 60)});
  return FormatText(TextId::HeadlineInHoursMinutes,
                    {std::to_string(seconds / 3600), std::to_string(seconds % 3600 / 60)});
}

namespace {

std::string_view KindHeadline(TaskKind kind) { return Text(TraitsOf(kind).headlineText); }

std::string WithoutTrailingSpaces(std::string_view text) {
  return std::string(text.substr(0, text.find_last_not_of(' ') + 1));
}

std::string ConditionHeadline(const Task& head, const WaitProgress& progress) {
  const std::string_view kindText = KindHeadline(head.Kind);
  if (std::holds_alternative<NoInputTrigger>(head.Condition)) {
    return FormatText(TextId::HeadlineWhenIdle,
                      {HeadlinePrefix(SecondsToGo(head.Condition, progress)), kindText});
  }
  if (!progress.bytesPerSecond) return FormatText(TextId::HeadlineAfterDownloads, {kindText});
  return FormatText(TextId::HeadlineAfterDownloadsAtRate,
                    {WithoutTrailingSpaces(kindText), RateText(*progress.bytesPerSecond)});
}

}  // namespace

std::string HeadTaskHeadline(const Task& head, DateTime now, const WaitProgress& progress) {
  if (IsWaitingForProgram(head)) {
    return FormatText(TextId::HeadlineAfterProgram, {KindHeadline(head.Kind)});
  }
  if (IsWaitingForCondition(head)) return ConditionHeadline(head, progress);
  return FormatText(TextId::HeadlineCountdown,
                    {HeadlinePrefix(WholeSecondsApart(head.When, now)), KindHeadline(head.Kind)});
}

std::string CountdownText(std::int64_t seconds, TaskKind kind) {
  return WithoutTrailingSpaces(
      FormatText(TextId::HeadlineCountdown, {HeadlinePrefix(seconds), KindHeadline(kind)}));
}

namespace {

// "1小时12分钟", "2天3小时": whole minutes, the days without their minutes.
std::string TimeLeftDistance(std::int64_t minutes) {
  const auto number = [](std::int64_t n) { return std::to_string(n); };
  if (minutes == 0) return std::string(Text(TextId::TimeLeftUnderAMinute));
  if (minutes >= 1440) {
    if (minutes % 1440 < 60) return FormatText(TextId::TimeLeftDays, {number(minutes / 1440)});
    return FormatText(TextId::TimeLeftDaysHours,
                      {number(minutes / 1440), number(minutes % 1440 / 60)});
  }
  if (minutes < 60) return FormatText(TextId::TimeLeftMinutes, {number(minutes)});
  if (minutes % 60 == 0) return FormatText(TextId::TimeLeftHours, {number(minutes / 60)});
  return FormatText(TextId::TimeLeftHoursMinutes, {number(minutes / 60), number(minutes % 60)});
}

}  // namespace

std::string TimeLeftText(std::int64_t seconds, TaskKind kind) {
  // The kind's words without the headline's full stop and padding.
  const std::string_view kindText = KindHeadline(kind);
  return FormatText(TextId::TimeLeft,
                    {TimeLeftDistance(seconds / 60), kindText.substr(0, kindText.find("。"))});
}

HeadVerdict JudgeHead(DateTime when, DateTime now) {
  const std::int64_t distance = WholeSecondsApart(when, now);
  if (when < now && distance >= 1) {
    return distance <= kLatestLatePerformSeconds ? HeadVerdict::PerformLate : HeadVerdict::Drop;
  }
  if (distance == 0) return HeadVerdict::Perform;
  if (distance == kWarningLeadSeconds) return HeadVerdict::Warn;
  return HeadVerdict::Wait;
}

std::string MissedTasksText(const std::vector<Task>& missed, const Clock& clock) {
  if (missed.size() == 1) {
    return FormatText(TextId::MissedTask, {TaskRowCaption(missed.front(), clock)});
  }
  std::string text = FormatText(TextId::MissedTasks, {std::to_string(missed.size())});
  for (const Task& task : missed) text += "\r\n" + TaskRowCaption(task, clock);
  return text;
}

std::string FailedTasksText(const std::vector<FailedTask>& failed, const Clock& clock) {
  if (failed.size() == 1) {
    return FormatText(TextId::FailedTask, {TaskRowCaption(failed.front().task, clock)}) + "\r\n" +
           failed.front().reason;
  }
  std::string text = FormatText(TextId::FailedTasks, {std::to_string(failed.size())});
  for (const FailedTask& f : failed) {
    text += "\r\n" + TaskRowCaption(f.task, clock) + "\r\n" + f.reason;
  }
  return text;
}

void ShowTaskReport(TrayIcon& trayIcon, const std::string& title, const std::string& report,
                    std::uint64_t balloonsBefore) {
  if (report.empty()) return;
  if (trayIcon.BalloonsShown() != balloonsBefore && !trayIcon.BalloonTitle().empty()) {
    // Copies: the tray icon clears its own record of the balloon first.
    const std::string shownTitle = trayIcon.BalloonTitle();
    trayIcon.ShowBalloonHint(shownTitle, trayIcon.BalloonText() + "\r\n" + report,
                             trayIcon.BalloonIcon());
    return;
  }
  trayIcon.ShowBalloonHint(title, report);
}

void DueTaskRunner::Perform(const Task& task, std::vector<FailedTask>& failed) {
  // Out of the queue before the action starts: a sleep returns only after the
  // wake, and the list saved and the wake timer armed must be the ones without
  // this task by then.
  tasks_.Finish(task, clock_.Now());
  if (std::optional<std::string> failure = actions_.PerformTask(task)) {
    failed.push_back({task, std::move(*failure)});
  }
}

void DueTaskRunner::Warn(const Task& task) {
  if (warnedInThisSecond_ == task) return;
  actions_.WarnTaskDue(task);
  warnedInThisSecond_ = task;
}

void DueTaskRunner::ShowHeadline(DateTime now) {
  const TaskQueue& queue = tasks_.Queue();
  title_.SetText(queue.Empty()
                     ? std::string(Text(TextId::EmptyQueueHeadline))
                     : HeadTaskHeadline(queue.Head(), now, tasks_.ProgressOf(queue.Head())));
  ShowTimeLeftInHint(now);
}

void DueTaskRunner::ShowTimeLeftInHint(DateTime now) {
  const TaskQueue& queue = tasks_.Queue();
  if (queue.Empty()) {
    // The list leaves the last task's caption in the hint; the time it told
    // went with the task.
    if (!lastCaption_.empty()) trayIcon_.SetHint(lastCaption_);
    return;
  }
  const Task& head = queue.Head();
  lastCaption_ = TaskRowCaption(head, clock_, tasks_.ProgressOf(head));
  // A task that waits (for a program, a quiet network, nobody at the computer)
  // has no time to tell: its row says how it waits.
  if (CompareDateTime(head.When, kWaitingMoment) == 0) return;
  trayIcon_.SetHint(TimeLeftText(WholeSecondsApart(head.When, now), head.Kind) + "\r\n" +
                    lastCaption_);
}

namespace {

// A dated task on the waiting moment's day sorts after the waiting tasks.
const Task* FirstDatedTask(const TaskQueue& queue) {
  for (std::size_t i = 0; i < queue.Count(); ++i) {
    if (!IsWaiting(queue.At(i))) return &queue.At(i);
  }
  return nullptr;
}

}  // namespace

void DueTaskRunner::Run(DateTime now) {
  // The program-end watch dates the tasks whose process ended; a power task
  // whose process ended before this start is missed.
  const std::vector<Task> missedWaiting = waiting_.Follow(now);
  std::vector<Task> missed;
  // After a task performed in its own second, the headline keeps saying
  // "0秒后..." until the next tick, as the user expects to see it go.
  bool keepHeadline = false;
  std::vector<FailedTask> failed;
  const std::uint64_t balloonsBeforeTick = trayIcon_.BalloonsShown();
  while (const Task* next = FirstDatedTask(tasks_.Queue())) {
    const Task head = *next;
    const HeadVerdict verdict = JudgeHead(head.When, now);
    if (verdict == HeadVerdict::PerformLate && IsPowerAction(head.Kind)) {
      tasks_.Reschedule(head, now + static_cast<double>(kWarningLeadSeconds) / kSecondsPerDay);
      continue;
    }
    switch (verdict) {
      case HeadVerdict::PerformLate:
        Perform(head, failed);
        continue;
      case HeadVerdict::Drop:
        tasks_.Finish(head, now);
        missed.push_back(head);
        continue;
      case HeadVerdict::Wait:
      case HeadVerdict::Warn:
      case HeadVerdict::Perform:
        break;
    }
    if (verdict == HeadVerdict::Warn) {
      Warn(head);
    } else {
      warnedInThisSecond_.reset();
    }
    if (verdict != HeadVerdict::Perform) break;
    if (!keepHeadline) title_.SetText(HeadTaskHeadline(head, now, {}));
    keepHeadline = true;
    Perform(head, failed);
  }
  // No dated task is left to count down to, only waiting ones, if any.
  if (!FirstDatedTask(tasks_.Queue())) warnedInThisSecond_.reset();
  if (!keepHeadline) ShowHeadline(now);
  // The waiting tasks sort after the dated ones.
  missed.insert(missed.end(), missedWaiting.begin(), missedWaiting.end());
  std::string report = missed.empty() ? "" : MissedTasksText(missed, clock_);
  if (!failed.empty()) report += (report.empty() ? "" : "\r\n") + FailedTasksText(failed, clock_);
  ShowTaskReport(trayIcon_, ReportTitle(), report, balloonsBeforeTick);
}
