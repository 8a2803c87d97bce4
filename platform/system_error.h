#pragma once

#include <string>

#include "platform/interface.h"

// What the system answered a call: 0 when it succeeded, otherwise its error
// code, as the system's last-error value gives it.
using SystemError = unsigned long;
inline constexpr SystemError kSucceeded = 0;

// The system's own description of an error code, in the user's language.
class SystemMessages : public PlatformInterface {
 public:
  // Without the line break the system ends it with; the code's number when
  // the system has no text for it.
  [[nodiscard]] virtual std::string Describe(SystemError error) const = 0;
};
