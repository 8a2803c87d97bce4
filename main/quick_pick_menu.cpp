#include "main/quick_pick_menu.h"

namespace {

std::string RecentKey(std::size_t index) { return "recent." + std::to_string(index + 1); }

}  // namespace

std::vector<RecentEntry> QuickPickMenu::Recent() const {
  std::vector<RecentEntry> recent;
  for (std::size_t i = 0; i < kRecentEntryCount; ++i) {
    if (auto entry = ReadRecentEntry(settings_.Get(RecentKey(i)))) recent.push_back(*entry);
  }
  return recent;
}

std::vector<QuickPick> QuickPickMenu::Picks() const {
  const TaskQueue& queue = tasks_.Queue();
  return QuickPicks(Recent(), queue.Empty() ? nullptr : &queue.Head());
}

std::vector<std::string> QuickPickMenu::Labels() const {
  std::vector<std::string> labels;
  for (QuickPick& pick : Picks()) labels.push_back(std::move(pick.label));
  return labels;
}

void QuickPickMenu::Choose(std::size_t index) {
  const std::vector<QuickPick> picks = Picks();
  if (index < picks.size()) run_(picks[index].command);
}

void QuickPickMenu::Remember(RecentEntry added) {
  const std::vector<RecentEntry> recent = ::Remember(Recent(), std::move(added));
  std::vector<std::pair<std::string, std::string>> values;
  for (std::size_t i = 0; i < kRecentEntryCount; ++i) {
    values.emplace_back(RecentKey(i), i < recent.size() ? RecentEntryValue(recent[i]) : "");
  }
  (void)settings_.Set(values);
}
