#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/download.h"
#include "platform/files.h"
#include "platform/session_instance.h"
#include "platform/shell.h"
#include "platform/signature.h"
#include "platform/version_resource.h"
#include "platform/window_system.h"
#include "upgrade/hand_over_moment.h"

// What the update check announced: the new program's address, the version the
// version-information file names, and the signature that must vouch for it.
struct UpdateCandidate {
  std::string url;
  std::string version;
  std::string signature;
};

// The program that runs now: its folder, its fixed file name, its version.
struct CurrentProgram {
  std::string folder;
  std::string fileName;
  std::string version;
};

// How a successor is started: the window that starts it, whether it comes up
// in the tray, and what of the load report only this program can tell.
struct SuccessorStart {
  WindowHandle owner = 0;
  bool inTray = false;
  std::string loadReport;
};

// The window that follows a program download.
class DownloadProgressView {
 public:
  virtual void ShowDownload() = 0;
  // The received bytes of the total the service expects (0 while unknown).
  virtual void ShowDownloadProgress(std::uint32_t received, std::uint32_t total) = 0;
  virtual void CloseDownload() = 0;

 protected:
  ~DownloadProgressView() = default;
};

// The self-update: downloads the announced program beside this one, accepts
// it only as the project's signed, newer, named version, holds it from that
// check until it is started, and starts it when this program may hand over.
class SelfUpdate : private Download::Listener {
 public:
  struct Services {
    Download& download;
    Files& files;
    const Clock& clock;
    const SignatureVerifier& signatures;
    const VersionResource& versions;
    Shell& shell;
    SessionInstance& sessionInstance;
    WindowSystem& windowSystem;
  };

  // programWaiting runs when an accepted program begins to wait for its moment.
  SelfUpdate(const Services& services, DownloadProgressView& progress,
             std::function<void()> programWaiting);
  SelfUpdate(const SelfUpdate&) = delete;
  SelfUpdate& operator=(const SelfUpdate&) = delete;

  // Fetches the candidate to a name that is never started, the progress shown.
  void Download(const UpdateCandidate& candidate, const CurrentProgram& running);
  // An accepted program waits, and nothing is lost by ending this one now.
  [[nodiscard]] bool MayHandOver(const HandOverScene& scene) const;
  // Starts the waiting program, checked once more if time has passed since its
  // check. Not started, it is dropped: this program runs on without the update.
  void HandOver(const SuccessorStart& start);
  // Starts the program that takes over from this one, gives up the session's
  // claim for it and ends this one; false when it did not start, and this one
  // runs on holding the claim.
  [[nodiscard]] bool StartSuccessor(const std::string& program, const SuccessorStart& start);
  // The successor runs: this program only ends.
  [[nodiscard]] bool HandedOver() const { return handedOver_; }

 private:
  // The download's handlers end it quietly on any fault, as a failed download
  // ends: no message, no retry in this run.
  void DownloadProgress(std::uint32_t received, std::uint32_t total) override;
  void DownloadFinished(bool succeeded) override;
  [[nodiscard]] bool Accept();
  [[nodiscard]] bool IsTheAnnouncedProgram() const;
  void Drop();
  void Abandon();

  Services services_;
  DownloadProgressView& progress_;
  std::function<void()> programWaiting_;
  UpdateCandidate candidate_;
  std::string runningVersion_;
  // Where the checked program is started from; the download goes beside it.
  std::string program_;
  // Accepted and waiting until nothing is lost by ending this program.
  bool waiting_ = false;
  bool handedOver_ = false;
  // A handler of the running download failed: what it still reports is ignored.
  bool abandoned_ = false;
  // The accepted program, held from its check until it has been started.
  std::unique_ptr<Files::HeldFile> held_;
  DateTime acceptedAt_ = 0;
};
