#pragma once

#include <windows.h>

#include <utility>

// One owner per handle: the deleter says how the handle is given back.
template <typename Handle, typename Deleter>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  [[nodiscard]] Handle Get() const { return handle_; }
  explicit operator bool() const { return Owns(handle_); }
  void Reset(Handle handle = Handle{}) {
    if (Owns(handle_)) Deleter{}(handle_);
    handle_ = handle;
  }
  // Gives the handle up without giving it back: for one the system took already.
  [[nodiscard]] Handle Release() { return std::exchange(handle_, Handle{}); }

 private:
  // Most functions answer a failure with 0; a deleter may name its own empty values.
  static bool Owns(Handle handle) {
    if constexpr (requires { Deleter::Owns(handle); }) {
      return Deleter::Owns(handle);
    } else {
      return handle != Handle{};
    }
  }

  Handle handle_{};
};

struct KernelHandleDeleter {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// CreateFile answers a failure with INVALID_HANDLE_VALUE, not 0.
struct FileHandleDeleter {
  void operator()(HANDLE file) const { CloseHandle(file); }
  static bool Owns(HANDLE file) { return file != nullptr && file != INVALID_HANDLE_VALUE; }
};
struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
// A memory device context (CreateCompatibleDC).
struct DeviceContextDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct WindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
struct RegistryKeyDeleter {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
struct BoundaryDescriptorDeleter {
  void operator()(HANDLE boundary) const { DeleteBoundaryDescriptor(boundary); }
};
// Closed, not destroyed: another copy of the user's may still use it.
struct PrivateNamespaceDeleter {
  void operator()(HANDLE space) const { ClosePrivateNamespace(space, 0); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueFile = UniqueHandle<HANDLE, FileHandleDeleter>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniquePen = UniqueHandle<HPEN, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueDC = UniqueHandle<HDC, DeviceContextDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueWindow = UniqueHandle<HWND, WindowDeleter>;
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyDeleter>;
using UniqueBoundaryDescriptor = UniqueHandle<HANDLE, BoundaryDescriptorDeleter>;
using UniquePrivateNamespace = UniqueHandle<HANDLE, PrivateNamespaceDeleter>;

// Puts a GDI object into a device context and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The device context of a window, or of the screen for none, given back with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  [[nodiscard]] HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};
