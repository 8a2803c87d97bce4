#include "platform/display_language_win.h"

#include <windows.h>

std::uint16_t Win32DisplayLanguage::UserLanguageId() const { return GetUserDefaultUILanguage(); }
