#pragma once

#include "platform/user_presence.h"

// GetLastInputInfo, SHQueryUserNotificationState for a window that takes the
// screen, and the system's execution state for a program keeping the display on.
class Win32UserPresence : public UserPresence {
 public:
  [[nodiscard]] PresenceSample Sample() override;
};
