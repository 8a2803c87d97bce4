#include "widgets/mirror_win.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "platform/wide_text_win.h"
#include "platform/window_binding_win.h"
#include "widgets/dpi_win.h"
#include "widgets/font_face.h"

namespace {

constexpr int kProgramIconId = 1;
constexpr wchar_t kNameProperty[] = L"Name";
constexpr const wchar_t* kOwnClasses[] = {L"DuskForm",  L"DuskPanel",      L"DuskGroupBox",
                                          L"DuskLabel", L"DuskRadioGroup", L"DuskPicture"};

}  // namespace

COLORREF ToColorRef(const ColorRef& color) {
  if (color.rgb) return RGB(color.rgb->red, color.rgb->green, color.rgb->blue);
  switch (color.system) {
    case SystemColor::Window:
      return GetSysColor(COLOR_WINDOW);
    case SystemColor::ButtonFace:
      return GetSysColor(COLOR_BTNFACE);
    case SystemColor::ButtonHighlight:
      return GetSysColor(COLOR_BTNHIGHLIGHT);
    case SystemColor::WindowText:
      return GetSysColor(COLOR_WINDOWTEXT);
  }
  return GetSysColor(COLOR_WINDOWTEXT);
}

HICON ProgramIcon(HINSTANCE instance, IconSize size, int dpi) {
  // The icon holds an image for each size up to 200 % and beyond.
  constexpr int kBigIcon = 32;
  constexpr int kSmallIcon = 16;
  const int pixels = ScaleToDpi(size == IconSize::Big ? kBigIcon : kSmallIcon, dpi);
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON,
                                       pixels, pixels, LR_SHARED));
}

HFONT FontCache::Get(const FontStyle& font, int dpi) {
  const int height = ScaleFontHeight(font.height, dpi);
  UniqueFont& cached = fonts_[{font.face, height, font.bold}];
  if (cached) return cached.Get();
  LOGFONTW logFont{};
  logFont.lfHeight = -height;  // character height, not cell height
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  // The texts are Chinese: where a face lacks them, the font mapper is to pick one that has
  // them, on every system as on a Simplified Chinese one, whose default character set this is.
  logFont.lfCharSet = GB2312_CHARSET;
  logFont.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(logFont.lfFaceName, ToWide(SystemFontFace(font.face)).c_str(), LF_FACESIZE);
  cached.Reset(CreateFontIndirectW(&logFont));
  return cached.Get();
}

Win32Mirror::Win32Mirror(Control& control, MirrorContext& context)
    : control_(control), context_(context) {}

Win32Mirror::~Win32Mirror() {
  if (nameAtom_) GlobalDeleteAtom(nameAtom_);
  if (!window_) return;
  context_.mirrors.erase(Hwnd());
  RemovePropW(Hwnd(), kNameProperty);
}

Win32Mirror* Win32Mirror::MirrorOf(HWND window) const {
  const auto found = context_.mirrors.find(window);
  return found == context_.mirrors.end() ? nullptr : found->second;
}

void Win32Mirror::Disown() {
  context_.mirrors.erase(Hwnd());
  (void)window_.Release();
}

Win32Mirror* Win32MirrorOf(const Control& control) {
  return control.Kind() == ControlKind::Timer ? nullptr
                                              : static_cast<Win32Mirror*>(control.Mirror());
}

int Win32Mirror::Dpi() const {
  const Control* parent = control_.Parent();
  if (const auto* mirror = parent ? Win32MirrorOf(*parent) : nullptr) return mirror->Dpi();
  return WindowDpi(Hwnd());
}

void Win32Mirror::Rescale() {
  if (!window_) return;
  if (GetWindowLongPtrW(Hwnd(), GWL_STYLE) & WS_CHILD) Update(ControlChange::Bounds);
  ApplyStyle();
  UpdateSpecific(ControlChange::Style);
  for (Control* child : control_.Children()) {
    if (auto* mirror = Win32MirrorOf(*child)) mirror->Rescale();
  }
}

