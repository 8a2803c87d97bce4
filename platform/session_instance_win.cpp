#include "platform/session_instance_win.h"

#include "platform/show_request_win.h"

bool Win32SessionInstance::Claim(unsigned waitMs) {
  if (held_) return true;
  if (!mutex_) mutex_.Reset(CreateMutexW(nullptr, FALSE, claimName_.c_str()));
  // A claim the system cannot make (the name taken by an object of another
  // kind) must not keep the program from running at all.
  if (!mutex_) return true;
  const DWORD waited = WaitForSingleObject(mutex_.Get(), waitMs);
  held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED || waited == WAIT_FAILED;
  return held_;
}

void Win32SessionInstance::GiveUp() {
  if (held_) ReleaseMutex(mutex_.Get());
  held_ = false;
  mutex_.Reset();
}

void Win32SessionInstance::AskHolderToShow() {
  const UINT message = ShowRequestMessage();
  if (message == 0) return;
  // Every top-level window of the program's class: only a main window answers.
  // This start is the user's, so it may let that copy take the foreground.
  for (HWND window = FindWindowExW(nullptr, nullptr, L"DuskForm", nullptr); window;
       window = FindWindowExW(nullptr, window, L"DuskForm", nullptr)) {
    DWORD process = 0;
    if (GetWindowThreadProcessId(window, &process) && process != GetCurrentProcessId()) {
      AllowSetForegroundWindow(process);
    }
    PostMessageW(window, message, 0, 0);
  }
}
