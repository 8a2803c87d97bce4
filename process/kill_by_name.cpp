#include "process/kill_by_name.h"

#include <memory>
#include <string_view>

#include "process/image_name.h"

namespace {

constexpr std::uint32_t kIdleProcessId = 0;
constexpr std::uint32_t kSystemProcessId = 4;
constexpr std::string_view kCriticalImageNames[] = {
    "System", "smss.exe", "csrss.exe", "wininit.exe", "winlogon.exe", "services.exe", "lsass.exe",
};

bool IsCriticalByIdOrName(const Processes::SnapshotEntry& entry, const CodePage& codePage) {
  if (entry.processId == kIdleProcessId || entry.processId == kSystemProcessId) return true;
  const std::string_view fileName = FileNamePart(entry.exeFile, codePage);
  for (const std::string_view critical : kCriticalImageNames) {
    if (SameImageName(fileName, critical, codePage)) return true;
  }
  return false;
}

// Ends the snapshot's process when its id still names the same image and the
// system does not hold it critical.
void EndIfStillTheSame(Processes& processes, const Processes::SnapshotEntry& entry,
                       const CodePage& codePage) {
  const std::unique_ptr<Processes::OpenedProcess> process = processes.OpenToEnd(entry.processId);
  if (!process) return;
  const std::string image = process->ImagePath();
  const std::string_view imageName = FileNamePart(image, codePage);
  if (imageName.empty() ||
      !SameImageName(imageName, FileNamePart(entry.exeFile, codePage), codePage)) {
    return;
  }
  // A process the system cannot tell about may be one whose end stops it.
  if (process->IsMarkedCritical().value_or(true)) return;
  // A process that refuses to end stays: nobody is told.
  (void)process->Terminate();
}

}  // namespace

void KillProcessByName(Processes& processes, const CodePage& codePage, const std::string& name) {
  if (name.empty()) return;
  const std::uint32_t self = processes.CurrentProcessId();
  const Processes::SnapshotEntry* selfEntry = nullptr;
  const std::vector<Processes::SnapshotEntry> snapshot = processes.Snapshot();
  for (const Processes::SnapshotEntry& entry : snapshot) {
    if (!ImageNameMatches(entry.exeFile, name, codePage)) continue;
    if (IsCriticalByIdOrName(entry, codePage)) continue;
    if (entry.processId == self) {
      selfEntry = &entry;
      continue;
    }
    EndIfStillTheSame(processes, entry, codePage);
  }
  // Ending ourselves ends the walk, so it comes after every other match.
  if (selfEntry) EndIfStillTheSame(processes, *selfEntry, codePage);
}
