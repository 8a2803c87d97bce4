#pragma once

#include "platform/interface.h"
#include "platform/system_error.h"

// Asking the system to shut down, restart, log the user off, sleep, or lock
// the workstation.
class Power : public PlatformInterface {
 public:
  // The system's own flag values.
  enum class ExitMode : unsigned {
    ShutDownForced = 21,  // EWX_SHUTDOWN | EWX_FORCE | EWX_FORCEIFHUNG
    RestartForced = 6,    // EWX_REBOOT | EWX_FORCE
    LogOff = 0,           // EWX_LOGOFF, without force
  };

  // Enables the shut-down privilege in the program's own access token. A
  // token without the privilege fails (ERROR_NOT_ALL_ASSIGNED), though the
  // system reports the adjustment itself as done.
  [[nodiscard]] virtual SystemError EnableShutdownPrivilege() = 0;
  // Only starts the exit: the call returns and the system ends the programs.
  [[nodiscard]] virtual SystemError RequestExit(ExitMode mode, unsigned reason) = 0;
  // Sleeps, or hibernates where the user's power settings say so; needs the
  // shut-down privilege.
  [[nodiscard]] virtual SystemError Suspend() = 0;
  // Only starts the lock: the call returns before the desktop is switched.
  [[nodiscard]] virtual SystemError LockWorkStation() = 0;
};
