#include "main/language_menu.h"

#include <iterator>
#include <utility>

#include "storage/language_setting.h"

namespace {

constexpr LanguageChoice kChoices[] = {LanguageChoice::Automatic, LanguageChoice::Chinese,
                                       LanguageChoice::English};
constexpr TextId kChoiceTexts[] = {TextId::LanguageAutomatic, TextId::LanguageChinese,
                                   TextId::LanguageEnglish};

}  // namespace

LanguageMenu::LanguageMenu(SettingsFile& settings, const DisplayLanguage& displayLanguage,
                           std::vector<LanguageListener*> listeners)
    : settings_(settings),
      displayLanguage_(displayLanguage),
      listeners_(std::move(listeners)),
      // A word no version of ours wrote, or none: the language Windows shows.
      choice_(LanguageChoiceNamed(settings.Get(kLanguageKey).value_or(""))
                  .value_or(LanguageChoice::Automatic)) {
  SetActiveLanguage(LanguageFor(choice_, displayLanguage_.UserLanguageId()));
}

std::string LanguageMenu::Title() const { return std::string(Text(TextId::LanguageMenu)); }

std::vector<WindowSystem::MenuItem> LanguageMenu::Items() const {
  std::vector<WindowSystem::MenuItem> items;
  for (std::size_t i = 0; i < std::size(kChoices); ++i) {
    WindowSystem::MenuItem item{std::string(Text(kChoiceTexts[i])), "", kChoices[i] == choice_};
    item.radio = true;
    items.push_back(std::move(item));
  }
  return items;
}

void LanguageMenu::Choose(std::size_t index) {
  if (index >= std::size(kChoices)) return;
  choice_ = kChoices[index];
  // Unwritten, the choice still holds until the program ends.
  (void)settings_.Set(kLanguageKey, std::string(LanguageChoiceName(choice_)));
  const Language language = LanguageFor(choice_, displayLanguage_.UserLanguageId());
  if (language == ActiveLanguage()) return;
  SetActiveLanguage(language);
  for (LanguageListener* listener : listeners_) listener->LanguageChanged();
}
