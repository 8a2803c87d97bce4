#pragma once

#include "platform/presence_sensor.h"

// GetLastInputInfo, SHQueryUserNotificationState for a window that takes the
// screen, and the system's execution state for a program keeping the display on.
class Win32PresenceSensor : public PresenceSensor {
 public:
  [[nodiscard]] PresenceSample Sample() override;
};
