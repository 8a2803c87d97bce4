#pragma once

#include <cstdint>

#include "platform/interface.h"

// The language Windows shows its own texts in for the user: the program speaks
// it too unless the user chose another.
class DisplayLanguage : public PlatformInterface {
 public:
  // A LANGID: 0x0804 Chinese (PRC), 0x0404 Chinese (Taiwan), 0x0409 English (US), ...
  [[nodiscard]] virtual std::uint16_t UserLanguageId() const = 0;
};
