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
  explicit operator bool() const { return handle_ != Handle{}; }
  void Reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Deleter{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

struct KernelHandleDeleter {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
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

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueWindow = UniqueHandle<HWND, WindowDeleter>;

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