HWND Win32Mirror::ParentHwnd() const {
  const Control* parent = control_.Parent();
  return parent && parent->Mirror() ? reinterpret_cast<HWND>(parent->Mirror()->Handle()) : nullptr;
}

void Win32Mirror::Own(HWND window) {
  if (window != window_.Get()) window_.Reset(window);
}

void Win32Mirror::Adopt(HWND window) {
  Own(window);
  if (!window_) return;
  context_.mirrors[Hwnd()] = this;
  // A global atom, so that tools in other processes can read the name.
  nameAtom_ = GlobalAddAtomW(ToWide(control_.Name()).c_str());
  SetPropW(Hwnd(), kNameProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nameAtom_)));
  // A control stands in front of those before it in its container, so a
  // background picture stays behind the controls on it.
  if (GetWindowLongPtrW(Hwnd(), GWL_STYLE) & WS_CHILD) {
    SetWindowPos(Hwnd(), WindowInFront(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // Never drawn yet: the first paint draws it in its font and colours.
  ApplyStyle(false);
}

HWND Win32Mirror::WindowInFront() const {
  // Windows are made as their controls first show, not in their order: one
  // made late goes behind the first later control that has its window already.
  const std::vector<Control*>& siblings = control_.Parent()->Children();
  auto later = std::find(siblings.begin(), siblings.end(), &control_);
  if (later != siblings.end()) ++later;
  for (; later != siblings.end(); ++later) {
    if (const WindowHandle window = (*later)->Handle()) return reinterpret_cast<HWND>(window);
  }
  return HWND_TOP;
}

void Win32Mirror::CreateStandard(const wchar_t* windowClass, DWORD style, DWORD exStyle,
                                 int height) {
  if (height != control_.Height()) windowHeight_ = height;
  const Bounds b = Scaled(control_.GetBounds());
  const DWORD visible = control_.Visible() ? WS_VISIBLE : 0;
  Adopt(CreateWindowExW(exStyle, windowClass, ToWide(control_.Text()).c_str(),
                        WS_CHILD | WS_CLIPSIBLINGS | visible | style, b.left, b.top, b.width,
                        Scaled(height), ParentHwnd(), nullptr, context_.instance, nullptr));
}

void Win32Mirror::ApplyStyle(bool repaint) {
  font_ = context_.fonts.Get(control_.Font(), Dpi());
  backBrush_.Reset();
  if (window_) {
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), repaint);
    if (repaint) InvalidateRect(Hwnd(), nullptr, TRUE);
  }
}

HBRUSH Win32Mirror::BackBrush() {
  if (!backBrush_) backBrush_.Reset(CreateSolidBrush(ToColorRef(control_.BackColor())));
  return backBrush_.Get();
}

HBRUSH Win32Mirror::OnControlColor(HDC dc) {
  SetTextColor(dc, ToColorRef(control_.TextColor()));
  SetBkColor(dc, ToColorRef(control_.BackColor()));
  return BackBrush();
}

