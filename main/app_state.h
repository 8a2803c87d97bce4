#pragma once

#include <memory>
#include <string>

#include "language/report_title.h"
#include "upgrade/update_check.h"

// The program's shared values. All texts are UTF-8.
// AppPath, AppVersion and UpdateInfoUrl are written before the update check
// starts and never change afterwards. The check thread's results,
// UpdateCandidateUrl and UpdateCheckDone, live in the share it holds.
struct AppState {
  std::string AppPath;
  std::string AppVersion;
  std::string ExeFileName;
  std::string UpdateInfoUrl;
  std::shared_ptr<UpdateCheck> Check;
  bool RelaunchPending = false;
};
