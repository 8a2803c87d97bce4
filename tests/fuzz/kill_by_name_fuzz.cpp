// The close-program task ends processes by a name the user typed, among the
// image names the system's snapshot holds: any bytes on both sides.
#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "process/image_name.h"
#include "process/kill_by_name.h"
#include "tests/fakes/fake_processes.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// For ASCII texts: the whole image name, or what follows its last "\" or ":".
bool AsciiMatches(std::string_view exeFile, std::string_view name) {
  const std::string exe = Lower(exeFile);
  const std::string wanted = Lower(name);
  if (exe == wanted) return true;
  if (wanted.find_first_of("\\:") != std::string::npos) return false;
  return EndsWith(exe, "\\" + wanted) || EndsWith(exe, ":" + wanted);
}

// For ASCII texts: what follows the last "\" or ":", without case.
std::string AsciiFileName(std::string_view exeFile) {
  const std::size_t separator = exeFile.find_last_of("\\:");
  return Lower(separator == std::string_view::npos ? exeFile : exeFile.substr(separator + 1));
}

bool AsciiCritical(std::string_view exeFile) {
  for (const char* critical : {"system", "smss.exe", "csrss.exe", "wininit.exe", "winlogon.exe",
                               "services.exe", "lsass.exe"}) {
    if (AsciiMatches(exeFile, critical)) return true;
  }
  return false;
}

void CheckImageNames(std::string_view a, std::string_view b) {
  const fuzz::ExactBytes exactA(a);
  const fuzz::ExactBytes exactB(b);
  const std::string_view x = exactA.View();
  const std::string_view y = exactB.View();
  const std::string_view part = FileNamePart(x);
  FUZZ_CHECK(part.data() >= x.data() && part.data() + part.size() == x.data() + x.size());
  FUZZ_CHECK(SameImageName(x, x));
  FUZZ_CHECK(SameImageName(x, y) == SameImageName(y, x));
  FUZZ_CHECK(ImageNameMatches(x, part));
  if (IsAscii(x)) {
    FUZZ_CHECK(SameImageName(x, Lower(x)));
    if (IsAscii(y)) FUZZ_CHECK(ImageNameMatches(x, y) == AsciiMatches(x, y));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader input(data, size);
  const std::uint8_t selfIndex = input.Byte();
  const std::string name(input.Field());

  // Process ids are unique; 0 and 4 (idle, System) and our own come up too.
  FakeProcesses processes;
  std::set<std::uint32_t> ids;
  while (!input.Empty() && processes.processes.size() < 64) {
    const std::uint8_t flags = input.Byte();
    std::uint32_t id = flags & 0x1F;
    if (id == 31) id = processes.currentProcessId;
    if (!ids.insert(id).second) id = 1000 + 4 * static_cast<std::uint32_t>(ids.size());
    ids.insert(id);
    FakeProcesses::Process& process =
        processes.processes.emplace_back(id, std::string(input.Field()));
    process.markedCritical = (flags & 0x20) != 0;
    process.refusesToEnd = (flags & 0x40) != 0;
    // What its handle says once opened: the id may name another program by then.
    if (flags & 0x80) {
      const std::uint8_t opened = input.Byte();
      process.cannotBeOpened = (opened & 1) != 0;
      process.criticalUnknown = (opened & 2) != 0;
      process.imageUnreadable = (opened & 4) != 0;
      if (opened & 8) process.imageWhenOpened = std::string(input.Field());
    }
    if (selfIndex == processes.processes.size() - 1) processes.currentProcessId = id;
  }

  for (const FakeProcesses::Process& process : processes.processes) {
    CheckImageNames(process.exeFile, name);
  }

  KillProcessByName(processes, name);
  const std::vector<std::uint32_t>& ended = processes.terminations;
  if (name.empty()) FUZZ_CHECK(ended.empty());
  FUZZ_CHECK(std::set<std::uint32_t>(ended.begin(), ended.end()).size() == ended.size());
  for (std::size_t i = 0; i < ended.size(); ++i) {
    FUZZ_CHECK(ended[i] != 0 && ended[i] != 4);
    // Ending ourselves ends the walk: it must come last.
    if (ended[i] == processes.currentProcessId) FUZZ_CHECK(i + 1 == ended.size());
  }
  const std::vector<std::uint32_t>& opened = processes.opensToEnd;
  FUZZ_CHECK(std::set<std::uint32_t>(opened.begin(), opened.end()).size() == opened.size());
  for (const FakeProcesses::Process& process : processes.processes) {
    const bool wasEnded = std::count(ended.begin(), ended.end(), process.processId) != 0;
    const std::string image =
        process.imageWhenOpened.empty() ? process.exeFile : process.imageWhenOpened;
    if (process.markedCritical || process.criticalUnknown || process.cannotBeOpened ||
        process.imageUnreadable) {
      FUZZ_CHECK(!wasEnded);
    }
    if (wasEnded) {
      FUZZ_CHECK(ImageNameMatches(process.exeFile, name));
      FUZZ_CHECK(SameImageName(FileNamePart(image), FileNamePart(process.exeFile)));
    }
    if (IsAscii(process.exeFile) && IsAscii(image) && IsAscii(name) && !name.empty()) {
      const bool critical = process.processId == 0 || process.processId == 4 ||
                            process.markedCritical || process.criticalUnknown ||
                            AsciiCritical(process.exeFile);
      const bool stillTheSame = !process.cannotBeOpened && !process.imageUnreadable &&
                                !AsciiFileName(image).empty() &&
                                AsciiFileName(image) == AsciiFileName(process.exeFile);
      FUZZ_CHECK(wasEnded == (AsciiMatches(process.exeFile, name) && !critical && stillTheSame));
    }
  }
  return 0;
}
