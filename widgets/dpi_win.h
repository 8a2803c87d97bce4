#pragma once

#include <windows.h>

// The density of the screen a window is on. Windows 10 tells it per window;
// older systems (and Wine without the call) have one density for every screen.
[[nodiscard]] int SystemDpi();
[[nodiscard]] int WindowDpi(HWND window);
