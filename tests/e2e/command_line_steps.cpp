// dusk-cli seen from outside: the probe runs it in Dusk's desktop, as a script would, and looks
// at the task list it changed. The arguments come from a UTF-8 file, one per line, so that
// Chinese reaches the program whatever the probe's code page; what dusk-cli printed goes to
// that file's name with ".out" and ".err" added, for the script to check.

#include <windows.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

std::vector<std::string> ArgumentsIn(const std::string& path) {
  std::string text;
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
      text.append(buffer, read);
    CloseHandle(file);
  }
  std::vector<std::string> words;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    words.push_back(line);
  }
  return words;
}

// Quoted as the runtime splits a command line back into its words.
std::wstring Quoted(const std::wstring& word) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : word) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

HANDLE InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

struct Started {
  HANDLE process = nullptr;
  std::chrono::steady_clock::time_point at;
};

// The program (dusk-cli.exe, or Dusk.exe as a shortcut starts it) with the file's words, its
// output into the files beside it.
Started StartCli(const std::string& request, const char* program = "dusk-cli.exe") {
  std::wstring commandLine = Quoted(Wide(BesideProbe(program)));
  for (const std::string& word : ArgumentsIn(request)) commandLine += L" " + Quoted(Wide(word));
  HANDLE out = InheritableFile(request + ".out");
  HANDLE err = InheritableFile(request + ".err");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION started{};
  Started cli{nullptr, std::chrono::steady_clock::now()};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     nullptr, &startup, &started)) {
    CloseHandle(started.hThread);
    cli.process = started.hProcess;
  } else {
    Check(false, "dusk-cli started", Format("CreateProcess failed: error %lu", GetLastError()));
  }
  CloseHandle(out);
  CloseHandle(err);
  return cli;
}

// Its exit code, printed as "EXIT n" for the script; none when it did not end in time.
void FinishCli(const Started& cli) {
  const bool ended = WaitForSingleObject(cli.process, g_timeoutMs * 4) == WAIT_OBJECT_0;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(cli.process, &code);
  CloseHandle(cli.process);
  Check(ended, "dusk-cli ended", ended ? Format("exit code %lu", code) : "still running");
  if (ended) printf("EXIT %lu\n", code);
}

void StepCli(const std::string& request) {
  const Started cli = StartCli(request);
  if (cli.process) FinishCli(cli);
}

// "Dusk.exe add ..." beside the running copy: it hands the words over and ends, silent.
void StepDuskAdd(const std::string& request) {
  const Started dusk = StartCli(request, "Dusk.exe");
  if (dusk.process) FinishCli(dusk);
}

// dusk-cli adds a task, with or without a running copy: the time until its row shows.
void StepCliAddShown(const std::string& request) {
  HWND list = nullptr;
  if (HWND main = MainWindow()) list = FindNamed(main, "TaskList");
  const size_t before = list ? StableRows(list).size() : 0;
  const Started cli = StartCli(request);
  if (!cli.process) return;
  size_t rows = before;
  // Polled without a pause: the figure is the time to the row, not to the next look.
  const bool shown = WaitFor([&] {
    if (!list) {
      HWND main = MainWindow();
      list = main ? FindNamed(main, "TaskList") : nullptr;
    }
    const auto read = list ? ListRows(list) : std::nullopt;
    if (read) rows = read->size();
    return rows > before;
  });
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - cli.at);
  Check(shown, "row shown", Format("%zu row(s), %zu before", rows, before));
  if (shown) printf("MS %lld\n", static_cast<long long>(elapsed.count()));
  FinishCli(cli);
}

// The task list shows this many rows, within the bound.
void StepCliRows(const std::string& count) {
  const size_t wanted = strtoul(count.c_str(), nullptr, 10);
  HWND main = nullptr;
  HWND list = nullptr;
  const bool found = WaitFor([&] {
    if (!list && (main = MainWindow()) != nullptr) list = FindNamed(main, "TaskList");
    return list && HasRowCount(list, wanted);
  });
  std::string rows;
  if (list) {
    for (const std::string& row : StableRows(list)) rows += " " + Q(row);
  }
  Check(found, "rows", Format("%zu wanted:", wanted) + rows);
}

// The quick picks' submenu, opened beside the tray menu: the point of its first pick.
void StepQuickPicks() {
  const HWND submenu = OpenSubmenu();
  Check(submenu, "quick picks open", submenu ? "a second popup menu of Dusk" : "one menu or none");
  if (!submenu) return;
  RECT r;
  GetWindowRect(submenu, &r);
  const int border = GetSystemMetrics(SM_CYFIXEDFRAME);
  // Six picks at most without a recent one: "30分钟后关机" is the first.
  Point("quick-pick-first", {(r.left + r.right) / 2, r.top + border + 10});
  Note("quick picks at " + Bounds(r));
}

}  // namespace

const std::vector<Step>& CommandLineSteps() {
  static const std::vector<Step> steps = {
      {"cli", "REQUEST", StepCli},
      {"cli-add-shown", "REQUEST", StepCliAddShown},
      {"cli-rows", "COUNT", StepCliRows},
      {"dusk-add", "REQUEST", StepDuskAdd},
      {"quick-picks", "", [](const std::string&) { StepQuickPicks(); }},
      {"tray-icon", "", [](const std::string&) { CheckOneTrayIcon("tray icon"); }},
  };
  return steps;
}

}  // namespace probe
