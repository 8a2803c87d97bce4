#include "main/quick_pick_menu.h"

#include "storage/task_file_format.h"

namespace {

std::string RecentKey(std::size_t index) {
  return "quick-picks.recent." + std::to_string(index + 1);
}

}  // namespace

std::vector<RecentEntry> QuickPickMenu::Recent() const {
  std::vector<RecentEntry> recent;
  for (std::size_t i = 0; i < kRecentEntryCount; ++i) {
    // A setting holds no line break: the entry's text is escaped as in the saved list.
    const auto value = UnescapeTaskParam(settings_.Get(RecentKey(i)).value_or(""));
    if (auto entry = value ? ReadRecentEntry(*value) : std::nullopt) recent.push_back(*entry);
  }
  return recent;
}

std::vector<WindowSystem::MenuItem> QuickPickMenu::Items() const {
  const TaskQueue& queue = tasks_.Queue();
  shown_ = QuickPicks(Recent(), queue.Empty() ? nullptr : &queue.Head(), clock_.Now());
  std::vector<WindowSystem::MenuItem> items;
  for (const QuickPick& pick : shown_) items.push_back({pick.label, ""});
  return items;
}

void QuickPickMenu::Choose(std::size_t index) {
  if (index >= shown_.size()) return;
  // Run from a copy: the command changes the queue the next Items() reads.
  const std::vector<std::string> command = shown_[index].command;
  run_(command);
}

void QuickPickMenu::Remember(RecentEntry added) {
  const std::vector<RecentEntry> recent = ::Remember(Recent(), std::move(added));
  std::vector<std::pair<std::string, std::string>> values;
  for (std::size_t i = 0; i < kRecentEntryCount; ++i) {
    values.emplace_back(RecentKey(i), i < recent.size()
                                          ? EscapeTaskParam(RecentEntryValue(recent[i]))
                                          : std::string());
  }
  (void)settings_.Set(std::move(values));
}
