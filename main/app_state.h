#pragma once

#include <memory>
#include <string>

#include "upgrade/update_check.h"

inline constexpr char kAppTitle[] = "Lumo定时关机";

// The title of the balloons that report on the task list.
[[nodiscard]] inline std::string ReportTitle() { return std::string(kAppTitle) + "："; }

// The program's shared values. All texts are UTF-8.
// AppPath, AppVersion and UpdateInfoUrl are written before the update check
// starts and never change afterwards. The check thread's results,
// UpdateCandidateUrl and UpdateCheckDone, live in the share it holds.
struct AppState {
  std::string AppPath;
  std::string AppVersion;
  std::string ExeFileName;
  std::string AppTitle;
  std::string UpdateInfoUrl;
  std::shared_ptr<UpdateCheck> Check;
  bool RelaunchPending = false;
};
