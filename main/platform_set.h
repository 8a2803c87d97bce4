#pragma once

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/display_language.h"
#include "platform/download.h"
#include "platform/files.h"
#include "platform/machine_activity.h"
#include "platform/notification_area.h"
#include "platform/power.h"
#include "platform/power_requests.h"
#include "platform/presence_sensor.h"
#include "platform/processes.h"
#include "platform/profile_files.h"
#include "platform/run_at_logon.h"
#include "platform/session_instance.h"
#include "platform/shell.h"
#include "platform/signature.h"
#include "platform/sound.h"
#include "platform/system_error.h"
#include "platform/threads.h"
#include "platform/time_zone.h"
#include "platform/version_resource.h"
#include "platform/window_system.h"
#include "widgets/control.h"

// The operating system as the program sees it. The Windows build hands in the
// real implementations; tests hand in fakes. Without a mirror factory the
// windows run headless.
struct PlatformSet {
  const Clock& clock;
  const CodePage& codePage;
  Files& files;
  const VersionResource& versionResource;
  NotificationArea& notificationArea;
  Shell& shell;
  WindowSystem& windowSystem;
  Power& power;
  Sound& sound;
  Processes& processes;
  Threads& threads;
  Download& download;
  const SignatureVerifier& signatures;
  const SystemMessages& messages;
  ProfileFiles& profileFiles;
  PowerRequests& powerRequests;
  SessionInstance& sessionInstance;
  RunAtLogon& runAtLogon;
  const TimeZone& timeZone;
  MachineActivity& machineActivity;
  PresenceSensor& presenceSensor;
  const DisplayLanguage& displayLanguage;
  MirrorFactory* mirrors = nullptr;
};
