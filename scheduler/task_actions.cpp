#include "scheduler/task_actions.h"

namespace {

const char* WarningText(TaskKind kind) {
  switch (kind) {
    case TaskKind::TurnOff: return "你的计算机将在30秒后关机。";
    case TaskKind::Restart: return "你的计算机将在30秒后重启。";
    case TaskKind::LogOff: return "你的计算机将在30秒后注销。";
    default: return nullptr;
  }
}

}  // namespace

void SystemTaskActions::WarnTaskDue(const Task& task) {
  if (const char* text = WarningText(task.Kind)) {
    trayIcon_.ShowBalloonHint(appTitle_ + "：", text, 0);
  }
}

void SystemTaskActions::PerformTask(const Task& task) {
  switch (task.Kind) {
    case TaskKind::OpenProgram:
      (void)shell_.Execute({0, std::nullopt, task.Param, std::nullopt, std::nullopt,
                            Shell::kShowNormal});
      break;
    case TaskKind::OpenWebPage:
      (void)shell_.Execute({mainWindow_.Handle(), std::nullopt, task.Param, std::nullopt,
                            std::nullopt, Shell::kShowNormal});
      break;
    // Exit requests, the alarm and ending programs need the power, sound and
    // process services, which come with the alarm window.
    case TaskKind::TurnOff:
    case TaskKind::Restart:
    case TaskKind::LogOff:
    case TaskKind::Alarm:
    case TaskKind::CloseProgram:
      break;
  }
}
