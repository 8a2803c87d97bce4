#include "tests/fakes/fake_processes.h"

#include "platform/utf16.h"
#include "tests/fakes/release_records.h"

const FakeProcesses::Process* FakeProcesses::Find(std::uint32_t processId) const {
  for (const Process& process : processes) {
    if (process.processId == processId) return &process;
  }
  return nullptr;
}

std::vector<Processes::SnapshotEntry> FakeProcesses::Snapshot() {
  ++snapshots;
  std::vector<SnapshotEntry> entries;
  if (snapshotFails) return entries;
  for (const Process& process : processes) entries.push_back({process.processId, process.exeFile});
  return entries;
}

std::string FakeProcesses::ExecutablePath(std::uint32_t processId) {
  pathReads.push_back(processId);
  const Process* process = Find(processId);
  return process ? process->path : std::string();
}

std::uint64_t FakeProcesses::StartTime(std::uint32_t processId) {
  const Process* process = Find(processId);
  return process && !process->cannotBeOpened ? process->startTime : 0;
}

std::vector<Processes::TopLevelWindow> FakeProcesses::TopLevelWindows() {
  ++windowEnumerations;
  std::vector<TopLevelWindow> list;
  list.reserve(windows.size());
  for (const Window& w : windows) {
    list.push_back({w.window, w.processId, w.visible, w.enabled, w.visible && w.onTaskbar});
  }
  return list;
}

std::string FakeProcesses::WindowTitle(WindowHandle window) {
  titleReads.push_back(window);
  for (const Window& w : windows) {
    if (w.window == window) return CutToUtf16Units(w.title, kMaxTitleUnits);
  }
  return {};
}

unsigned FakeProcesses::IconCount(const std::string& path) {
  iconCountReads.push_back(path);
  const auto found = iconCounts.find(path);
  return found == iconCounts.end() ? 0 : found->second;
}

IconHandle FakeProcesses::FirstIcon(const std::string& path) {
  firstIconReads.push_back(path);
  const auto found = iconCounts.find(path);
  if (found == iconCounts.end() || found->second == 0) return 0;
  const IconHandle icon = nextIcon_++;
  iconFiles_[icon] = path;
  liveIcons.insert(icon);
  return icon;
}

void FakeProcesses::ReleaseIcon(IconHandle icon) {
  if (liveIcons.erase(icon) == 0) ++strayReleases;
}

void FakeProcesses::ForgetCalls() {
  snapshots = 0;
  windowEnumerations = 0;
  ReleaseRecords(pathReads);
  ReleaseRecords(titleReads);
  ReleaseRecords(iconCountReads);
  ReleaseRecords(firstIconReads);
  ReleaseRecords(opensToEnd);
  ReleaseRecords(criticalQueries);
  ReleaseRecords(terminations);
  ReleaseRecords(opensToWatch);
  endChecks = 0;
  std::erase_if(iconFiles_, [&](const auto& entry) { return !liveIcons.contains(entry.first); });
}

std::string FakeProcesses::IconFile(IconHandle icon) const {
  const auto found = iconFiles_.find(icon);
  return found == iconFiles_.end() ? std::string() : found->second;
}

// Answers from the process as the fake holds it when asked, so a test may
// change it between the snapshot and the questions.
class FakeProcesses::OpenedFake : public Processes::OpenedProcess {
 public:
  OpenedFake(FakeProcesses& processes, std::uint32_t processId)
      : processes_(processes), processId_(processId) {}

  [[nodiscard]] std::string ImagePath() override {
    const Process* process = processes_.Find(processId_);
    if (!process || process->imageUnreadable) return {};
    if (!process->imageWhenOpened.empty()) return process->imageWhenOpened;
    return process->path.empty() ? process->exeFile : process->path;
  }

  [[nodiscard]] std::optional<bool> IsMarkedCritical() override {
    processes_.criticalQueries.push_back(processId_);
    const Process* process = processes_.Find(processId_);
    if (!process || process->criticalUnknown) return std::nullopt;
    return process->markedCritical;
  }

  bool Terminate() override {
    processes_.terminations.push_back(processId_);
    const Process* process = processes_.Find(processId_);
    return process && !process->refusesToEnd;
  }

 private:
  FakeProcesses& processes_;
  std::uint32_t processId_;
};

std::unique_ptr<Processes::OpenedProcess> FakeProcesses::OpenToEnd(std::uint32_t processId) {
  opensToEnd.push_back(processId);
  const Process* process = Find(processId);
  if (!process || process->cannotBeOpened) return nullptr;
  return std::make_unique<OpenedFake>(*this, processId);
}

// Bound to the process it was opened on, by id and start time: ended once no
// such process is held any more, whatever takes its id or name later.
class FakeProcesses::WatchedFake : public Processes::WatchedProcess {
 public:
  WatchedFake(FakeProcesses& processes, std::uint32_t processId, std::uint64_t startTime)
      : processes_(processes), processId_(processId), startTime_(startTime) {
    ++processes_.openWatches_;
  }
  ~WatchedFake() override { --processes_.openWatches_; }

  [[nodiscard]] bool HasEnded() override {
    ++processes_.endChecks;
    const Process* process = processes_.Find(processId_);
    return !process || process->startTime != startTime_;
  }

  [[nodiscard]] std::uint64_t StartTime() override { return startTime_; }

 private:
  FakeProcesses& processes_;
  std::uint32_t processId_;
  std::uint64_t startTime_;
};

std::unique_ptr<Processes::WatchedProcess> FakeProcesses::OpenToWatch(std::uint32_t processId) {
  opensToWatch.push_back(processId);
  const Process* process = Find(processId);
  if (!process || process->cannotBeOpened) return nullptr;
  return std::make_unique<WatchedFake>(*this, processId, process->startTime);
}

std::vector<bool> FakeProcesses::WhichEnded(const std::vector<WatchedProcess*>& watched) {
  std::vector<bool> ended;
  ended.reserve(watched.size());
  for (WatchedProcess* process : watched) ended.push_back(process->HasEnded());
  return ended;
}

void FakeProcesses::End(std::uint32_t processId) {
  std::erase_if(processes, [&](const Process& process) { return process.processId == processId; });
}
