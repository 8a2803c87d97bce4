#include "upgrade/self_update.h"

#include <utility>

#include "startup/start_arguments.h"
#include "upgrade/update_files.h"
#include "upgrade/update_signature.h"
#include "upgrade/url_time_stamp.h"
#include "upgrade/version_compare.h"
#include "upgrade/version_text.h"

SelfUpdate::SelfUpdate(const Services& services, DownloadProgressView& progress,
                       std::function<void()> programWaiting)
    : services_(services), progress_(progress), programWaiting_(std::move(programWaiting)) {}

void SelfUpdate::Download(const UpdateCandidate& candidate, const CurrentProgram& running) {
  candidate_ = candidate;
  runningVersion_ = running.version;
  program_ = DownloadedProgramFile(running.folder, running.fileName);
  progress_.ShowDownload();
  services_.download.StartToFile(
      UpdateRequestUrl(candidate_.url, DecodeDateTime(services_.clock.Now())),
      program_ + kDownloadSuffix, kProgramDownloadMaxBytes, *this);
}

void SelfUpdate::DownloadProgress(std::uint32_t received, std::uint32_t total) {
  if (abandoned_) return;
  try {
    progress_.ShowDownloadProgress(received, total);
  } catch (...) {
    Abandon();
  }
}

void SelfUpdate::DownloadFinished(bool succeeded) {
  try {
    if (abandoned_ || !succeeded || !Accept()) {
      Abandon();
      return;
    }
    // Nothing more to show: the new program waits unseen for its moment.
    progress_.CloseDownload();
    waiting_ = true;
    programWaiting_();
  } catch (...) {
    Abandon();
  }
}

void SelfUpdate::Abandon() {
  abandoned_ = true;
  waiting_ = false;
  // What arrived so far is removed when the download ends; the next start
  // removes what is left.
  (void)services_.files.Delete(program_ + kDownloadSuffix);
  progress_.CloseDownload();
}

bool SelfUpdate::Accept() {
  // Under its final name, then held from the first byte hashed until it has
  // been started: what is started is what was checked.
  if (!services_.files.MoveReplacing(program_ + kDownloadSuffix, program_)) return false;
  held_ = services_.files.Hold(program_);
  if (!held_ || !IsTheAnnouncedProgram()) {
    Drop();
    return false;
  }
  acceptedAt_ = services_.clock.Now();
  return true;
}

bool SelfUpdate::IsTheAnnouncedProgram() const {
  // Only what the project signed, of the version the server named, and newer
  // than this program: an old signed program offered as new is refused too.
  if (!IsSignedByProject(program_, candidate_.signature, services_.signatures)) return false;
  const std::string version = GetFileVersionString(services_.versions, program_);
  return version == candidate_.version && IsNewerVersion(runningVersion_, version);
}

void SelfUpdate::Drop() {
  held_.reset();
  (void)services_.files.Delete(program_);
}

bool SelfUpdate::MayHandOver(const HandOverScene& scene) const {
  return waiting_ && !handedOver_ && MayHandOverNow(scene, services_.clock.Now());
}

void SelfUpdate::HandOver(const SuccessorStart& start) {
  waiting_ = false;
  // Held all along; checked once more when time has passed, should a file
  // system not have kept the hold.
  if (WholeSecondsApart(services_.clock.Now(), acceptedAt_) >= 1 && !IsTheAnnouncedProgram()) {
    Drop();
    return;
  }
  if (!StartSuccessor(program_, start)) {
    Drop();
    return;
  }
  // Started: the new program may copy and delete it now.
  held_.reset();
}

bool SelfUpdate::StartSuccessor(const std::string& program, const SuccessorStart& start) {
  // It waits for the session's claim until this program gives it up.
  if (services_.shell.Execute({start.owner, "open", program,
                               HandOverArguments(start.inTray, start.loadReport), std::nullopt,
                               Shell::kShowNormal}) != kSucceeded) {
    return false;
  }
  services_.sessionInstance.GiveUp();
  // Once: a resume or a clock change may still tick before the loop ends.
  handedOver_ = true;
  services_.windowSystem.Terminate();
  return true;
}
