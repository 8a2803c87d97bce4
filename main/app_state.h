#pragma once

#include <atomic>
#include <string>

// The program's shared values. All texts are in the system code page.
// AppPath, AppVersion and UpdateInfoUrl are written before the update check
// starts and never change afterwards; UpdateCandidateUrl is published by
// UpdateCheckDone (release on store, acquire on load).
struct AppState {
  std::string AppPath;
  std::string AppVersion;
  std::string ExeFileName;
  std::string AppTitle;
  std::string UpdateInfoUrl;
  std::string UpdateCandidateUrl;
  std::atomic<bool> UpdateCheckDone{false};
  std::string NewVersionUrl;
  bool RelaunchPending = false;
};
