#pragma once

#include <windows.h>

// Binds a C++ object to its window: the object is handed to CreateWindowEx as the creation
// parameter, WM_NCCREATE keeps it in the window's user data, and every later message of the
// window procedure finds it there. Before WM_NCCREATE (WM_GETMINMAXINFO comes first) and after
// Unbind there is no object, and the procedure falls back to DefWindowProc.

// The object bound to the window, binding the creation parameter on WM_NCCREATE first.
template <typename Object>
[[nodiscard]] Object* BoundObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The window stops reaching its object: on WM_NCDESTROY, or when the object goes first.
inline void Unbind(HWND window) { SetWindowLongPtrW(window, GWLP_USERDATA, 0); }
