#include "main/shutdown_method_menu.h"

#include <iterator>

namespace {

constexpr char kSettingKey[] = "shutdown-method";

}  // namespace

ShutdownMethodMenu::ShutdownMethodMenu(SettingsFile& settings)
    : settings_(settings),
      // A word no version of ours wrote, or none: the program's first behaviour.
      current_(ShutdownMethodFromWord(settings.Get(kSettingKey).value_or(""))
                   .value_or(ShutdownMethod::ForceAll)) {}

std::vector<WindowSystem::MenuItem> ShutdownMethodMenu::Items() const {
  std::vector<WindowSystem::MenuItem> items;
  for (const ShutdownMethod method : kShutdownMethods) {
    WindowSystem::MenuItem item{ShutdownMethodText(method), "", method == current_};
    item.radio = true;
    items.push_back(std::move(item));
  }
  return items;
}

void ShutdownMethodMenu::Choose(std::size_t index) {
  if (index >= std::size(kShutdownMethods)) return;
  current_ = kShutdownMethods[index];
  // Unwritten, the choice still holds until the program ends.
  (void)settings_.Set(kSettingKey, ShutdownMethodWord(current_));
}
