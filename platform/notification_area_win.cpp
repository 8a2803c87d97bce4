#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"
#include "platform/window_binding_win.h"

namespace {

constexpr wchar_t kWindowClass[] = L"DuskTray";
constexpr int kProgramIconId = 1;

// The texts come cut to what the shell holds; this only guards the buffer.
template <std::size_t kCapacity>
void CopyText(wchar_t (&target)[kCapacity], const std::string& text) {
  const std::wstring wide = ToWide(text);
  const std::size_t length = std::min(wide.size(), kCapacity - 1);
  std::copy_n(wide.begin(), length, target);
  target[length] = L'\0';
}

// The small icon at the size the shell draws it on this display.
HICON LoadTrayIcon(HINSTANCE instance) {
  HICON icon = nullptr;
  if (SUCCEEDED(LoadIconMetric(instance, MAKEINTRESOURCEW(kProgramIconId), LIM_SMALL, &icon))) {
    return icon;
  }
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                       LR_DEFAULTCOLOR));
}

}  // namespace

Win32NotificationArea::Win32NotificationArea(HINSTANCE instance, HandlerErrors& errors)
    : instance_(instance),
      errors_(errors),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {}

void Win32NotificationArea::CreateIconWindow() {
  if (window_) return;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
  icon_.Reset(LoadTrayIcon(instance_));
  // A top-level window (never shown): message-only windows miss the shell's
  // "TaskbarCreated" broadcast.
  window_.Reset(CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance_, this));
}

Win32NotificationArea::~Win32NotificationArea() { RemoveIcon(); }

NOTIFYICONDATAW Win32NotificationArea::IconData(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_.Get();
  data.uID = kIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_.Get();
  return data;
}

bool Win32NotificationArea::AddIcon(const std::string& tip) {
  CreateIconWindow();
  NOTIFYICONDATAW data = IconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  CopyText(data.szTip, tip);
  // After a shell restart the old icon is gone; one left over is replaced. The
  // first time there is none: one trip to the shell fewer before the window shows.
  if (added_) Shell_NotifyIconW(NIM_DELETE, &data);
  added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  return added_;
}

bool Win32NotificationArea::SetTip(const std::string& tip) {
  NOTIFYICONDATAW data = IconData(NIF_TIP);
  CopyText(data.szTip, tip);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void Win32NotificationArea::RemoveIcon() {
  NOTIFYICONDATAW data = IconData(0);
  Shell_NotifyIconW(NIM_DELETE, &data);
}

bool Win32NotificationArea::ShowBalloon(const std::string& title, const std::string& text,
                                        BalloonIcon icon) {
  NOTIFYICONDATAW data = IconData(NIF_INFO);
  CopyText(data.szInfoTitle, title);
  CopyText(data.szInfo, text);
  data.dwInfoFlags = static_cast<DWORD>(icon);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void Win32NotificationArea::HideBalloon() {
  // A balloon without text is the removal of the one shown.
  NOTIFYICONDATAW data = IconData(NIF_INFO);
  Shell_NotifyIconW(NIM_MODIFY, &data);
}

LRESULT CALLBACK Win32NotificationArea::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
  auto* self = BoundObject<Win32NotificationArea>(window, message, lParam);
  if (self && self->events_) {
    try {
      if (self->HandleMessage(message, lParam)) return 0;
    } catch (...) {
      self->errors_.Keep(std::current_exception());
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool Win32NotificationArea::HandleMessage(UINT message, LPARAM lParam) {
  using Mouse = NotificationArea::Mouse;
  if (message == taskbarCreated_) {
    events_->TaskbarCreated();
    return true;
  }
  if (message != kCallbackMessage) return false;
  switch (LOWORD(lParam)) {
    case WM_LBUTTONDOWN:
      events_->TrayMouse(Mouse::LeftDown);
      break;
    case WM_LBUTTONUP:
      events_->TrayMouse(Mouse::LeftUp);
      break;
    case WM_LBUTTONDBLCLK:
      events_->TrayMouse(Mouse::LeftDoubleClick);
      break;
    case WM_RBUTTONUP:
      events_->TrayMouse(Mouse::RightUp);
      break;
    case NIN_BALLOONUSERCLICK:
      events_->TrayBalloonClicked();
      break;
    default:
      break;
  }
  return true;
}
