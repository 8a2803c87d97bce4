#pragma once

// A window or menu that shows texts: told when the user chooses another
// language, it shows them again from the active language's table.
class LanguageListener {
 public:
  LanguageListener() = default;
  LanguageListener(const LanguageListener&) = delete;
  LanguageListener& operator=(const LanguageListener&) = delete;
  virtual void LanguageChanged() = 0;

 protected:
  ~LanguageListener() = default;
};
