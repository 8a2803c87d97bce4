#include "upgrade/relocation.h"

#include "process/image_name.h"
#include "upgrade/update_files.h"
#include "upgrade/version_compare.h"
#include "upgrade/version_text.h"

bool Relocation::RelocateToFixedName(const std::string& programFile, const std::string& appPath,
                                     const std::string& exeFileName,
                                     const std::string& programVersion, DateTime now) {
  if (FileNamePart(programFile) != exeFileName) {
    from_ = programFile;
    to_ = appPath + exeFileName;
    // A fixed-name program whose version cannot be read is no program worth
    // keeping, and one in use cannot be replaced anyway.
    if (files_.Exists(to_) &&
        IsNewerVersion(programVersion, GetFileVersionString(versions_, to_))) {
      return true;
    }
    if (files_.CopyReplacing(from_, to_)) return true;
    retrying_ = true;
    retryUntil_ = now + kRetrySeconds / kSecondsPerDay;
    return false;
  }
  const std::string downloaded = DownloadedProgramFile(appPath, exeFileName);
  for (const std::string& leftover :
       {downloaded, downloaded + kDownloadSuffix, VersionAnswerFile(appPath)}) {
    if (files_.Exists(leftover)) (void)files_.Delete(leftover);
  }
  return false;
}

bool Relocation::RetryCopy(DateTime now) {
  if (!retrying_) return false;
  if (now > retryUntil_) {
    retrying_ = false;  // it runs on under its present name
    return false;
  }
  if (!files_.CopyReplacing(from_, to_)) return false;
  retrying_ = false;
  return true;
}
