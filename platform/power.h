#pragma once

#include "platform/interface.h"

// Asking the system to shut down, restart or log the user off.
class Power : public PlatformInterface {
 public:
  static constexpr unsigned kShutDownForced = 21;  // EWX_SHUTDOWN | EWX_FORCE | EWX_FORCEIFHUNG
  static constexpr unsigned kRestartForced = 6;    // EWX_REBOOT | EWX_FORCE
  static constexpr unsigned kLogOff = 0;           // EWX_LOGOFF, without force

  // Enables the shut-down privilege in the program's own access token; the
  // success of the final adjustment.
  virtual bool EnableShutdownPrivilege() = 0;
  // Only starts the exit: the call returns and the system ends the programs.
  virtual bool RequestExit(unsigned flags, unsigned reason) = 0;
};
