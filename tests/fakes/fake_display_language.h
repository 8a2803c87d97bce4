#pragma once

#include "platform/display_language.h"

// Windows shown in the language the test sets: Chinese (PRC) unless told.
class FakeDisplayLanguage : public DisplayLanguage {
 public:
  [[nodiscard]] std::uint16_t UserLanguageId() const override { return langId; }
  std::uint16_t langId = 0x0804;
};
