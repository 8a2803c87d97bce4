#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/download.h"
#include "platform/files.h"
#include "platform/threads.h"

// What the update-check thread and the main thread share. The thread owns a
// share of it, so the program may end while the check still runs.
struct UpdateCheck {
  // Copies made before the thread starts; never written afterwards.
  std::string AppPath;
  std::string AppVersion;
  std::string UpdateInfoUrl;
  // Written by the thread, then published by UpdateCheckDone: stored with
  // release, loaded with acquire. With the address come the version the file
  // names and the signature that must vouch for the program downloaded.
  std::string UpdateCandidateUrl;
  std::string UpdateCandidateVersion;
  std::string UpdateCandidateSignature;
  std::atomic<bool> UpdateCheckDone{false};
  // Start-up has removed the leftovers of an earlier update, "up" among them:
  // only then may the thread write and read that file. A lock and a condition
  // rather than an atomic wait: the MinGW runtime's atomic wait has been seen
  // to miss its notification and leave the check waiting for good.
  std::mutex StartupFilesMutex;
  std::condition_variable StartupFilesCondition;
  bool StartupFilesSettled = false;
};

// The platform services the check uses from its own thread; they live until
// the process ends.
struct UpdateCheckServices {
  Download& download;
  Files& files;
  const Clock& clock;
  const CodePage& codePage;
};

// Asks the update server for the version-information file and leaves the
// address of a newer program in UpdateCandidateUrl (empty when there is
// none), then sets UpdateCheckDone. Never reports a failure.
void CheckForUpdate(UpdateCheck& check, const UpdateCheckServices& services);

// Starts CheckForUpdate on a thread nobody waits for. When no thread starts,
// the check never ends and no update is looked for in this run.
void StartUpdateCheck(const std::shared_ptr<UpdateCheck>& check, Threads& threads,
                      const UpdateCheckServices& services);

// Lets the check go on once start-up is done with the files beside the program.
void SettleStartupFiles(UpdateCheck& check);
