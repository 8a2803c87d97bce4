#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "platform/handler_errors_win.h"
#include "platform/unique_handle_win.h"
#include "widgets/control.h"
#include "widgets/display_scale.h"

// One font object per face, size and weight, shared by every window using it.
class FontCache {
 public:
  // The font at its size on a screen of this density.
  [[nodiscard]] HFONT Get(const FontStyle& font, int dpi);

 private:
  std::map<std::tuple<std::string, int, bool>, UniqueFont> fonts_;
};

class Win32Mirror;

// What every native window of the program shares.
struct MirrorContext {
  HINSTANCE instance;
  HandlerErrors& errors;
  FontCache fonts;
  // The mirror of each native window, for the news a container passes on to
  // its controls: asked on every paint, so kept here, not in a window
  // property that each question fetches from the system.
  std::map<HWND, Win32Mirror*> mirrors;
};

// The native window of a control, or null: every control but a timer gets one
// of these from the factory once it shows.
[[nodiscard]] Win32Mirror* Win32MirrorOf(const Control& control);

[[nodiscard]] COLORREF ToColorRef(const ColorRef& color);

// The program's icon as a caption (small) or the task switcher (big) shows it
// on a screen of this density. Shared: the system keeps it.
enum class IconSize { Small, Big };
[[nodiscard]] HICON ProgramIcon(HINSTANCE instance, IconSize size, int dpi);

// The native window of one control. Standard controls tell their container
// what happened; the container hands it back to the control's mirror.
class Win32Mirror : public ControlMirror {
 public:
  Win32Mirror(Control& control, MirrorContext& context);
  ~Win32Mirror() override;

  [[nodiscard]] WindowHandle Handle() const override {
    return reinterpret_cast<WindowHandle>(window_.Get());
  }
  [[nodiscard]] HWND Hwnd() const { return window_.Get(); }
  void Update(ControlChange change) override;

  virtual void OnCommand(WORD /*code*/) {}
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
  virtual void OnDrawItem(const DRAWITEMSTRUCT& /*item*/) {}
  // The brush for a standard control's background, and its text colours set.
  virtual HBRUSH OnControlColor(HDC dc);
  virtual void OnContextMenu(POINT /*screen*/) {}

  // The mirror of a window of this program's, or null.
  [[nodiscard]] Win32Mirror* MirrorOf(HWND window) const;
  [[nodiscard]] HBRUSH BackBrush();

  // The density of the screen the window is on: its top-level window's.
  [[nodiscard]] virtual int Dpi() const;
  // Layout pixels on that screen, and back.
  [[nodiscard]] int Scaled(int value) const { return ScaleToDpi(value, Dpi()); }
  [[nodiscard]] Bounds Scaled(const Bounds& bounds) const { return ScaleToDpi(bounds, Dpi()); }
  [[nodiscard]] int Unscaled(int value) const { return ScaleFromDpi(value, Dpi()); }
  // The window and those inside it take their places and fonts anew: the
  // window moved to a screen of another density.
  void Rescale();

 protected:
  // Takes the window over: name property, font, position, visibility.
  void Adopt(HWND window);
  virtual void UpdateSpecific(ControlChange /*change*/) {}
  [[nodiscard]] HWND ParentHwnd() const;
  [[nodiscard]] HFONT Font() const { return font_; }
  // height: in layout pixels, like the control's bounds.
  void CreateStandard(const wchar_t* windowClass, DWORD style, DWORD exStyle, int height);

  // The window is ours from WM_NCCREATE on, before CreateWindowEx returns it.
  void Own(HWND window);
  // The system destroyed the window already, with its container.
  void Disown();

  Control& control_;
  MirrorContext& context_;

 private:
  // repaint: false for a window not drawn yet.
  void ApplyStyle(bool repaint = true);
  // The sibling window this control's window goes behind.
  [[nodiscard]] HWND WindowInFront() const;

  // A window taller than its control (a drop-down list's), in layout pixels.
  std::optional<int> windowHeight_;
  ATOM nameAtom_ = 0;
  HFONT font_ = nullptr;
  UniqueBrush backBrush_;
  UniqueWindow window_;  // last: destroyed first, while the rest is still whole
};

// A window of one of the program's own classes: it paints itself and passes
// its standard children's notifications back to their mirrors.
class OwnWindowMirror : public Win32Mirror {
 public:
  using Win32Mirror::Win32Mirror;
  // The window outlives the derived parts: it must stop reaching them.
  ~OwnWindowMirror() override;

  // Registers the program's window classes; once, before any window.
  static void RegisterClasses(HINSTANCE instance);

 protected:
  void CreateOwn(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent,
                 const Bounds& bounds);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void Paint(HDC dc, const RECT& client);
  void FillBackground(HDC dc, const RECT& area);
  // Draws a group frame with its caption across the top line.
  void PaintGroupFrame(HDC dc, const RECT& client, const std::string& caption);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
