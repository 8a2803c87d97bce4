#include "widgets/container_mirrors_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/copy_data_win.h"
#include "platform/show_request_win.h"
#include "platform/wide_text_win.h"
#include "widgets/dpi_win.h"
#include "widgets/png_resource_win.h"

namespace {

// Between an alert window and the screen's work area edges, in layout pixels.
constexpr int kAlertGap = 12;
// A wake or a clock change, handled after the sender has its answer: the
// system sends both and waits, and the tick they cause may start a program
// through the shell or show a message box.
constexpr UINT kResumedMessage = WM_APP + 10;
constexpr UINT kTimeChangedMessage = WM_APP + 11;
// dusk-cli waits for the reply in its own SendMessage: it takes it at once
// unless it hangs.
constexpr unsigned kReplyWaitMs = 5000;

DWORD FormStyle(Form::Frame frame) {
  switch (frame) {
    case Form::Frame::Main:
      return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    case Form::Frame::Tool:
      return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case Form::Frame::Borderless:
      return WS_POPUP | WS_CLIPCHILDREN;
    case Form::Frame::Alert:
      return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  }
  return WS_OVERLAPPED;
}

// Above full-screen windows that are not exclusive, and never activated: the
// keys the user types elsewhere do not reach its buttons.
DWORD FormExStyle(Form::Frame frame) {
  return frame == Form::Frame::Alert ? WS_EX_TOPMOST | WS_EX_NOACTIVATE : 0;
}

// Bottom right of the work area of the screen that holds the window the user
// works in: where the notification area's news appear.
void PlaceAlertOnActiveScreen(HWND window, int gap) {
  const HWND foreground = GetForegroundWindow();
  const HMONITOR monitor =
      MonitorFromWindow(foreground ? foreground : window, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT frame{};
  if (!GetMonitorInfoW(monitor, &info) || !GetWindowRect(window, &frame)) return;
  const int x = info.rcWork.right - (frame.right - frame.left) - gap;
  const int y = info.rcWork.bottom - (frame.bottom - frame.top) - gap;
  SetWindowPos(window, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

FormMirror::FormMirror(Form& form, MirrorContext& context)
    : OwnWindowMirror(form, context), form_(form), dpi_(SystemDpi()) {
  const HWND owner = form.Owner() ? reinterpret_cast<HWND>(form.Owner()->Handle()) : nullptr;
  CreateOwn(L"DuskForm", FormStyle(form.FrameKind()), FormExStyle(form.FrameKind()), owner,
            form.GetBounds());
  if (!Hwnd()) return;
  // Made at the system's density, with its class's icons; a window that
  // opens on another screen takes that screen's.
  if (const int dpi = WindowDpi(Hwnd()); dpi != dpi_) {
    dpi_ = dpi;
    Update(ControlChange::Bounds);
    Rescale();
    SetIcons();
  }
  if (form.FrameKind() == Form::Frame::Alert && form.Visible())
    PlaceAlertOnActiveScreen(Hwnd(), Scaled(kAlertGap));
}

void FormMirror::SetIcons() {
  SendMessageW(Hwnd(), WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(ProgramIcon(context_.instance, IconSize::Big, dpi_)));
  SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(ProgramIcon(context_.instance, IconSize::Small, dpi_)));
}

void FormMirror::UpdateSpecific(ControlChange change) {
  switch (change) {
    case ControlChange::Visible:
      // Shown again from wherever, the main window comes to the front with its
      // taskbar entry; other windows come forward only when asked to.
      if (form_.Visible() && form_.FrameKind() == Form::Frame::Main) {
        ShowWindow(Hwnd(), SW_SHOW);
        SetForegroundWindow(Hwnd());
      }
      if (form_.Visible() && form_.FrameKind() == Form::Frame::Alert) {
        PlaceAlertOnActiveScreen(Hwnd(), Scaled(kAlertGap));
      }
      break;
    case ControlChange::Flash: {
      // Until the window comes to the foreground, without taking it.
      FLASHWINFO flash{};
      flash.cbSize = sizeof flash;
      flash.hwnd = Hwnd();
      flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
      FlashWindowEx(&flash);
      break;
    }
    case ControlChange::Restore:
      if (IsIconic(Hwnd())) ShowWindow(Hwnd(), SW_RESTORE);
      break;
    case ControlChange::BringToFront:
      SetForegroundWindow(Hwnd());
      BringWindowToTop(Hwnd());
      break;
    default:
      break;
  }
}

LRESULT FormMirror::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != 0 && message == ShowRequestMessage()) {
    if (form_.FrameKind() == Form::Frame::Main) form_.ShowRequested();
    return 0;
  }
  switch (message) {
    case WM_TIMER: {
      auto* timer = reinterpret_cast<TimerMirror*>(wParam);
      if (timers_.contains(timer)) timer->Fire();
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE && form_.OnMinimize) {
        form_.UserMinimize();
        return 0;
      }
      break;
    case WM_CLOSE:
      form_.UserClose();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) form_.UserActivate();
      break;
    // Both come as broadcasts to top-level windows, hidden ones too (a form
    // in the tray still hears them); a message-only window would not.
    case WM_POWERBROADCAST:
      // Every wake brings the automatic resume, one the user caused a second
      // one; both are passed on, and a second tick in a row does no harm.
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
        PostMessageW(Hwnd(), kResumedMessage, 0, 0);
      }
      return TRUE;
    case WM_TIMECHANGE:
      PostMessageW(Hwnd(), kTimeChangedMessage, 0, 0);
      return 0;
    // The program never holds an exit up, its own or another's: what it keeps is saved when the
    // session really ends.
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) form_.SessionEnding();
      return 0;
    case kResumedMessage:
      form_.SystemResumed();
      return 0;
    case kTimeChangedMessage:
      form_.SystemTimeChanged();
      return 0;
    case WM_WINDOWPOSCHANGED: {
      RECT frame;
      if (!IsIconic(Hwnd()) && GetWindowRect(Hwnd(), &frame)) {
        form_.UserMoved(ScaleFromDpi(
            {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top}, dpi_));
      }
      break;
    }
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_COPYDATA: {
      // A command of dusk-cli: answered to the window it names, and only to
      // one of the same user's.
      const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      const auto sender = reinterpret_cast<HWND>(wParam);
      if (form_.FrameKind() != Form::Frame::Main || data.dwData != kCommandRequestTag ||
          !IsWindow(sender) || !WindowOfThisUser(sender)) {
        return FALSE;
      }
      const std::string reply = form_.Requested(
          data.cbData ? std::string(static_cast<const char*>(data.lpData), data.cbData) : "");
      return !reply.empty() && SendBytes(sender, Hwnd(), kCommandReplyTag, reply, kReplyWaitMs);
    }
    default:
      break;
  }
  return OwnWindowMirror::HandleMessage(message, wParam, lParam);
}

