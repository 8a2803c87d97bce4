#pragma once

#include <cstddef>
#include <string>

#include "platform/code_page.h"

// The longest start of the text that fits in maxBytes without splitting a
// double-byte character.
[[nodiscard]] std::string CutToBytes(const std::string& text, std::size_t maxBytes,
                                     const CodePage& codePage);
