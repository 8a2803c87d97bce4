#pragma once

#include "platform/interface.h"

// The system's 8-bit code page, as far as texts need cutting or scanning.
class CodePage : public PlatformInterface {
 public:
  // Whether the byte starts a double-byte character.
  [[nodiscard]] virtual bool IsLeadByte(unsigned char byte) const = 0;
};
