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

bool IsCriticalByIdOrName(const Processes::SnapshotEntry& entry) {
  if (entry.processId == kIdleProcessId || entry.processId == kSystemProcessId) return true;
  const std::string_view fileName = FileNamePart(entry.exeFile);
  for (const std::string_view critical : kCriticalImageNames) {
    if (SameImageName(fileName, critical)) return true;
  }
  return false;
}

enum class Ending { Ended, Refused, Gone };

// Ends the snapshot's process when its id still names the same image and the
// system does not hold it critical.
Ending EndIfStillTheSame(Processes& processes, const Processes::SnapshotEntry& entry) {
  const std::unique_ptr<Processes::OpenedProcess> process = processes.OpenToEnd(entry.processId);
  if (!process) return Ending::Refused;
  const std::string image = process->ImagePath();
  const std::string_view imageName = FileNamePart(image);
  if (imageName.empty()) return Ending::Refused;
  // The id passed to another program: the one listed has ended by itself.
  if (!SameImageName(imageName, FileNamePart(entry.exeFile))) {
    return Ending::Gone;
  }
  // A process the system cannot tell about may be one whose end stops it.
  if (process->IsMarkedCritical().value_or(true)) return Ending::Refused;
  return process->Terminate() ? Ending::Ended : Ending::Refused;
}

void Count(Ending ending, KillResult& result) {
  if (ending == Ending::Gone) return;
  ++result.found;
  if (ending == Ending::Ended) ++result.ended;
}

}  // namespace

KillResult KillProcessByName(Processes& processes, const std::string& name) {
  KillResult result;
  if (name.empty()) return result;
  const std::uint32_t self = processes.CurrentProcessId();
  const Processes::SnapshotEntry* selfEntry = nullptr;
  const std::vector<Processes::SnapshotEntry> snapshot = processes.Snapshot();
  for (const Processes::SnapshotEntry& entry : snapshot) {
    if (!ImageNameMatches(entry.exeFile, name)) continue;
    if (IsCriticalByIdOrName(entry)) continue;
    if (entry.processId == self) {
      selfEntry = &entry;
      continue;
    }
    Count(EndIfStillTheSame(processes, entry), result);
  }
  // Ending ourselves ends the walk, so it comes after every other match.
  if (selfEntry) Count(EndIfStillTheSame(processes, *selfEntry), result);
  return result;
}
