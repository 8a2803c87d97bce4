#include "startup/start_arguments.h"

#include <algorithm>
#include <optional>

#include "process/image_name.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsPlain(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '.';
}

std::string PercentEncoded(std::string_view text) {
  std::string encoded;
  for (const char c : text) {
    if (IsPlain(c)) {
      encoded += c;
      continue;
    }
    const auto byte = static_cast<unsigned char>(c);
    encoded += '%';
    encoded += kHexDigits[byte >> 4];
    encoded += kHexDigits[byte & 0xF];
  }
  return encoded;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// None when it is not what PercentEncoded writes.
std::optional<std::string> PercentDecoded(std::string_view encoded) {
  std::string text;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (IsPlain(encoded[i])) {
      text += encoded[i];
      continue;
    }
    if (encoded[i] != '%' || i + 2 >= encoded.size() || HexValue(encoded[i + 1]) < 0 ||
        HexValue(encoded[i + 2]) < 0) {
      return std::nullopt;
    }
    text += static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
    i += 2;
  }
  return text;
}

}  // namespace

StartArguments ParseStartArguments(std::string_view commandLine) {
  StartArguments arguments;
  constexpr std::string_view kBlanks = " \t\"";
  const std::string_view reportArgument = kLoadReportArgument;
  std::size_t at = 0;
  while ((at = commandLine.find_first_not_of(kBlanks, at)) != std::string_view::npos) {
    const std::size_t end = std::min(commandLine.find_first_of(kBlanks, at), commandLine.size());
    const std::string_view word = commandLine.substr(at, end - at);
    if (SameImageName(word, kTrayArgument)) arguments.inTray = true;
    if (SameImageName(word, kHandOverArgument)) arguments.handOver = true;
    if (word.size() >= reportArgument.size() &&
        SameImageName(word.substr(0, reportArgument.size()), reportArgument)) {
      arguments.loadReport =
          PercentDecoded(word.substr(reportArgument.size())).value_or(std::string());
    }
    at = end;
  }
  return arguments;
}

void TakeStartCommand(std::span<const std::string> words, StartArguments& arguments) {
  // A shortcut's task: added without a window, as the running copy would.
  if (words.empty() || words[0] != "add") return;
  arguments.inTray = true;
  arguments.command.assign(words.begin(), words.end());
}

std::string HandOverArguments(bool inTray, std::string_view loadReport) {
  std::string arguments = kHandOverArgument;
  if (inTray) arguments += std::string(" ") + kTrayArgument;
  if (!loadReport.empty()) arguments += " " + (kLoadReportArgument + PercentEncoded(loadReport));
  return arguments;
}
