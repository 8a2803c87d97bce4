#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scheduler/task.h"

// How long before a power action the user is warned of it (the warning texts
// say it in words), and how far ahead one found at most a minute late is moved.
inline constexpr std::int64_t kWarningLeadSeconds = 30;

// What the user enters for a kind, and how the entry panel gets it.
enum class TaskParameter {
  None,
  Text,            // typed in: the alarm's reminder
  ProgramFile,     // chosen in the file dialog
  RunningProgram,  // picked from the running programs
  WebAddress,      // typed in, after "http://"
};

// What a task kind is. A new kind is a row here, in the place of its value;
// the compiler then names the switches that must learn it.
struct TaskKindTraits {
  TaskKind kind;
  std::string_view fileName;  // its name in the saved list; never changes once released
  const char* itemText;       // the item of the action radio group
  const char* captionPrefix;  // the first words of its row in the task list
  const char* headlineText;   // the end of the headline, with the padding it is drawn with
  TaskParameter parameter;
  const char* parameterPrompt;  // above the parameter field; nullptr without a parameter
  int picture;                  // its picture in res/task_kinds.png
  // Shut-down, restart, log-off, sleep and hibernation: the user is warned and may stop them.
  bool powerAction;
  // Shut-down, restart and log-off end the user's session: the programs still running close.
  bool endsSession;
  const char* warningText;  // the balloon kWarningLeadSeconds ahead; power actions only
  // The first words of the report when it could not be done; the system's own
  // words follow. Closing a program counts what it could not end instead.
  const char* failureText;
};

inline constexpr std::array<TaskKindTraits, kTaskKindCount> kTaskKinds{{
    {TaskKind::TurnOff, "turn-off", "关机", "关机：", "关机。     ", TaskParameter::None, nullptr,
     0, true, true, "你的计算机将在30秒后关机。", "电脑没有关机："},
    {TaskKind::Restart, "restart", "重启", "重启电脑：", "重启电脑。     ", TaskParameter::None,
     nullptr, 1, true, true, "你的计算机将在30秒后重启。", "电脑没有重启："},
    {TaskKind::LogOff, "log-off", "注销", "注销：", "注销。     ", TaskParameter::None, nullptr, 2,
     true, true, "你的计算机将在30秒后注销。", "没有注销："},
    {TaskKind::Alarm, "alarm", "闹钟", "闹钟：", "闹钟响起。     ", TaskParameter::Text,
     "请输入提醒的信息：", 3, false, false, nullptr, "找不到闹钟的声音文件："},
    {TaskKind::OpenProgram, "open-program", "打开软件", "打开软件：", "打开软件。      ",
     TaskParameter::ProgramFile, "您选择打开的软件：", 4, false, false, nullptr, "无法打开："},
    {TaskKind::CloseProgram, "close-program", "关闭软件", "关闭软件：", "关闭软件。    ",
     TaskParameter::RunningProgram, "选择你要关闭的软件：", 5, false, false, nullptr, nullptr},
    {TaskKind::OpenWebPage, "open-web-page", "打开网页", "打开网页：", "打开网页。   ",
     TaskParameter::WebAddress, "请输入要打开的网页：", 6, false, false, nullptr, "无法打开："},
    {TaskKind::Sleep, "sleep", "睡眠", "睡眠：", "进入睡眠。     ", TaskParameter::None, nullptr, 7,
     true, false, "你的计算机将在30秒后进入睡眠。", "电脑没有进入睡眠："},
    {TaskKind::Lock, "lock", "锁定", "锁定：", "锁定电脑。     ", TaskParameter::None, nullptr, 8,
     false, false, nullptr, "电脑没有锁定："},
    {TaskKind::Hibernate, "hibernate", "休眠", "休眠：", "进入休眠。     ", TaskParameter::None,
     nullptr, 9, true, false, "你的计算机将在30秒后进入休眠。", "电脑没有休眠："},
    {TaskKind::ScreenOff, "screen-off", "关闭显示器", "关闭显示器：", "关闭显示器。     ",
     TaskParameter::None, nullptr, 10, false, false, nullptr, "显示器没有关闭："},
}};

// A row for every kind, each in its kind's place: a kind without its row
// leaves a default row (TurnOff) behind the others.
constexpr bool EveryKindHasItsRow() {
  for (std::size_t i = 0; i < kTaskKinds.size(); ++i) {
    const TaskKindTraits& row = kTaskKinds[i];
    if (static_cast<std::size_t>(row.kind) != i || row.fileName.empty()) return false;
    if ((row.parameter == TaskParameter::None) != (row.parameterPrompt == nullptr)) return false;
    if (row.powerAction != (row.warningText != nullptr)) return false;
    if (row.endsSession && !row.powerAction) return false;
  }
  return true;
}
static_assert(EveryKindHasItsRow());

[[nodiscard]] constexpr const TaskKindTraits& TraitsOf(TaskKind kind) {
  return kTaskKinds[static_cast<std::size_t>(kind)];
}

[[nodiscard]] constexpr bool IsPowerAction(TaskKind kind) { return TraitsOf(kind).powerAction; }
