#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/profile_files.h"
#include "platform/system_error.h"
#include "scheduler/queue_observer.h"
#include "scheduler/task_listing.h"
#include "widgets/tray_icon.h"

// The folder of the program's files in the user's roaming profile; empty when
// the system names no such folder.
[[nodiscard]] std::string TaskListFolder(const std::string& roamingAppData);
// "tasks.bad-20261210-233005.txt" for a list that could not be read at that moment.
[[nodiscard]] std::string SetAsideFileName(const CalendarTime& at, int attempt);

// The task list kept in the user's profile (tasks.txt in TaskListFolder),
// written whole after every change of the queue and read back at start-up.
// A file it cannot read wholly is renamed aside, never deleted or written
// over; until that rename succeeds no save replaces it. A save that fails
// keeps the list in memory, says why in one balloon, and is tried again at
// the next change; the balloon comes again only after a save succeeded or
// for another reason.
class SavedTaskList : public QueueObserver {
 public:
  SavedTaskList(ProfileFiles& files, const SystemMessages& messages, TrayIcon& trayIcon,
                const Clock& clock, std::string folder, std::string balloonTitle)
      : files_(files),
        messages_(messages),
        trayIcon_(trayIcon),
        clock_(clock),
        folder_(std::move(folder)),
        balloonTitle_(std::move(balloonTitle)) {}

  [[nodiscard]] std::string ListPath() const { return folder_ + "\\tasks.txt"; }

  // Puts the saved tasks into the list, without writing them back unless part
  // of the file could not be read. What the user must hear of (tasks that
  // could not be read, where the file went); empty when nothing was lost.
  [[nodiscard]] std::string LoadInto(TaskListing& tasks);

  void QueueChanged(const TaskQueue& queue) override;

  // Whether the file holds the queue as it is now; when the last save failed,
  // tries once more first.
  [[nodiscard]] bool SaveIfBehind(const TaskQueue& queue);

 private:
  [[nodiscard]] SystemError Save(const TaskQueue& queue);
  [[nodiscard]] SystemError SetAside();
  [[nodiscard]] std::string SaveFailureText(SystemError error) const;
  void Report(SystemError error);

  ProfileFiles& files_;
  const SystemMessages& messages_;
  TrayIcon& trayIcon_;
  const Clock& clock_;
  const std::string folder_;
  const std::string balloonTitle_;
  bool loading_ = false;
  bool folderMade_ = false;
  // The file at ListPath() holds what was not read: it goes aside first.
  bool setAsideNeeded_ = false;
  std::string setAsidePath_;
  // The failure the user was told of last; none since the last save. Only
  // while it is none does the file hold the queue.
  SystemError reportedFailure_ = kSucceeded;
};
