#pragma once

#include <functional>

#include "platform/interface.h"

// Threads of their own for work that must not hold up the windows.
class Threads : public PlatformInterface {
 public:
  // Runs the body on a new thread that nobody waits for; false when no thread
  // could be started.
  [[nodiscard]] virtual bool StartDetached(std::function<void()> body) = 0;
};
