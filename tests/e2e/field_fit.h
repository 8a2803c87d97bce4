#pragma once
// Whether the date and the time fields of the main window show their whole text.

#include <windows.h>

namespace probe {

// A check per field: the width the control needs, as it measures itself in its own font (its
// fields at their widest in the user's date or time format, its button and a margin), is no more
// than the width of its client area.
void CheckDateAndTimeFit(HWND main);

}  // namespace probe
