#include "main/quick_pick_menu.h"

#include "scheduler/task_file_format.h"

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

std::vector<QuickPick> QuickPickMenu::Picks() const {
  const TaskQueue& queue = tasks_.Queue();
  return QuickPicks(Recent(), queue.Empty() ? nullptr : &queue.Head());
}

std::vector<WindowSystem::MenuItem> QuickPickMenu::Items() const {
  std::vector<WindowSystem::MenuItem> items;
  for (QuickPick& pick : Picks()) items.push_back({std::move(pick.label), ""});
  return items;
}

void QuickPickMenu::Choose(std::size_t index) {
  const std::vector<QuickPick> picks = Picks();
  if (index < picks.size()) run_(picks[index].command);
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