void FormMirror::DpiChanged(int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  dpi_ = dpi;
  SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SetIcons();
  Rescale();
}

PanelMirror::PanelMirror(Panel& panel, MirrorContext& context)
    : OwnWindowMirror(panel, context), panel_(panel) {
  CreateOwn(L"DuskPanel", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
            ParentHwnd(), panel.GetBounds());
}

void PanelMirror::Paint(HDC dc, const RECT& client) {
  if (!panel_.Bevel()) return;
  // A flat panel with a fine line around it, in the program's light look.
  RECT frame = client;
  FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
}

GroupBoxMirror::GroupBoxMirror(GroupBox& group, MirrorContext& context)
    : OwnWindowMirror(group, context) {
  CreateOwn(L"DuskGroupBox", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
            ParentHwnd(), group.GetBounds());
}

void GroupBoxMirror::Paint(HDC dc, const RECT& client) {
  PaintGroupFrame(dc, client, control_.Text());
}

void GroupBoxMirror::UpdateSpecific(ControlChange change) {
  if (change == ControlChange::Text) InvalidateRect(Hwnd(), nullptr, TRUE);
}

LabelMirror::LabelMirror(Label& label, MirrorContext& context)
    : OwnWindowMirror(label, context), label_(label) {
  CreateOwn(L"DuskLabel", WS_CHILD | WS_CLIPSIBLINGS, 0, ParentHwnd(), label.GetBounds());
  Measure();
}

void LabelMirror::UpdateSpecific(ControlChange change) {
  if (change == ControlChange::Text || change == ControlChange::Style ||
      change == ControlChange::Bounds) {
    Measure();
    InvalidateRect(Hwnd(), nullptr, TRUE);
  }
}

