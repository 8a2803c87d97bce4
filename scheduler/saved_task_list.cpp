#include "scheduler/saved_task_list.h"

#include "platform/whole_file_write.h"
#include "scheduler/task_file_format.h"

namespace {

// Names taken by earlier lists set aside in the same second are skipped; so
// many in one second mean something else is wrong.
constexpr int kSetAsideAttempts = 100;
constexpr SystemError kFileExists = 80;

std::string LostText(const ProfileFiles::Contents& contents, const TaskFileReading& reading) {
  const std::string count = std::to_string(reading.unreadLines);
  if (contents.outcome != ProfileFiles::Contents::Outcome::Read ||
      reading.outcome == TaskFileReading::Outcome::NotATaskList) {
    return "任务列表文件无法读取";
  }
  if (reading.outcome == TaskFileReading::Outcome::NewerFormat) {
    return "任务列表由更高版本的程序保存，其中 " + count + " 个任务无法读取";
  }
  return "有 " + count + " 个任务无法读取";
}

}  // namespace

std::string TaskListFolder(const std::string& roamingAppData) {
  return roamingAppData.empty() ? std::string() : roamingAppData + "\\Dusk";
}

std::string SetAsideFileName(const CalendarTime& at, int attempt) {
  std::string fileName = "tasks.bad-";
  AppendZeroPadded(fileName, at.year, 4);
  AppendZeroPadded(fileName, at.month, 2);
  AppendZeroPadded(fileName, at.day, 2);
  fileName += '-';
  AppendZeroPadded(fileName, at.hour, 2);
  AppendZeroPadded(fileName, at.minute, 2);
  AppendZeroPadded(fileName, at.second, 2);
  if (attempt > 1) {
    fileName += '-';
    fileName += std::to_string(attempt);
  }
  fileName += ".txt";
  return fileName;
}

std::string SavedTaskList::LoadInto(TaskListing& tasks) {
  if (folder_.empty()) return {};
  const ProfileFiles::Contents contents = files_.ReadWhole(ListPath());
  if (contents.outcome == ProfileFiles::Contents::Outcome::Missing) return {};
  TaskFileReading reading;
  if (contents.outcome == ProfileFiles::Contents::Outcome::Read) {
    reading = ReadTaskFile(contents.bytes);
  } else {
    reading.outcome = TaskFileReading::Outcome::NotATaskList;
  }
  std::string report = LostText(contents, reading);
  // The queue is told, as every observer must be; this one knows it is the file.
  loading_ = true;
  tasks.AddAll(std::move(reading.tasks));
  loading_ = false;
  if (reading.outcome == TaskFileReading::Outcome::Whole) return {};

  // What was read is written back at once, the original set aside first: the
  // next start finds the same tasks even if nothing changes before it.
  setAsideNeeded_ = true;
  const SystemError saved = Save(tasks.Queue());
  if (setAsideNeeded_) {
    report += "，原文件未能另存，仍在 " + ListPath();
  } else {
    report += "，原文件已保存为 " + setAsidePath_;
  }
  if (saved != kSucceeded) {
    // Told here, with the rest: a balloon of its own would be gone at once.
    reportedFailure_ = saved;
    report += "\r\n" + SaveFailureText(saved);
  }
  return report;
}

void SavedTaskList::QueueChanged(const TaskQueue& queue) {
  if (loading_) return;
  Report(Save(queue));
}

bool SavedTaskList::SaveIfBehind(const TaskQueue& queue) {
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
  // Removed by someone since it was read: nothing left to keep.
  if (!files_.Exists(ListPath())) {
    setAsideNeeded_ = false;
    return kSucceeded;
  }
  const CalendarTime now = DecodeDateTime(clock_.Now());
  for (int attempt = 1; attempt <= kSetAsideAttempts; ++attempt) {
    const std::string path = folder_ + "\\" + SetAsideFileName(now, attempt);
    if (files_.Exists(path)) continue;
    if (const SystemError error = files_.MoveToNewName(ListPath(), path); error != kSucceeded) {
      return error;
    }
    setAsideNeeded_ = false;
    setAsidePath_ = path;
    return kSucceeded;
  }
  return kFileExists;
}

std::string SavedTaskList::SaveFailureText(SystemError error) const {
  return "无法保存任务列表：" + messages_.Describe(error) +
         "\r\n任务仍在程序中，下次修改任务时会再次保存。";
}

void SavedTaskList::Report(SystemError error) {
  if (error == kSucceeded) {
    reportedFailure_ = kSucceeded;
    return;
  }
  if (error == reportedFailure_) return;
  reportedFailure_ = error;
  trayIcon_.ShowBalloonHint(balloonTitle_, SaveFailureText(error));
}
