#pragma once

#include "platform/interface.h"
#include "platform/system_error.h"

// Asking the system to shut down, restart, log the user off, sleep or
// hibernate, lock the workstation, or turn the screen off.
class Power : public PlatformInterface {
 public:
  enum class SuspendMode { Sleep, Hibernate };

  // Enables the shut-down privilege in the program's own access token. A
  // token without the privilege fails (ERROR_NOT_ALL_ASSIGNED), though the
  // system reports the adjustment itself as done.
  [[nodiscard]] virtual SystemError EnableShutdownPrivilege() = 0;
  // Only starts the exit: the call returns and the system ends the programs.
  // `flags` and `reason` are the system's own values (EWX_*, SHTDN_REASON_*).
  [[nodiscard]] virtual SystemError RequestExit(unsigned flags, unsigned reason) = 0;
  // Needs the shut-down privilege. Sleep hibernates instead where the user's
  // power settings say so. Returns after the wake.
  [[nodiscard]] virtual SystemError Suspend(SuspendMode mode) = 0;
  // Whether the computer can hibernate: it supports it and has its hibernation file.
  [[nodiscard]] virtual bool CanHibernate() = 0;
  // Only starts the lock: the call returns before the desktop is switched.
  [[nodiscard]] virtual SystemError LockWorkStation() = 0;
  // Asks for the screen to be turned off, through the program's own window:
  // a message broadcast to every window would reach programs that do not expect it.
  [[nodiscard]] virtual SystemError TurnScreenOff(WindowHandle ownWindow) = 0;
};
