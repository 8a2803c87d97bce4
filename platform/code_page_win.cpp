#include "platform/win32_platform.h"

bool Win32CodePage::IsLeadByte(unsigned char byte) const { return IsDBCSLeadByte(byte) != FALSE; }
