// dusk-cli: the console program scripts drive Dusk with. It reads the words,
// hands them to the running copy (started in the tray when none runs) and
// prints its answer.
#include <windows.h>

#include <string>
#include <vector>

#include "command/command_line.h"
#include "command/running_copy_win.h"
#include "language/language.h"
#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"
#include "storage/language_setting.h"
#include "storage/saved_task_list.h"
#include "storage/settings_text.h"

namespace {

// A running copy answers at once; one just started reads its saved list and
// makes its windows first, which under a busy system takes seconds.
constexpr unsigned kAnswerWaitMs = 10000;
constexpr unsigned kStartWaitMs = 30000;

// A console gets UTF-16, which it shows in whatever code page it has; a file
// or a pipe gets UTF-8.
void Write(DWORD which, const std::string& text) {
  if (text.empty()) return;
  const HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = ToWide(text);
    if (WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)) {
      return;
    }
  }
  WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::wstring ProgramBesideThis() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"Dusk.exe";
}

// The program's settings file (%APPDATA%\Dusk\settings.txt), read here without the
// platform library's profile files, whose fallback for a missing APPDATA would load the shell:
// without APPDATA the language follows Windows. Empty when there is no such file to read.
std::string SettingsText() {
  std::wstring appData(MAX_PATH, L'\0');
  const DWORD length =
      GetEnvironmentVariableW(L"APPDATA", appData.data(), static_cast<DWORD>(appData.size()));
  if (length == 0 || length >= appData.size()) return {};
  appData.resize(length);
  while (!appData.empty() && appData.back() == L'\\') appData.pop_back();
  const std::string path = SettingsFilePath(TaskListFolder(FromWide(appData)));
  const UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size) ||
      static_cast<unsigned long long>(size.QuadPart) > kSettingsMaxBytes) {
    return {};
  }
  std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) {
    return {};
  }
  text.resize(read);
  return text;
}

// As the program chooses: the user's choice in its settings, else the language Windows shows.
void SpeakAsTheProgram() {
  SetActiveLanguage(
      LanguageFor(LanguageChoiceInSettings(SettingsText()), GetUserDefaultUILanguage()));
}

int Finish(const CommandReply& reply) {
  Write(STD_OUTPUT_HANDLE, reply.out);
  Write(STD_ERROR_HANDLE, reply.err);
  return static_cast<int>(reply.code);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SpeakAsTheProgram();
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) words.push_back(FromWide(argv[i]));
  // Wrong words are told here, with no copy to be started for them.
  const CommandReading reading = ReadCommand(words);
  if (!reading.command) return Finish({ExitCode::WrongUsage, {}, reading.error + "\n"});
  if (std::holds_alternative<HelpCommand>(*reading.command)) {
    return Finish({ExitCode::Done, std::string(Text(TextId::CliHelp)), {}});
  }
  if (const auto reply = AskRunningCopy(words, kAnswerWaitMs)) return Finish(*reply);
  const std::wstring program = ProgramBesideThis();
  if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return Finish({ExitCode::Unreachable, {}, std::string(Text(TextId::CliNoCopyBeside)) + "\n"});
  }
  if (const auto reply = StartAndAsk(program, words, kStartWaitMs)) return Finish(*reply);
  return Finish({ExitCode::Unreachable, {}, std::string(Text(TextId::CliNoRunningCopy)) + "\n"});
}
