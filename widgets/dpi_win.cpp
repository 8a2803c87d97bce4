#include "widgets/dpi_win.h"

#include "platform/unique_handle_win.h"
#include "widgets/display_scale.h"

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);

// Looked up once: the call is new in Windows 10 (version 1607).
GetDpiForWindowCall GetDpiForWindowOrNull() {
  static const auto call = [] {
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<GetDpiForWindowCall>(
                      reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")))
                : nullptr;
  }();
  return call;
}

}  // namespace

int SystemDpi() {
  const WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kLayoutDpi;
}

int WindowDpi(HWND window) {
  if (const GetDpiForWindowCall call = GetDpiForWindowOrNull(); call && window) {
    if (const UINT dpi = call(window); dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}
