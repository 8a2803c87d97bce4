#pragma once

#include "language/language.h"
#include "scheduler/shutdown_method.h"
#include "storage/settings_file.h"
#include "widgets/tray_frame.h"

// The tray menu's "关机方式": the three ways a shut-down, restart or log-off may treat the
// programs still running, the one in use marked, the choice kept in the settings file.
class ShutdownMethodMenu : public TrayFrame::Submenu {
 public:
  // `settings` is loaded already.
  explicit ShutdownMethodMenu(SettingsFile& settings);

  [[nodiscard]] ShutdownMethod Current() const { return current_; }

  [[nodiscard]] std::string Title() const override {
    return std::string(Text(TextId::ShutdownMethodMenu));
  }
  [[nodiscard]] std::vector<WindowSystem::MenuItem> Items() const override;
  void Choose(std::size_t index) override;

 private:
  SettingsFile& settings_;
  ShutdownMethod current_;
};
