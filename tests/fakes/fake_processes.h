#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/processes.h"

// Running processes as the test writes them down: the snapshot in its order,
// the windows top first, the icons of each file. It records every question
// it is asked, and every icon it hands out until it is released.
class FakeProcesses : public Processes {
 public:
  struct Process {
    Process(std::uint32_t processId, std::string exeFile, std::string path = {})
        : processId(processId), exeFile(std::move(exeFile)), path(std::move(path)) {}
    std::uint32_t processId;
    std::string exeFile;
    std::string path;  // empty: the process cannot be opened for its path
    // Once opened to be ended: what its handle says of it.
    bool cannotBeOpened = false;
    std::string imageWhenOpened;  // empty: `path`, or `exeFile` when that is empty too
    bool imageUnreadable = false;
    bool markedCritical = false;
    bool criticalUnknown = false;  // the system cannot tell whether it is critical
    bool refusesToEnd = false;
    // What a watching handle and the start-time read tell of it (0: not to be
    // read); a process the test ends is taken out of `processes`, and one that
    // comes later with the same id has another start time.
    std::uint64_t startTime = 1;
  };
  struct Window {
    Window(WindowHandle window, std::uint32_t processId, std::string title, bool visible = true,
           bool enabled = true)
        : window(window),
          processId(processId),
          title(std::move(title)),
          visible(visible),
          enabled(enabled) {}
    WindowHandle window;
    std::uint32_t processId;
    std::string title;
    bool visible;
    bool enabled;
    bool onTaskbar = true;  // when visible
  };

  [[nodiscard]] std::vector<SnapshotEntry> Snapshot() override;
  [[nodiscard]] std::uint32_t CurrentProcessId() const override { return currentProcessId; }
  [[nodiscard]] std::string ExecutablePath(std::uint32_t processId) override;
  [[nodiscard]] std::uint64_t StartTime(std::uint32_t processId) override;
  [[nodiscard]] std::vector<TopLevelWindow> TopLevelWindows() override;
  [[nodiscard]] std::string WindowTitle(WindowHandle window) override;
  [[nodiscard]] unsigned IconCount(const std::string& path) override;
  [[nodiscard]] IconHandle FirstIcon(const std::string& path) override;
  void ReleaseIcon(IconHandle icon) override;
  [[nodiscard]] std::unique_ptr<OpenedProcess> OpenToEnd(std::uint32_t processId) override;
  [[nodiscard]] std::unique_ptr<WatchedProcess> OpenToWatch(std::uint32_t processId) override;
  // Asks each handle, as a system without a wait for many would.
  [[nodiscard]] std::vector<bool> WhichEnded(const std::vector<WatchedProcess*>& watched) override;

  // Takes the process out of `processes`, as its end would.
  void End(std::uint32_t processId);
  // Watching handles opened and not yet given back.
  [[nodiscard]] int OpenWatches() const { return openWatches_; }

  // The file an icon handed out came from; empty for none.
  [[nodiscard]] std::string IconFile(IconHandle icon) const;
  [[nodiscard]] std::size_t IconReads() const {
    return iconCountReads.size() + firstIconReads.size();
  }
  // Drops the record of the questions asked and of the icons released, with
  // their memory: a long run keeps only what the system still holds.
  void ForgetCalls();

  // What the system holds.
  std::vector<Process> processes;
  std::vector<Window> windows;
  std::map<std::string, unsigned> iconCounts;  // by path; a path not here has no icons
  std::uint32_t currentProcessId = 1000;
  bool snapshotFails = false;

  // What it was asked.
  int snapshots = 0;
  int windowEnumerations = 0;
  std::vector<std::uint32_t> pathReads;
  std::vector<WindowHandle> titleReads;
  std::vector<std::string> iconCountReads;
  std::vector<std::string> firstIconReads;
  std::set<IconHandle> liveIcons;
  int strayReleases = 0;  // icons released twice, or never handed out
  std::vector<std::uint32_t> opensToEnd;
  std::vector<std::uint32_t> criticalQueries;
  std::vector<std::uint32_t> terminations;  // every request, in order
  std::vector<std::uint32_t> opensToWatch;
  long long endChecks = 0;  // handles asked, one by one or in a WhichEnded

 private:
  class OpenedFake;
  class WatchedFake;

  [[nodiscard]] const Process* Find(std::uint32_t processId) const;

  int openWatches_ = 0;
  IconHandle nextIcon_ = 0x1000;
  std::map<IconHandle, std::string> iconFiles_;
};
