#include "process/kill_by_name.h"

#include <string_view>

#include "process/image_name.h"

namespace {

constexpr std::uint32_t kIdleProcessId = 0;
constexpr std::uint32_t kSystemProcessId = 4;
constexpr std::string_view kCriticalImageNames[] = {
    "System", "smss.exe", "csrss.exe", "wininit.exe", "winlogon.exe", "services.exe", "lsass.exe",
};

}  // namespace

bool IsCriticalProcess(const Processes::SnapshotEntry& entry, Processes& processes,
                       const CodePage& codePage) {
  if (entry.processId == kIdleProcessId || entry.processId == kSystemProcessId) return true;
  const std::string_view fileName = FileNamePart(entry.exeFile, codePage);
  for (const std::string_view critical : kCriticalImageNames) {
    if (SameImageName(fileName, critical, codePage)) return true;
  }
  return processes.IsMarkedCritical(entry.processId);
}

void KillProcessByName(Processes& processes, const CodePage& codePage, const std::string& name) {
  if (name.empty()) return;
  const std::uint32_t self = processes.CurrentProcessId();
  bool endSelf = false;
  for (const Processes::SnapshotEntry& entry : processes.Snapshot()) {
    if (!ImageNameMatches(entry.exeFile, name, codePage)) continue;
    if (IsCriticalProcess(entry, processes, codePage)) continue;
    if (entry.processId == self) {
      endSelf = true;
      continue;
    }
    // A process that cannot be opened or refuses to end stays: nobody is told.
    (void)processes.Terminate(entry.processId);
  }
  // Ending ourselves ends the walk, so it comes after every other match.
  if (endSelf) (void)processes.Terminate(self);
}
