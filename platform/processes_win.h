#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include "platform/processes.h"
#include "platform/unique_handle_win.h"

// The snapshot functions, the path reader and the critical-process query are
// looked up at run time, on first use: a system without them still runs the
// program, which then sees no processes or no paths, and ends none.
class Win32Processes : public Processes {
 public:
  // Icons are extracted on behalf of this module instance.
  explicit Win32Processes(HINSTANCE instance) : instance_(instance) {}

  [[nodiscard]] std::vector<SnapshotEntry> Snapshot() override;
  [[nodiscard]] std::uint32_t CurrentProcessId() const override;
  [[nodiscard]] std::string ExecutablePath(std::uint32_t processId) override;
  // Opened to read its times and nothing more.
  [[nodiscard]] std::uint64_t StartTime(std::uint32_t processId) override;
  [[nodiscard]] std::vector<TopLevelWindow> TopLevelWindows() override;
  [[nodiscard]] std::string WindowTitle(WindowHandle window) override;
  [[nodiscard]] unsigned IconCount(const std::string& path) override;
  [[nodiscard]] IconHandle FirstIcon(const std::string& path) override;
  void ReleaseIcon(IconHandle icon) override;
  [[nodiscard]] std::unique_ptr<OpenedProcess> OpenToEnd(std::uint32_t processId) override;
  [[nodiscard]] std::unique_ptr<WatchedProcess> OpenToWatch(std::uint32_t processId) override;
  // One zero-timeout wait for up to 64 handles; the handles one by one only
  // when that wait says one has ended.
  [[nodiscard]] std::vector<bool> WhichEnded(const std::vector<WatchedProcess*>& watched) override;

 private:
  struct LibraryDeleter {
    void operator()(HMODULE module) const { FreeLibrary(module); }
  };
  using CreateSnapshotFunction = HANDLE(WINAPI*)(DWORD flags, DWORD processId);
  using WalkFunction = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32W* entry);
  using ModulePathFunction = DWORD(WINAPI*)(HANDLE process, HMODULE module, LPWSTR path,
                                            DWORD size);
  using QueryProcessFunction = LONG(WINAPI*)(HANDLE process, int informationClass, void* data,
                                             ULONG size, ULONG* returned);

  class OpenedWin32Process;
  class WatchedWin32Process;

  void BindSnapshot();
  void BindModulePath();
  void BindQuery();

  HINSTANCE instance_;
  bool snapshotBound_ = false;
  CreateSnapshotFunction createSnapshot_ = nullptr;
  WalkFunction firstEntry_ = nullptr;
  WalkFunction nextEntry_ = nullptr;
  bool modulePathBound_ = false;
  UniqueHandle<HMODULE, LibraryDeleter> psapi_;
  ModulePathFunction modulePath_ = nullptr;
  bool queryBound_ = false;
  QueryProcessFunction queryProcess_ = nullptr;
};
