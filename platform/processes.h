#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/interface.h"

// An icon the system handed out (from a program file); 0 is none.
using IconHandle = unsigned long long;

// The running processes as the close-program task and the wait for a program's
// end see them: the system's snapshot, their executables, their top-level
// windows and icons, ending one of them and waiting for one to end. Every failure reads as "nothing
// there": no entries, an empty path or title, no icon, not opened, not ended.
class Processes : public PlatformInterface {
 public:
  struct SnapshotEntry {
    std::uint32_t processId = 0;
    std::string exeFile;  // the record's image name as the system wrote it, sometimes a full path
  };

  struct TopLevelWindow {
    WindowHandle window = 0;
    std::uint32_t processId = 0;
    bool visible = false;
    bool enabled = false;
    // Shown with a button of its own on the taskbar: an open program, as the
    // user sees it (not the shell's desktop or taskbar, a tool palette or an
    // owned dialog).
    bool onTaskbar = false;
  };

  // A title is read into 255 UTF-16 units, so it keeps at most 254.
  static constexpr std::size_t kMaxTitleUnits = 254;

  // One walk of the system's process snapshot, in its order; empty when no
  // snapshot could be taken.
  [[nodiscard]] virtual std::vector<SnapshotEntry> Snapshot() = 0;
  [[nodiscard]] virtual std::uint32_t CurrentProcessId() const = 0;
  // The full path of the process's executable; empty when the process cannot
  // be opened or the path read.
  [[nodiscard]] virtual std::string ExecutablePath(std::uint32_t processId) = 0;
  // When the system created the process, as WatchedProcess::StartTime tells
  // it; 0 when the process cannot be opened to read its times, or they cannot
  // be read. It tells a process from a later one that gets the same id.
  [[nodiscard]] virtual std::uint64_t StartTime(std::uint32_t processId) = 0;

  // One enumeration of the top-level windows, the top of the stacking order first.
  [[nodiscard]] virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;
  // Empty when the window has no title (or is gone).
  [[nodiscard]] virtual std::string WindowTitle(WindowHandle window) = 0;

  // How many icons the file holds; 0 for a file without icons or no file.
  [[nodiscard]] virtual unsigned IconCount(const std::string& path) = 0;
  // The file's first icon, owned by the caller (ReleaseIcon); 0 when none.
  [[nodiscard]] virtual IconHandle FirstIcon(const std::string& path) = 0;
  virtual void ReleaseIcon(IconHandle icon) = 0;

  // A process held open to be ended. A process id may pass to a new process
  // once the old one ends, so everything asked before the end is asked
  // through the one handle that ends it.
  class OpenedProcess : public PlatformInterface {
   public:
    // The full path of its executable; empty when it cannot be read.
    [[nodiscard]] virtual std::string ImagePath() = 0;
    // Whether the system itself marks it critical (its end would stop the
    // system); none when that cannot be told.
    [[nodiscard]] virtual std::optional<bool> IsMarkedCritical() = 0;
    // Ends it with exit code 0; true when the system took the request.
    virtual bool Terminate() = 0;
  };

  // Opens the process with the rights to end it and to read its image name
  // and critical mark, nothing more; none when it cannot be opened so.
  [[nodiscard]] virtual std::unique_ptr<OpenedProcess> OpenToEnd(std::uint32_t processId) = 0;

  // A process held open to be told when it ends. The handle keeps the process
  // apart from a later one that gets the same id.
  class WatchedProcess : public PlatformInterface {
   public:
    // A wait that does not wait: true once the process has ended.
    [[nodiscard]] virtual bool HasEnded() = 0;
    // When the system created it, in 100-nanosecond units since 1601; 0 when
    // that cannot be read.
    [[nodiscard]] virtual std::uint64_t StartTime() = 0;
  };

  // Opens the process with the rights to wait for it and to read its times,
  // nothing more; none when it cannot be opened so.
  [[nodiscard]] virtual std::unique_ptr<WatchedProcess> OpenToWatch(std::uint32_t processId) = 0;
  // Which of these processes (all opened by this object) have ended, each as
  // HasEnded tells. A system that can wait for many at once is asked once for
  // many while none has ended.
  [[nodiscard]] virtual std::vector<bool> WhichEnded(
      const std::vector<WatchedProcess*>& watched) = 0;
};
