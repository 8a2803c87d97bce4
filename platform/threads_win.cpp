#include <memory>

#include "platform/win32_platform.h"

namespace {

DWORD WINAPI RunBody(void* parameter) {
  const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  (*body)();
  return 0;
}

}  // namespace

bool Win32Threads::StartDetached(std::function<void()> body) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  // Nobody waits for the thread: its handle goes at once.
  const UniqueKernelHandle thread(CreateThread(nullptr, 0, RunBody, owned.get(), 0, nullptr));
  if (!thread) return false;
  owned.release();  // the thread owns it now
  return true;
}
