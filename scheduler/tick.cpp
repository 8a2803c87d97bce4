#include "scheduler/tick.h"

std::string HeadlinePrefix(std::int64_t seconds) {
  if (seconds <= 60) return std::to_string(seconds) + "秒后";
  if (seconds < 3600) return std::to_string(seconds / 60) + "分钟后";
  return std::to_string(seconds / 3600) + "小时" + std::to_string(seconds % 3600 / 60) + "分钟后";
}

const char* HeadlineKindText(TaskKind kind) {
  switch (kind) {
    case TaskKind::TurnOff:
      return "关机。     ";
    case TaskKind::Restart:
      return "重启电脑。     ";
    case TaskKind::LogOff:
      return "注销。     ";
    case TaskKind::Alarm:
      return "闹钟响起。     ";
    case TaskKind::OpenProgram:
      return "打开软件。      ";
    case TaskKind::CloseProgram:
      return "关闭软件。    ";
    case TaskKind::OpenWebPage:
      return "打开网页。   ";
  }
  return "";
}

HeadVerdict JudgeHead(DateTime when, DateTime now) {
  const std::int64_t distance = WholeSecondsApart(when, now);
  if (when < now && distance >= 1) {
    return distance <= kLatestLatePerformSeconds ? HeadVerdict::PerformLate : HeadVerdict::Drop;
  }
  if (distance == 0) return HeadVerdict::Perform;
  if (distance == 30) return HeadVerdict::Warn;
  return HeadVerdict::Wait;
}

void DueTaskRunner::Run(DateTime now) {
  // After a task performed in its own second, the headline keeps saying
  // "0秒后..." until the next tick, as the user expects to see it go.
  bool keepHeadline = false;
  while (!tasks_.Queue().Empty()) {
    const Task head = tasks_.Queue().Head();
    const HeadVerdict verdict = JudgeHead(head.When, now);
    switch (verdict) {
      case HeadVerdict::PerformLate:
        actions_.PerformTask(head);
        tasks_.RemoveHead();
        continue;
      case HeadVerdict::Drop:
        tasks_.RemoveHead();
        trayIcon_.ShowBalloonHint(balloonTitle_, "错过的任务：" + TaskRowCaption(head, clock_), 0);
        continue;
      case HeadVerdict::Wait:
      case HeadVerdict::Warn:
      case HeadVerdict::Perform:
        break;
    }
    if (!keepHeadline) {
      title_.SetText(HeadlinePrefix(WholeSecondsApart(head.When, now)) +
                     HeadlineKindText(head.Kind));
    }
    if (verdict == HeadVerdict::Warn) actions_.WarnTaskDue(head);
    if (verdict != HeadVerdict::Perform) return;
    actions_.PerformTask(head);
    tasks_.RemoveHead();
    keepHeadline = true;
  }
  if (!keepHeadline) title_.SetText(kEmptyQueueHeadline);
}
