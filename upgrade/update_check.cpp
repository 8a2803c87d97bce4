#include "upgrade/update_check.h"

#include "upgrade/update_files.h"
#include "upgrade/update_signature.h"
#include "upgrade/url_time_stamp.h"
#include "upgrade/version_file.h"

void CheckForUpdate(UpdateCheck& check, const UpdateCheckServices& services) {
  {
    std::unique_lock lock(check.StartupFilesMutex);
    check.StartupFilesCondition.wait(lock, [&] { return check.StartupFilesSettled; });
  }
  std::string candidate;
  std::vector<std::string> tokens;
  const std::string request =
      UpdateRequestUrl(check.UpdateInfoUrl, DecodeDateTime(services.clock.Now()));
  const std::string file = VersionAnswerFile(check.AppPath);
  if (services.download.ToFile(request, file, kVersionFileMaxBytes)) {
    // Gone or locked since the download: no update this time.
    if (const auto bytes = services.files.ReadPrefix(file, kVersionFileMaxBytes)) {
      tokens = VersionFileTokens(*bytes, services.codePage);
      candidate = UpdateCandidateFrom(tokens, check.AppVersion);
    }
  }
  // Files of older servers have no third token: without a well-formed
  // signature nothing is downloaded at all, as nothing could be accepted.
  if (!candidate.empty() && (tokens.size() < 3 || !ParseSignatureToken(tokens[2]))) {
    candidate.clear();
  }
  if (!candidate.empty()) {
    check.UpdateCandidateVersion = tokens[0];
    check.UpdateCandidateSignature = tokens[2];
  }
  check.UpdateCandidateUrl = std::move(candidate);
  check.UpdateCheckDone.store(true, std::memory_order_release);
}

void StartUpdateCheck(const std::shared_ptr<UpdateCheck>& check, Threads& threads,
                      const UpdateCheckServices& services) {
  (void)threads.StartDetached([check, services] {
    try {
      CheckForUpdate(*check, services);
    } catch (...) {
      // Nothing may escape a thread: the check then found no update, and the
      // main window stops waiting for it.
      check->UpdateCandidateUrl.clear();
      check->UpdateCheckDone.store(true, std::memory_order_release);
    }
  });
}

void SettleStartupFiles(UpdateCheck& check) {
  {
    const std::lock_guard lock(check.StartupFilesMutex);
    check.StartupFilesSettled = true;
  }
  check.StartupFilesCondition.notify_all();
}
