#pragma once

#include "platform/interface.h"

// Asking the system to shut down, restart or log the user off.
class Power : public PlatformInterface {
 public:
  // The system's own flag values.
  enum class ExitMode : unsigned {
    ShutDownForced = 21,  // EWX_SHUTDOWN | EWX_FORCE | EWX_FORCEIFHUNG
    RestartForced = 6,    // EWX_REBOOT | EWX_FORCE
    LogOff = 0,           // EWX_LOGOFF, without force
  };

  // Enables the shut-down privilege in the program's own access token; the
  // success of the final adjustment.
  [[nodiscard]] virtual bool EnableShutdownPrivilege() = 0;
  // Only starts the exit: the call returns and the system ends the programs.
  [[nodiscard]] virtual bool RequestExit(ExitMode mode, unsigned reason) = 0;
};
