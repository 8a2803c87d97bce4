#include "platform/session_instance_win.h"

#include "platform/process_user_win.h"
#include "platform/show_request_win.h"

namespace {

constexpr wchar_t kNamespaceAlias[] = L"Dusk.5f1c0e2a";

UniquePrivateNamespace OpenUserNamespace() {
  const ProcessUser user;
  // Wine answers no descriptor, and would stop the process in the call after.
  UniqueBoundaryDescriptor boundary(CreateBoundaryDescriptorW(kNamespaceAlias, 0));
  if (!user.Known() || !boundary) return {};
  HANDLE descriptor = boundary.Get();
  // May move the descriptor to grow it.
  const BOOL added = AddSIDToBoundaryDescriptor(&descriptor, user.Sid());
  (void)boundary.Release();
  boundary.Reset(descriptor);
  if (!added) return {};
  // The first copy makes it and later ones open it; the one that made it may
  // close it in between, and then this one makes it.
  for (int attempt = 0; attempt < 3; ++attempt) {
    UniquePrivateNamespace space(CreatePrivateNamespaceW(nullptr, boundary.Get(), kNamespaceAlias));
    if (!space) space.Reset(OpenPrivateNamespaceW(boundary.Get(), kNamespaceAlias));
    if (space) return space;
  }
  return {};
}

}  // namespace

ClaimNamespace::ClaimNamespace() : namespace_(OpenUserNamespace()) {}

std::wstring ClaimNamespace::ObjectName(const std::wstring& name) const {
  if (!namespace_) return L"Local\\" + name;
  // The namespace spans the user's sessions: each runs its own copy.
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  // Digits through to_string: to_wstring would bring the runtime's whole wide printf.
  const std::string digits = std::to_string(session);
  return std::wstring(kNamespaceAlias) + L"\\" + name + L"." +
         std::wstring(digits.begin(), digits.end());
}

bool Win32SessionInstance::Claim(unsigned waitMs) {
  if (held_) return true;
  if (!mutex_) mutex_.Reset(CreateMutexW(nullptr, FALSE, claimName_.c_str()));
  // No mutex can be made under the name: an object of another kind took it
  // (ERROR_INVALID_HANDLE), or one the user may not open. That is no running
  // copy, and no copy of this user's could make the claim either: the program
  // runs without it rather than not at all.
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
  // This start is the user's, so it may let that copy take the foreground,
  // but only a copy of the same user's: a window of the class may be anyone's.
  const ProcessUser user;
  for (HWND window = FindWindowExW(nullptr, nullptr, L"DuskForm", nullptr); window;
       window = FindWindowExW(nullptr, window, L"DuskForm", nullptr)) {
    DWORD process = 0;
    if (!GetWindowThreadProcessId(window, &process) || !ProcessUser(process).SameAs(user)) {
      continue;
    }
    if (process != GetCurrentProcessId()) AllowSetForegroundWindow(process);
    PostMessageW(window, message, 0, 0);
  }
}
