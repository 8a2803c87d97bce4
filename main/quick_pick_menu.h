#pragma once

#include <functional>
#include <string>
#include <vector>

#include "language/language.h"
#include "main/quick_picks.h"
#include "scheduler/task_listing.h"
#include "storage/settings_file.h"
#include "widgets/tray_frame.h"

// The tray menu's quick picks: the fixed ones, the last three entries the user
// added through the panel (kept in the settings file), and the head task's
// postponement. A chosen pick runs as a command of the running copy.
class QuickPickMenu : public TrayFrame::Submenu {
 public:
  using CommandRun = std::function<void(const std::vector<std::string>&)>;
  QuickPickMenu(const TaskListing& tasks, SettingsFile& settings, const Clock& clock,
                CommandRun run)
      : tasks_(tasks), settings_(settings), clock_(clock), run_(std::move(run)) {}

  [[nodiscard]] std::string Title() const override {
    return std::string(Text(TextId::QuickPicksMenu));
  }
  [[nodiscard]] std::vector<WindowSystem::MenuItem> Items() const override;
  // One of the picks the last Items() gave.
  void Choose(std::size_t index) override;

  // A task the user added through the panel becomes the first recent entry.
  void Remember(RecentEntry added);

 private:
  [[nodiscard]] std::vector<RecentEntry> Recent() const;

  const TaskListing& tasks_;
  SettingsFile& settings_;
  const Clock& clock_;
  CommandRun run_;
  // What the menu showed: the choice is one of these, whatever the queue or
  // the clock did while the menu was open.
  mutable std::vector<QuickPick> shown_;
};
