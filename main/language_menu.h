#pragma once

#include <vector>

#include "language/language.h"
#include "language/language_listener.h"
#include "platform/display_language.h"
#include "storage/settings_file.h"
#include "widgets/tray_frame.h"

// The tray menu's "语言 / Language": follow Windows, Chinese or English, the choice kept in the
// settings file. Built before any window, it sets the language the windows are made in; a
// new choice switches at once, and each window that shows texts shows them again.
class LanguageMenu : public TrayFrame::Submenu {
 public:
  // `settings` is loaded already; the listeners are told of a switch in their order.
  LanguageMenu(SettingsFile& settings, const DisplayLanguage& displayLanguage,
               std::vector<LanguageListener*> listeners);

  [[nodiscard]] LanguageChoice Current() const { return choice_; }

  [[nodiscard]] std::string Title() const override;
  [[nodiscard]] std::vector<WindowSystem::MenuItem> Items() const override;
  void Choose(std::size_t index) override;

 private:
  SettingsFile& settings_;
  const DisplayLanguage& displayLanguage_;
  std::vector<LanguageListener*> listeners_;
  LanguageChoice choice_;
};
