#pragma once

#include "platform/display_language.h"

class Win32DisplayLanguage : public DisplayLanguage {
 public:
  [[nodiscard]] std::uint16_t UserLanguageId() const override;
};
