#pragma once

// Base of every platform interface: used through references, never copied.
class PlatformInterface {
 public:
  PlatformInterface() = default;
  PlatformInterface(const PlatformInterface&) = delete;
  PlatformInterface& operator=(const PlatformInterface&) = delete;
  virtual ~PlatformInterface() = default;
};

// An operating-system window as the logic passes it around (owner of a shell
// call or a message box); 0 is no window.
using WindowHandle = unsigned long long;
