// What the program reads at start: its command line, and its Run value, which
// any program of the user may have written: any bytes in both, and in the
// program's own path.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "startup/start_arguments.h"
#include "startup/start_with_windows.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_run_at_logon.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool Inside(std::string_view part, std::string_view whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader input(data, size);
  const std::string_view commandBytes = input.Field();
  const std::string programFile(input.Rest());
  const fuzz::ExactBytes command(commandBytes);

  (void)ParseStartArguments(command.View());
  const std::string_view program = ProgramOfRunCommand(command.View());
  FUZZ_CHECK(Inside(program, command.View()));
  (void)ClassifyRunEntry(std::string(command.View()), programFile);

  // What the program writes names it, whatever its path holds but a quote.
  if (programFile.find('"') == std::string::npos) {
    const std::string written = RunCommandFor(programFile);
    FUZZ_CHECK(ProgramOfRunCommand(written) == programFile);
    FUZZ_CHECK(ParseStartArguments(written).inTray);
    FUZZ_CHECK(ClassifyRunEntry(written, programFile) == RunEntry::ThisProgram);
  }

  // Start-up leaves the value as it was or names this program in its own form,
  // and a second start-up finds nothing to change: whether the program the
  // value named is still there, and whatever drive this copy lies on.
  for (const bool namedProgramThere : {false, true}) {
    for (const DriveKind drive : {DriveKind::Fixed, DriveKind::Removable}) {
      FakeRunAtLogon registry;
      registry.values[kRunValueName] = std::string(command.View());
      FakeFiles files;
      files.programFilePath = programFile;
      files.driveKinds[programFile.substr(0, 1)] = drive;
      if (namedProgramThere) files.contents[std::string(ProgramOfRunCommand(command.View()))] = "";
      StartWithWindows startWithWindows(registry, files);
      startWithWindows.FollowProgramFile();
      const std::optional<std::string> after = registry.Read(kRunValueName);
      FUZZ_CHECK(after == std::string(command.View()) || after == RunCommandFor(programFile));
      const std::size_t writes = registry.calls.size();
      startWithWindows.FollowProgramFile();
      FUZZ_CHECK(registry.calls.size() == writes);
    }
  }
  return 0;
}
