#pragma once

#include "platform/profile_files.h"

class Win32ProfileFiles : public ProfileFiles {
 public:
  [[nodiscard]] std::string RoamingAppDataFolder() const override;
  [[nodiscard]] SystemError CreateFolder(const std::string& path) override;
  [[nodiscard]] Contents ReadWhole(const std::string& path, std::size_t maxBytes) const override;
  [[nodiscard]] Created Create(const std::string& path) override;
  [[nodiscard]] SystemError MoveReplacing(const std::string& from, const std::string& to) override;
  [[nodiscard]] SystemError MoveToNewName(const std::string& from, const std::string& to) override;
  [[nodiscard]] bool Exists(const std::string& path) const override;
  [[nodiscard]] SystemError Delete(const std::string& path) override;
};