void Win32Mirror::Update(ControlChange change) {
  if (!window_) return;
  switch (change) {
    case ControlChange::Bounds: {
      const Bounds b = Scaled(control_.GetBounds());
      const int height = windowHeight_ ? Scaled(*windowHeight_) : b.height;
      SetWindowPos(Hwnd(), nullptr, b.left, b.top, b.width, height, SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case ControlChange::Visible:
      ShowWindow(Hwnd(), control_.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case ControlChange::Text:
      SetWindowTextW(Hwnd(), ToWide(control_.Text()).c_str());
      break;
    case ControlChange::Style:
      ApplyStyle();
      // Containers' children inherit font and background.
      for (Control* child : control_.Children()) {
        if (child->Mirror()) child->Mirror()->Update(ControlChange::Style);
      }
      break;
    default:
      break;
  }
  UpdateSpecific(change);
}

OwnWindowMirror::~OwnWindowMirror() {
  if (const HWND window = Hwnd()) Unbind(window);
}

void OwnWindowMirror::RegisterClasses(HINSTANCE instance) {
  for (const wchar_t* name : kOwnClasses) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = name;
    if (lstrcmpW(name, L"DuskForm") == 0) {
      // The windows take their icons with them when they are made: a window
      // on a screen of another density sets its own.
      const int dpi = SystemDpi();
      windowClass.hIcon = ProgramIcon(instance, IconSize::Big, dpi);
      windowClass.hIconSm = ProgramIcon(instance, IconSize::Small, dpi);
    }
    RegisterClassExW(&windowClass);
  }
}

void OwnWindowMirror::CreateOwn(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent,
                                const Bounds& bounds) {
  const Bounds b = Scaled(bounds);
  const DWORD visible = control_.Visible() ? WS_VISIBLE : 0;
  const HWND window =
      CreateWindowExW(exStyle, windowClass, ToWide(control_.Text()).c_str(), style | visible,
                      b.left, b.top, b.width, b.height, parent, nullptr, context_.instance, this);
  Adopt(window);
}

LRESULT CALLBACK OwnWindowMirror::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  auto* self = BoundObject<OwnWindowMirror>(window, message, lParam);
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  // Known from here on, before CreateWindowEx returns.
  if (message == WM_NCCREATE) self->Own(window);
  if (message == WM_NCDESTROY) {
    Unbind(window);
    self->Disown();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // Reported by the message loop, which then goes on.
    self->context_.errors.Keep(std::current_exception());
    return 0;
  }
}

LRESULT OwnWindowMirror::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    // The font it draws in, as a standard control tells it: tools that read
    // and measure its text ask for it.
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(Font());
    case WM_COMMAND:
      if (Win32Mirror* child = MirrorOf(reinterpret_cast<HWND>(lParam))) {
        child->OnCommand(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (Win32Mirror* child = MirrorOf(header->hwndFrom)) return child->OnNotify(*header);
      break;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (Win32Mirror* child = MirrorOf(item->hwndItem)) {
        child->OnDrawItem(*item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      if (Win32Mirror* child = MirrorOf(reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(child->OnControlColor(dc));
      }
      // Parts of our own controls (radio items) stand on our background.
      SetBkColor(dc, ToColorRef(control_.BackColor()));
      SetTextColor(dc, ToColorRef(control_.TextColor()));
      return reinterpret_cast<LRESULT>(BackBrush());
    }
    case WM_CONTEXTMENU:
      if (Win32Mirror* child = MirrorOf(reinterpret_cast<HWND>(wParam)); child && child != this) {
        child->OnContextMenu(
            {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
      }
      break;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(Hwnd(), &client);
      FillBackground(reinterpret_cast<HDC>(wParam), client);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(Hwnd(), &paint);
      RECT client;
      GetClientRect(Hwnd(), &client);
      Paint(dc, client);
      EndPaint(Hwnd(), &paint);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(Hwnd(), message, wParam, lParam);
}

void OwnWindowMirror::Paint(HDC, const RECT&) {}

void OwnWindowMirror::FillBackground(HDC dc, const RECT& area) { FillRect(dc, &area, BackBrush()); }

void OwnWindowMirror::PaintGroupFrame(HDC dc, const RECT& client, const std::string& caption) {
  const SelectedObject font(dc, Font());
  SIZE extent{};
  const std::wstring wide = ToWide(caption);
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
  RECT frame = client;
  frame.top += extent.cy / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (caption.empty()) return;
  const int indent = Scaled(8);
  RECT label{client.left + indent, client.top, client.left + indent + extent.cx,
             client.top + extent.cy};
  FillRect(dc, &label, BackBrush());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(control_.TextColor()));
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &label,
            DT_NOPREFIX | DT_SINGLELINE | DT_LEFT | DT_TOP);
}
