#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/run_at_logon.h"
#include "widgets/tray_frame.h"

// The program's value among the commands run at logon.
inline constexpr char kRunValueName[] = "Dusk";

// The command that starts this program file at logon: quoted, in the tray.
[[nodiscard]] std::string RunCommandFor(const std::string& programFile);

// The program file a command starts: the quoted text at its start, or, not
// quoted, the text up to the first ".exe" that ends a word (a path may hold
// blanks), or up to the first blank.
[[nodiscard]] std::string_view ProgramOfRunCommand(std::string_view command);

enum class RunEntry {
  Absent,
  ThisProgram,           // names this program file
  ThisProgramElsewhere,  // names a file of this program's name in another place
  OtherProgram,
};

// Paths compared as Windows compares them, the ASCII letters without case.
[[nodiscard]] RunEntry ClassifyRunEntry(const std::optional<std::string>& command,
                                        std::string_view programFile);

// The tray menu's "开机时启动": on while the value starts this program file.
class StartWithWindows : public TrayFrame::Setting {
 public:
  StartWithWindows(RunAtLogon& registry, const Files& files)
      : registry_(registry), files_(files), programFile_(files.ProgramFilePath()) {}

  // Read each time: the user may change the value elsewhere.
  [[nodiscard]] bool On() const override;
  // Adds the value, or removes it.
  void Toggle() override;
  // At start-up under the program's fixed name: a value that starts this
  // program file not in the form RunCommandFor() gives is put in that form.
  // One that starts this program from where it lay before starts it from here
  // once that file is gone (moved, installed elsewhere), unless this copy lies
  // where it may not be at the next logon: a copy run from a stick or a share
  // leaves the installed one started. Off stays off.
  void FollowProgramFile();

 private:
  RunAtLogon& registry_;
  const Files& files_;
  const std::string programFile_;
};
