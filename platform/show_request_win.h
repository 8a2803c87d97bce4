#pragma once

#include <windows.h>

// The message a second start of the program posts to the running copy's
// windows: its main window comes to the front. Registered by name, so that
// both copies know it by the same number; 0 when the system gave none.
[[nodiscard]] inline UINT ShowRequestMessage() {
  static const UINT message = RegisterWindowMessageW(L"Dusk.ShowMainWindow.5f1c0e2a");
  return message;
}
