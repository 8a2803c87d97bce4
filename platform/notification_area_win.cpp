#include <cstring>

#include "platform/win32_platform.h"
#include "platform/window_binding_win.h"

namespace {

constexpr char kWindowClass[] = "DuskTray";
constexpr int kProgramIconId = 1;

void CopyText(char* target, std::size_t capacity, const std::string& text) {
  const std::size_t length = text.size() < capacity ? text.size() : capacity - 1;
  std::memcpy(target, text.data(), length);
  target[length] = '\0';
}

}  // namespace

Win32NotificationArea::Win32NotificationArea(HINSTANCE instance, HandlerErrors& errors)
    : errors_(errors), taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
  icon_.Reset(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  // A top-level window (never shown): message-only windows miss the shell's
  // "TaskbarCreated" broadcast.
  window_.Reset(CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, this));
}

Win32NotificationArea::~Win32NotificationArea() { RemoveIcon(); }

NOTIFYICONDATAA Win32NotificationArea::IconData(UINT flags) const {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = window_.Get();
  data.uID = kIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_.Get();
  return data;
}

bool Win32NotificationArea::AddIcon(const std::string& tip) {
  NOTIFYICONDATAA data = IconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  CopyText(data.szTip, sizeof data.szTip, tip);
  // After a shell restart the old icon is gone; one left over is replaced. The
  // first time there is none: one trip to the shell fewer before the window shows.
  if (added_) Shell_NotifyIconA(NIM_DELETE, &data);
  added_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
  return added_;
}

bool Win32NotificationArea::SetTip(const std::string& tip) {
  NOTIFYICONDATAA data = IconData(NIF_TIP);
  CopyText(data.szTip, sizeof data.szTip, tip);
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void Win32NotificationArea::RemoveIcon() {
  NOTIFYICONDATAA data = IconData(0);
  Shell_NotifyIconA(NIM_DELETE, &data);
}

bool Win32NotificationArea::ShowBalloon(const std::string& title, const std::string& text,
                                        BalloonIcon icon) {
  NOTIFYICONDATAA data = IconData(NIF_INFO);
  CopyText(data.szInfoTitle, sizeof data.szInfoTitle, title);
  CopyText(data.szInfo, sizeof data.szInfo, text);
  data.dwInfoFlags = static_cast<DWORD>(icon);
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void Win32NotificationArea::HideBalloon() {
  // A balloon without text is the removal of the one shown.
  NOTIFYICONDATAA data = IconData(NIF_INFO);
  Shell_NotifyIconA(NIM_MODIFY, &data);
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
  return DefWindowProcA(window, message, wParam, lParam);
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
