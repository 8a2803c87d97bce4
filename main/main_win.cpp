// The program entry on Windows: the real platform, the three windows, and the
// message loop that reports errors escaping a handler and goes on.
#include <windows.h>

#include <exception>
#include <stdexcept>

#include "command/running_copy_win.h"
#include "main/app_state.h"
#include "main/error_text.h"
#include "main/program.h"
#include "platform/display_language_win.h"
#include "platform/dll_search_win.h"
#include "platform/download_win.h"
#include "platform/elevation_win.h"
#include "platform/machine_activity_win.h"
#include "platform/power_requests_win.h"
#include "platform/presence_sensor_win.h"
#include "platform/processes_win.h"
#include "platform/profile_files_win.h"
#include "platform/run_at_logon_win.h"
#include "platform/session_instance_win.h"
#include "platform/signature_win.h"
#include "platform/time_zone_win.h"
#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"
#include "startup/elevation.h"
#include "startup/single_instance.h"
#include "widgets/mirror_factory_win.h"

#ifndef DUSK_UPDATE_HOST
#error "DUSK_UPDATE_HOST names the update server's host"
#endif
// The key whose signature an update must carry: the project's, or a test key
// for the programs the update tests build.
#include DUSK_PUBLIC_KEY_HEADER

namespace {

// "Dusk.exe add ..." while a copy runs: that one answers at once unless it hangs.
constexpr unsigned kCommandWaitMs = 10000;

std::string Describe(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return std::string(Text(TextId::UnknownError));
  }
}

void RunMessageLoop(HandlerErrors& errors, const Program& program) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab and the arrow keys move between the controls of a window.
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (!root || !IsDialogMessageW(root, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (const std::exception_ptr error = errors.Take()) {
      MessageBoxW(reinterpret_cast<HWND>(program.Form1.Form1.Handle()),
                  ToWide(ErrorBoxText(Describe(error))).c_str(),
                  ToWide(Text(TextId::AppTitle)).c_str(), MB_OK | MB_ICONERROR);
    }
  }
}

// False when this process is to end: started as administrator, it started
// again as the desktop's user, or said why it cannot run.
bool MayRunAsStarted() {
  switch (DecideElevation(CurrentElevationFacts())) {
    case ElevationDecision::Run:
      return true;
    case ElevationDecision::RestartAsShellUser:
      if (StartAgainAsShellUser(GetCommandLineW())) return false;
      break;
    case ElevationDecision::Refuse:
      break;
  }
  MessageBoxW(nullptr, ToWide(Text(TextId::ElevatedStart)).c_str(),
              ToWide(Text(TextId::AppTitle)).c_str(), MB_OK | MB_ICONERROR);
  return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  LimitDllSearchToSystemFolder();
  const Win32DisplayLanguage displayLanguage;
  // Until the main window reads the user's choice: an elevated copy may have no way to the
  // user's settings, and says why it ends in the language Windows speaks.
  SetActiveLanguage(LanguageForDisplayLanguage(displayLanguage.UserLanguageId()));
  // An elevated copy never claims: the one it starts as the user does.
  if (!MayRunAsStarted()) ExitProcess(0);
  StartArguments arguments = ParseStartArguments(FromWide(commandLine));
  std::vector<std::string> words;
  for (int i = 1; i < __argc; ++i) words.push_back(FromWide(__wargv[i]));
  TakeStartCommand(words, arguments);
  Win32SessionInstance sessionInstance(L"Dusk.Instance.5f1c0e2a");
  if (ClaimSession(sessionInstance, arguments) == StartDecision::LeaveToRunningCopy) {
    // Silent, as a shortcut has nowhere to show an answer.
    if (!arguments.command.empty()) (void)AskRunningCopy(arguments.command, kCommandWaitMs);
    ExitProcess(0);
  }
  HandlerErrors errors;
  Win32Clock clock;
  Win32CodePage codePage;
  Win32Files files;
  Win32VersionResource versionResource;
  Win32NotificationArea notificationArea(instance, errors);
  Win32Shell shell;
  Win32WindowSystem windowSystem;
  Win32Power power;
  Win32Sound sound;
  Win32Processes processes(instance);
  Win32Threads threads;
  Win32Download download(instance, threads, errors);
  const Win32SignatureVerifier signatures(DUSK_PUBLIC_KEY);
  const Win32SystemMessages messages;
  Win32ProfileFiles profileFiles;
  Win32PowerRequests powerRequests;
  Win32RunAtLogon runAtLogon;
  const Win32TimeZone timeZone;
  Win32MachineActivity machineActivity;
  Win32PresenceSensor presenceSensor;
  Win32MirrorFactory mirrors(instance, errors);
  {
    Program program({clock,          codePage,        files,      versionResource, notificationArea,
                     shell,          windowSystem,    power,      sound,           processes,
                     threads,        download,        signatures, messages,        profileFiles,
                     powerRequests,  sessionInstance, runAtLogon, timeZone,        machineActivity,
                     presenceSensor, displayLanguage, &mirrors},
                    DUSK_UPDATE_HOST);
    program.Start(arguments);
    RunMessageLoop(errors, program);
  }
  // The windows and the tray icon are gone. An update check or a download may
  // still run on its thread with the services above: end the process here,
  // before those go, and the threads with it.
  ExitProcess(0);
}
