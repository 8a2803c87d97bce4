#pragma once

#include <cstddef>
#include <string>

#include "platform/clock.h"
#include "platform/profile_files.h"
#include "platform/system_error.h"
#include "scheduler/queue_observer.h"
#include "scheduler/task_listing.h"
#include "widgets/tray_icon.h"

// The folder of the program's files in the user's roaming profile; empty when
// the system names no such folder. Inline: dusk-cli finds the settings file by
// it without taking in the saved list's code.
[[nodiscard]] inline std::string TaskListFolder(const std::string& roamingAppData) {
  return roamingAppData.empty() ? std::string() : roamingAppData + "\\Dusk";
}

// A list longer than this is no list of ours (a million tasks fill a few
// megabytes): it goes aside unread.
inline constexpr std::size_t kTaskListMaxBytes = 8u << 20;
// A file another program holds for a moment (a virus scanner, a backup) is
// tried again for about two seconds at start-up.
inline constexpr unsigned kReadRetryPauseMs = 100;
inline constexpr int kReadTries = 21;

// The task list kept in the user's profile (tasks.txt in TaskListFolder),
// written whole after every change of the queue and read back at start-up.
//
// What becomes of the file depends on what reading it found:
// - read and found damaged (lines lost, not a list, too large): renamed aside,
//   never deleted or written over; until that rename succeeds no save
//   replaces it;
// - not readable at all (held by another program, access denied): left alone
//   and not saved over; read again at the next change, and once read its
//   tasks join those added meanwhile and the list is saved as usual;
// - written by a newer version: never written over in this run, whatever the
//   user does here. The user acts on the file itself: once it is gone, or
//   holds a list this version reads, the next change saves as usual.
// A save that fails keeps the list in memory, says why in one balloon, and is
// tried again at the next change; the balloon comes again only after a save
// succeeded or for another reason.
class SavedTaskList : public QueueObserver {
 public:
  // `tasks` observes this list; it may be built after it.
  SavedTaskList(ProfileFiles& files, const SystemMessages& messages, TrayIcon& trayIcon,
                const Clock& clock, TaskListing& tasks, std::string folder)
      : files_(files),
        messages_(messages),
        trayIcon_(trayIcon),
        clock_(clock),
        tasks_(tasks),
        folder_(std::move(folder)) {}

  [[nodiscard]] std::string ListPath() const { return folder_ + "\\tasks.txt"; }

  struct LoadReport {
    // What the user must hear of; empty when nothing was lost.
    std::string text;
    // The file was read and set aside: whoever reads the list after this
    // program finds nothing amiss, so only this report tells of it.
    bool fileSetAside = false;
  };
  // Puts the saved tasks into the list, without writing them back unless part
  // of the file could not be read.
  [[nodiscard]] LoadReport Load();

  void QueueChanged(const TaskQueue& queue) override;

  // Whether the file holds the queue as it is now; when the last save failed
  // or the file was not read, tries once more first.
  [[nodiscard]] bool SaveIfBehind(const TaskQueue& queue);

 private:
  enum class FileState {
    Ours,      // read, missing or written by this program: saved over
    Unread,    // could not be read: left alone
    NewerList  // a newer version's: left alone
  };
  [[nodiscard]] ProfileFiles::Contents ReadPatiently() const;
  // What reading found, put into the list and the file. The text the user must
  // hear of, empty when nothing was lost.
  [[nodiscard]] std::string TakeIn(const ProfileFiles::Contents& contents);
  // Saves the list after a damaged file was read; the report, with where the
  // file went and why a save failed.
  [[nodiscard]] std::string SaveWhatWasRead(std::string report);
  // At a change or a hand-over: the file that was left alone is read once more.
  void ReadAgain();
  [[nodiscard]] SystemError Save(const TaskQueue& queue);
  [[nodiscard]] SystemError SetAside();
  [[nodiscard]] std::string SaveFailureText(SystemError error) const;
  void Report(SystemError error);

  ProfileFiles& files_;
  const SystemMessages& messages_;
  TrayIcon& trayIcon_;
  const Clock& clock_;
  TaskListing& tasks_;
  const std::string folder_;
  bool loading_ = false;
  bool folderMade_ = false;
  FileState fileState_ = FileState::Ours;
  // Why the file was left alone, as the user was told.
  std::string leftAloneText_;
  // The file at ListPath() holds what was not read: it goes aside first.
  bool setAsideNeeded_ = false;
  std::string setAsidePath_;
  // The failure the user was told of last; none since the last save. Only
  // while it is none (and the file is ours) does the file hold the queue.
  SystemError reportedFailure_ = kSucceeded;
};
