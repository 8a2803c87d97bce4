#include "scheduler/task.h"

#include "scheduler/moment_text.h"

bool IsPowerAction(TaskKind kind) {
  return kind == TaskKind::TurnOff || kind == TaskKind::Restart || kind == TaskKind::LogOff;
}

int CompareTasksByWhen(const Task& a, const Task& b) { return CompareDateTime(a.When, b.When); }

std::string ProgramEndTrigger::Label() const {
  return WindowTitle.empty() ? ImageName : WindowTitle + "|" + ImageName;
}

void ProgramEndTrigger::SetLabel(std::string_view label) {
  const std::size_t bar = label.rfind('|');
  ImageName = label.substr(bar == std::string_view::npos ? 0 : bar + 1);
  WindowTitle = bar == std::string_view::npos ? std::string_view() : label.substr(0, bar);
}

std::string TaskRowCaption(const Task& task, const Clock& clock) {
  const std::string moment = IsWaitingForProgram(task)
                                 ? "等待 " + task.AfterProgram.Label() + " 结束后"
                                 : MomentText(clock, task.When);
  const auto withParam = [&](const char* prefix) { return prefix + task.Param + "\r\n" + moment; };
  switch (task.Kind) {
    case TaskKind::TurnOff:
      return "关机：" + moment;
    case TaskKind::Restart:
      return "重启电脑：" + moment;
    case TaskKind::LogOff:
      return "注销：" + moment;
    case TaskKind::Alarm:
      return withParam("闹钟：");
    case TaskKind::OpenProgram:
      return withParam("打开软件：");
    case TaskKind::CloseProgram:
      return withParam("关闭软件：");
    case TaskKind::OpenWebPage:
      return withParam("打开网页：");
  }
  return moment;
}

const char* TaskKindItemText(TaskKind kind) {
  switch (kind) {
    case TaskKind::TurnOff:
      return "关机";
    case TaskKind::Restart:
      return "重启";
    case TaskKind::LogOff:
      return "注销";
    case TaskKind::Alarm:
      return "闹钟";
    case TaskKind::OpenProgram:
      return "打开软件";
    case TaskKind::CloseProgram:
      return "关闭软件";
    case TaskKind::OpenWebPage:
      return "打开网页";
  }
  return "";
}
