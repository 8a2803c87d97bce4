#include "startup/start_with_windows.h"

#include "process/image_name.h"
#include "startup/start_arguments.h"

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kProgramExtension = ".exe";

bool EndsWord(std::string_view text, std::size_t end) {
  return end == text.size() || kBlanks.find(text[end]) != std::string_view::npos;
}

}  // namespace

std::string RunCommandFor(const std::string& programFile) {
  return "\"" + programFile + "\" " + kTrayArgument;
}

std::string_view ProgramOfRunCommand(std::string_view command) {
  const std::size_t start = command.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) return {};
  command.remove_prefix(start);
  if (command.front() == '"') {
    command.remove_prefix(1);
    return command.substr(0, command.find('"'));
  }
  const std::size_t extension = kProgramExtension.size();
  for (std::size_t end = extension; end <= command.size(); ++end) {
    if (SameImageName(command.substr(end - extension, extension), kProgramExtension) &&
        EndsWord(command, end)) {
      return command.substr(0, end);
    }
  }
  return command.substr(0, command.find_first_of(kBlanks));
}

RunEntry ClassifyRunEntry(const std::optional<std::string>& command, std::string_view programFile) {
  if (!command) return RunEntry::Absent;
  const std::string_view program = ProgramOfRunCommand(*command);
  if (SameImageName(program, programFile)) return RunEntry::ThisProgram;
  if (SameImageName(FileNamePart(program), FileNamePart(programFile))) {
    return RunEntry::ThisProgramElsewhere;
  }
  return RunEntry::OtherProgram;
}

bool StartWithWindows::On() const {
  return ClassifyRunEntry(registry_.Read(kRunValueName), programFile_) == RunEntry::ThisProgram;
}

// A refusal is not told: the menu's check mark shows what the registry holds.
void StartWithWindows::Toggle() {
  if (On()) {
    (void)registry_.Remove(kRunValueName);
  } else {
    (void)registry_.Write(kRunValueName, RunCommandFor(programFile_));
  }
}

void StartWithWindows::FollowProgramFile() {
  const std::optional<std::string> command = registry_.Read(kRunValueName);
  const RunEntry entry = ClassifyRunEntry(command, programFile_);
  if (entry == RunEntry::ThisProgramElsewhere) {
    if (files_.Exists(std::string(ProgramOfRunCommand(*command))) ||
        files_.KindOfDrive(programFile_) != DriveKind::Fixed) {
      return;
    }
  } else if (entry != RunEntry::ThisProgram) {
    return;
  }
  const std::string wanted = RunCommandFor(programFile_);
  if (*command != wanted) (void)registry_.Write(kRunValueName, wanted);
}
