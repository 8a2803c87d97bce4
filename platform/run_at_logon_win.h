#pragma once

#include "platform/run_at_logon.h"

// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run.
class Win32RunAtLogon : public RunAtLogon {
 public:
  [[nodiscard]] std::optional<std::string> Read(const std::string& name) const override;
  bool Write(const std::string& name, const std::string& command) override;
  bool Remove(const std::string& name) override;
};
