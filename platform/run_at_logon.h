#pragma once

#include <optional>
#include <string>

#include "platform/interface.h"

// The commands Windows runs when the current user logs on, each under a value
// name of its own (the Run key of the user's part of the registry).
class RunAtLogon : public PlatformInterface {
 public:
  // The command under this name; none when there is no such text value.
  [[nodiscard]] virtual std::optional<std::string> Read(const std::string& name) const = 0;
  // False when the registry refused.
  virtual bool Write(const std::string& name, const std::string& command) = 0;
  // True when no value of this name is left.
  virtual bool Remove(const std::string& name) = 0;
};