void LabelMirror::Measure() {
  if (!Hwnd() || !label_.AutoWidth()) return;
  // Placed by the screen's pixels: a label that grows to the left keeps its
  // right edge exactly where the layout puts it.
  SIZE extent{};
  {
    const WindowDC dc(Hwnd());
    const SelectedObject font(dc.Get(), Font());
    const std::string& text = label_.Text();
    const std::wstring wide = ToWide(text);
    GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
  }
  label_.TextMeasured(Unscaled(extent.cx));
  const Bounds layout = Scaled(label_.GetBounds());
  const int left = label_.RightAnchored() ? layout.left + layout.width - extent.cx : layout.left;
  SetWindowPos(Hwnd(), nullptr, left, layout.top, extent.cx, layout.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void LabelMirror::Paint(HDC dc, const RECT& client) {
  const SelectedObject font(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(label_.TextColor()));
  RECT area = client;
  const std::string& text = label_.Text();
  const UINT wrap = label_.AutoWidth() ? 0 : DT_WORDBREAK;
  const std::wstring wide = ToWide(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area,
            DT_NOPREFIX | DT_LEFT | DT_TOP | wrap);
}

RadioGroupMirror::RadioGroupMirror(RadioGroup& group, MirrorContext& context)
    : OwnWindowMirror(group, context), group_(group) {
  CreateOwn(L"DuskRadioGroup", WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, ParentHwnd(),
            group.GetBounds());
  // Made in their places, in the group's font, only the chosen one checked:
  // nothing to move, redraw or clear before the group first shows.
  const std::vector<RadioGroup::Cell> cells = group.Cells();
  for (std::size_t i = 0; i < group.Items().size(); ++i) {
    const RECT place = ItemPlace(cells[i], cells);
    const HWND button = CreateWindowExW(
        0, L"BUTTON", ToWide(group.Items()[i]).c_str(),
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON, place.left, place.top,
        place.right - place.left, place.bottom - place.top, Hwnd(),
        // Its item's number: a test in another process finds the item by it.
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)), context.instance, nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    if (static_cast<int>(i) == group.ItemIndex()) SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
    items_.push_back(button);
  }
  ShowDisabledItems();
}

RECT RadioGroupMirror::ItemPlace(RadioGroup::Cell cell,
                                 const std::vector<RadioGroup::Cell>& cells) const {
  RECT client;
  GetClientRect(Hwnd(), &client);
  const bool framed = !group_.Text().empty();
  const int columns = group_.Columns() > 0 ? group_.Columns() : 1;
  int rows = 0;
  for (const RadioGroup::Cell& each : cells) rows = std::max(rows, each.row + 1);
  const int margin = framed ? Scaled(8) : 0;
  const int top = framed ? Scaled(18) : 0;
  const int columnWidth = (client.right - 2 * margin) / columns;
  const int rowHeight = rows > 0 ? (client.bottom - top - margin / 2) / rows : 0;
  const int left = margin + cell.column * columnWidth;
  const int itemTop = top + cell.row * rowHeight;
  return {left, itemTop, left + columnWidth - 4, itemTop + rowHeight};
}

void RadioGroupMirror::ShowDisabledItems() {
  hint_.Reset();
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const int index = static_cast<int>(i);
    EnableWindow(items_[i], group_.ItemEnabled(index));
    if (group_.ItemEnabled(index)) continue;
    // A disabled button takes no mouse messages: the hint is the group's, over the button's place.
    if (!hint_) {
      hint_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  Hwnd(), nullptr, context_.instance, nullptr));
    }
    RECT place;
    GetWindowRect(items_[i], &place);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&place), 2);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = Hwnd();
    tool.uId = i + 1;
    tool.rect = place;
    std::wstring hint = ToWide(group_.ItemHint(index));
    tool.lpszText = hint.data();
    SendMessageW(hint_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void RadioGroupMirror::LayOutItems() {
  const std::vector<RadioGroup::Cell> cells = group_.Cells();
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const RECT place = ItemPlace(cells[i], cells);
    SetWindowPos(items_[i], nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowDisabledItems();
}

void RadioGroupMirror::ShowSelection() {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const bool checked = static_cast<int>(i) == group_.ItemIndex();
    SendMessageW(items_[i], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void RadioGroupMirror::UpdateSpecific(ControlChange change) {
  switch (change) {
    case ControlChange::Selection:
      ShowSelection();
      break;
    case ControlChange::Bounds:
      LayOutItems();
      break;
    case ControlChange::Items:
      ShowDisabledItems();
      break;
    case ControlChange::Style:
      for (HWND item : items_) {
        SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
      }
      break;
    case ControlChange::Text:
      InvalidateRect(Hwnd(), nullptr, TRUE);
      break;
    default:
      break;
  }
}

LRESULT RadioGroupMirror::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const auto item = reinterpret_cast<HWND>(lParam);
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (items_[i] == item) {
        group_.UserSelect(static_cast<int>(i));
        ShowSelection();  // a click on the selected item changes nothing
        return 0;
      }
    }
  }
  return OwnWindowMirror::HandleMessage(message, wParam, lParam);
}

void RadioGroupMirror::Paint(HDC dc, const RECT& client) {
  if (!group_.Text().empty()) PaintGroupFrame(dc, client, group_.Text());
}

PictureMirror::PictureMirror(Picture& picture, MirrorContext& context)
    : OwnWindowMirror(picture, context), picture_(picture) {
  CreateOwn(L"DuskPicture", WS_CHILD | WS_CLIPSIBLINGS, 0, ParentHwnd(), picture.GetBounds());
}

void PictureMirror::Paint(HDC dc, const RECT& client) {
  // Loaded with the first paint: the window may wait hidden for long, or for ever.
  if (!bitmapLoaded_) {
    if (const auto image = LoadPngResource(context_.instance, picture_.ResourceId())) {
      bitmap_ = SectionOf(*image);
    }
    bitmapLoaded_ = true;
  }
  BITMAP info{};
  if (!bitmap_ || !GetObjectW(bitmap_.Get(), sizeof info, &info)) return;
  const UniqueDC source(CreateCompatibleDC(dc));
  if (!source) return;
  const SelectedObject selected(source.Get(), bitmap_.Get());
  // Pictures are drawn for the densest screens and shrink with good filtering.
  const auto shrink = [&](HDC target) {
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    return StretchBlt(target, 0, 0, client.right, client.bottom, source.Get(), 0, 0, info.bmWidth,
                      info.bmHeight, SRCCOPY);
  };
  if (!picture_.Transparent()) {
    shrink(dc);
    return;
  }
  // Shrunk first, then the clear colour left out pixel for pixel: a stretching
  // TransparentBlt would pick pixels, not filter them.
  const COLORREF clear = GetPixel(source.Get(), 0, info.bmHeight - 1);
  const UniqueDC shrunk(CreateCompatibleDC(dc));
  const UniqueBitmap canvas(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!shrunk || !canvas) return;
  const SelectedObject selectedCanvas(shrunk.Get(), canvas.Get());
  if (!shrink(shrunk.Get())) return;
  TransparentBlt(dc, 0, 0, client.right, client.bottom, shrunk.Get(), 0, 0, client.right,
                 client.bottom, clear);
}

IconMirror::IconMirror(IconView& icon, MirrorContext& context) : Win32Mirror(icon, context) {
  const auto stock = [&] {
    switch (icon.Icon()) {
      case IconView::Stock::Warning:
        return MAKEINTRESOURCEW(32515);  // IDI_WARNING
      case IconView::Stock::Error:
        return MAKEINTRESOURCEW(32513);  // IDI_ERROR
      case IconView::Stock::Information:
        return MAKEINTRESOURCEW(32516);  // IDI_INFORMATION
    }
    return MAKEINTRESOURCEW(32516);
  }();
  // Loaded at the control's own size, so a 16 x 16 hint stays sharp. A
  // system icon is shared: the system owns it.
  const HANDLE shared = LoadImageW(nullptr, stock, IMAGE_ICON, Scaled(icon.Width()),
                                   Scaled(icon.Height()), LR_SHARED);
  CreateStandard(L"STATIC", SS_ICON | SS_REALSIZECONTROL, 0, icon.Height());
  SendMessageW(Hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(shared), 0);
}

TimerMirror::TimerMirror(Timer& timer, FormMirror& owner) : timer_(timer), owner_(owner) {
  owner_.AddTimer(this);
  Apply();
}

TimerMirror::~TimerMirror() {
  KillTimer(owner_.Hwnd(), reinterpret_cast<UINT_PTR>(this));
  owner_.RemoveTimer(this);
}

void TimerMirror::Update(ControlChange) { Apply(); }

void TimerMirror::Apply() {
  const auto id = reinterpret_cast<UINT_PTR>(this);
  KillTimer(owner_.Hwnd(), id);
  if (timer_.Enabled()) SetTimer(owner_.Hwnd(), id, timer_.IntervalMs(), nullptr);
}
