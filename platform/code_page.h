#pragma once

#include <string>
#include <string_view>

#include "platform/interface.h"

// The system's 8-bit ("ANSI") code page, for the bytes that come from outside
// in it: the version-information file, which servers write for the programs
// of every age.
class CodePage : public PlatformInterface {
 public:
  // Whether the byte starts a double-byte character.
  [[nodiscard]] virtual bool IsLeadByte(unsigned char byte) const = 0;
  // The bytes as the program's UTF-8 text.
  [[nodiscard]] virtual std::string ToUtf8(std::string_view bytes) const = 0;
};
