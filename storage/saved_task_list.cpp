#include "storage/saved_task_list.h"

#include "language/language.h"
#include "language/report_title.h"
#include "platform/whole_file_write.h"
#include "storage/set_aside.h"
#include "storage/task_file_format.h"

namespace {

using Outcome = ProfileFiles::Contents::Outcome;

}  // namespace

SavedTaskList::LoadReport SavedTaskList::Load() {
  if (folder_.empty()) return {};
  std::string text = TakeIn(ReadPatiently());
  if (fileState_ != FileState::Ours) {
    leftAloneText_ = text;
    return {std::move(text), false};
  }
  if (!setAsideNeeded_) return {};
  text = SaveWhatWasRead(std::move(text));
  return {std::move(text), !setAsideNeeded_};
}

ProfileFiles::Contents SavedTaskList::ReadPatiently() const {
  for (int tries = 1;; ++tries) {
    ProfileFiles::Contents contents = files_.ReadWhole(ListPath(), kTaskListMaxBytes);
    if (contents.outcome != Outcome::Failed || tries == kReadTries) return contents;
    clock_.Pause(kReadRetryPauseMs);
  }
}

std::string SavedTaskList::TakeIn(const ProfileFiles::Contents& contents) {
  fileState_ = FileState::Ours;
  if (contents.outcome == Outcome::Missing) return {};
  if (contents.outcome == Outcome::Failed) {
    fileState_ = FileState::Unread;
    return FormatText(TextId::TaskListUnreadable, {messages_.Describe(contents.error)});
  }
  TaskFileReading reading;
  std::string lost(Text(TextId::TaskListTooLarge));
  if (contents.outcome == Outcome::Read) {
    reading = ReadTaskFile(contents.bytes);
    lost = FormatText(TextId::TaskListTasksUnread, {std::to_string(reading.unreadLines)});
  } else {
    reading.outcome = TaskFileReading::Outcome::NotATaskList;
  }
  if (reading.outcome == TaskFileReading::Outcome::NewerFormat) {
    // Its lines may hold what this version would drop on saving them again.
    fileState_ = FileState::NewerList;
    return FormatText(TextId::TaskListNewerVersion, {std::to_string(reading.unreadLines)});
  }
  if (reading.outcome == TaskFileReading::Outcome::NotATaskList &&
      contents.outcome == Outcome::Read) {
    lost = Text(TextId::TaskListNotATaskList);
  }
  // The queue is told, as every observer must be; this one knows it is the file.
  loading_ = true;
  tasks_.AddAll(std::move(reading.tasks));
  loading_ = false;
  if (reading.outcome == TaskFileReading::Outcome::Whole) return {};
  setAsideNeeded_ = true;
  return lost;
}

std::string SavedTaskList::SaveWhatWasRead(std::string report) {
  // What was read is written back at once, the original set aside first: the
  // next start finds the same tasks even if nothing changes before it.
  const SystemError saved = Save(tasks_.Queue());
  if (setAsideNeeded_) {
    report += FormatText(TextId::TaskListNotSetAside, {ListPath()});
  } else {
    report += FormatText(TextId::TaskListSetAside, {setAsidePath_});
  }
  if (saved != kSucceeded) {
    // Told here, with the rest: a balloon of its own would be gone at once.
    reportedFailure_ = saved;
    report += "\r\n" + SaveFailureText(saved);
  }
  return report;
}

void SavedTaskList::ReadAgain() {
  // Once, with no wait: the user is at the window.
  std::string report = TakeIn(files_.ReadWhole(ListPath(), kTaskListMaxBytes));
  if (fileState_ != FileState::Ours) {
    if (report == leftAloneText_) return;  // told already
    leftAloneText_ = report;
    trayIcon_.ShowBalloonHint(ReportTitle(), report);
    return;
  }
  leftAloneText_.clear();
  // The file's tasks have joined those added meanwhile: all of them are saved.
  if (setAsideNeeded_) {
    trayIcon_.ShowBalloonHint(ReportTitle(), SaveWhatWasRead(std::move(report)));
    return;
  }
  Report(Save(tasks_.Queue()));
}

void SavedTaskList::QueueChanged(const TaskQueue& queue) {
  if (loading_) return;
  if (fileState_ != FileState::Ours) {
    ReadAgain();
    return;
  }
  Report(Save(queue));
}

bool SavedTaskList::SaveIfBehind(const TaskQueue& queue) {
  if (fileState_ != FileState::Ours) {
    ReadAgain();
    // Left alone, the file has what it had; only tasks of this run would be lost.
    if (fileState_ != FileState::Ours) return queue.Empty();
  }
  if (reportedFailure_ != kSucceeded) Report(Save(queue));
  return reportedFailure_ == kSucceeded;
}

SystemError SavedTaskList::Save(const TaskQueue& queue) {
  if (folder_.empty()) return kPathNotFound;
  if (!folderMade_) {
    if (const SystemError error = files_.CreateFolder(folder_); error != kSucceeded) return error;
    folderMade_ = true;
  }
  if (setAsideNeeded_) {
    if (const SystemError error = SetAside(); error != kSucceeded) return error;
  }
  const SystemError error =
      ReplaceWholeFile(files_, ListPath(), folder_ + "\\tasks.tmp", WriteTaskFile(queue));
  // The folder may have been removed meanwhile: made again before the next try.
  if (error != kSucceeded) folderMade_ = false;
  return error;
}

SystemError SavedTaskList::SetAside() {
  const SetAsideResult aside = SetFileAside(files_, clock_, folder_, "tasks");
  if (aside.error != kSucceeded) return aside.error;
  setAsideNeeded_ = false;
  setAsidePath_ = aside.path;
  return kSucceeded;
}

std::string SavedTaskList::SaveFailureText(SystemError error) const {
  return FormatText(TextId::TaskListNotSaved, {messages_.Describe(error)});
}

void SavedTaskList::Report(SystemError error) {
  if (error == kSucceeded) {
    reportedFailure_ = kSucceeded;
    return;
  }
  if (error == reportedFailure_) return;
  reportedFailure_ = error;
  trayIcon_.ShowBalloonHint(ReportTitle(), SaveFailureText(error));
}
