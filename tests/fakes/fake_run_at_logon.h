#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/run_at_logon.h"

// The Run key in memory. Records "write <name> = <command>" and "remove <name>";
// refuses every change while `refuses` is set.
class FakeRunAtLogon : public RunAtLogon {
 public:
  [[nodiscard]] std::optional<std::string> Read(const std::string& name) const override {
    const auto value = values.find(name);
    if (value == values.end()) return std::nullopt;
    return value->second;
  }
  bool Write(const std::string& name, const std::string& command) override {
    calls.push_back("write " + name + " = " + command);
    if (refuses) return false;
    values[name] = command;
    return true;
  }
  bool Remove(const std::string& name) override {
    calls.push_back("remove " + name);
    if (refuses) return false;
    values.erase(name);
    return true;
  }

  std::map<std::string, std::string> values;
  bool refuses = false;
  std::vector<std::string> calls;
};
