#include "upgrade/update_check.h"

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
  const std::string file = check.AppPath + "up";
  if (services.download.ToFile(request, file, kVersionFileMaxBytes)) {
    // Gone or locked since the download: no update this time.
    if (const auto bytes = services.files.ReadPrefix(file, kVersionFileMaxBytes)) {
      tokens = VersionFileTokens(*bytes, services.codePage);
      candidate = UpdateCandidateFrom(tokens, check.AppVersion);
    }
  }
  if (!candidate.empty()) {
    check.UpdateCandidateVersion = tokens[0];
    // Files of older servers have no third token: no signature, no update.
    if (tokens.size() > 2) check.UpdateCandidateSignature = tokens[2];
  }
  check.UpdateCandidateUrl = std::move(candidate);
  check.UpdateCheckDone.store(true, std::memory_order_release);
}

void StartUpdateCheck(const std::shared_ptr<UpdateCheck>& check, Threads& threads,
                      const UpdateCheckServices& services) {
  (void)threads.StartDetached([check, services] { CheckForUpdate(*check, services); });
}

void SettleStartupFiles(UpdateCheck& check) {
  {
    const std::lock_guard lock(check.StartupFilesMutex);
    check.StartupFilesSettled = true;
  }
  check.StartupFilesCondition.notify_all();
}
