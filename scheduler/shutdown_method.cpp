#include "scheduler/shutdown_method.h"

#include "language/language.h"
#include "platform/utf16.h"

namespace {

// The system's values.
constexpr unsigned kLogOff = 0x00;       // EWX_LOGOFF
constexpr unsigned kShutDown = 0x01;     // EWX_SHUTDOWN
constexpr unsigned kReboot = 0x02;       // EWX_REBOOT
constexpr unsigned kForce = 0x04;        // EWX_FORCE
constexpr unsigned kForceIfHung = 0x10;  // EWX_FORCEIFHUNG

// Names longer than this are cut, at a whole character, and end in "…".
constexpr std::size_t kLongestName = 16;
// How many programs the line names before it only counts them.
constexpr std::size_t kNamedPrograms = 2;

std::string ShortName(const std::string& name) {
  const std::string cut = CutToUtf16Units(name, kLongestName);
  if (cut.size() == name.size()) return name;
  return CutToUtf16Units(name, kLongestName - 1) + "…";
}

}  // namespace

std::string ShutdownMethodText(ShutdownMethod method) {
  switch (method) {
    case ShutdownMethod::ForceAll:
      return std::string(Text(TextId::ShutdownMethodForceAll));
    case ShutdownMethod::ForceHung:
      return std::string(Text(TextId::ShutdownMethodForceHung));
    case ShutdownMethod::AskPrograms:
      return std::string(Text(TextId::ShutdownMethodAskPrograms));
  }
  return {};
}

const char* ShutdownMethodWord(ShutdownMethod method) {
  switch (method) {
    case ShutdownMethod::ForceAll:
      return "force";
    case ShutdownMethod::ForceHung:
      return "force-if-hung";
    case ShutdownMethod::AskPrograms:
      return "ask";
  }
  return "";
}

std::optional<ShutdownMethod> ShutdownMethodFromWord(std::string_view word) {
  for (ShutdownMethod method : kShutdownMethods) {
    if (word == ShutdownMethodWord(method)) return method;
  }
  return std::nullopt;
}

unsigned ExitFlags(ShutdownMethod method, TaskKind kind) {
  // A forced shut-down ends hung programs at once as well; a forced log-off has never been
  // asked for: it lets programs answer, as it always has.
  const bool shutDown = kind == TaskKind::TurnOff;
  const unsigned exit = shutDown ? kShutDown : kind == TaskKind::Restart ? kReboot : kLogOff;
  switch (method) {
    case ShutdownMethod::ForceAll:
      if (kind == TaskKind::LogOff) return exit;
      return exit | kForce | (shutDown ? kForceIfHung : 0);
    case ShutdownMethod::ForceHung:
      return exit | kForceIfHung;
    case ShutdownMethod::AskPrograms:
      return exit;
  }
  return exit;
}

std::string ClosingProgramsText(const std::vector<std::string>& names, ShutdownMethod method) {
  if (names.empty()) return {};
  std::string named;
  std::size_t namedCount = 0;
  for (const std::string& name : names) {
    if (name.empty() || namedCount == kNamedPrograms) continue;
    if (namedCount > 0) named += Text(TextId::ClosingNameSeparator);
    named += ShortName(name);
    ++namedCount;
  }
  const std::string count = std::to_string(names.size());
  // Every program unnamed: only the count.
  const std::string programs = namedCount == names.size() ? named
                               : namedCount > 0
                                   ? FormatText(TextId::ClosingNamedAndCount, {named, count})
                                   : FormatText(TextId::ClosingCountOnly, {count});
  return FormatText(
      method == ShutdownMethod::ForceAll ? TextId::ClosingProgramsUnsaved : TextId::ClosingPrograms,
      {programs});
}
