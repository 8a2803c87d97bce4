#pragma once

#include <windows.h>

#include <vector>

// The user a process runs as: its token's user SID, kept in a buffer of its own.
class ProcessUser {
 public:
  // This process's user.
  ProcessUser();
  // Another process's user; empty when it cannot be opened or read.
  explicit ProcessUser(DWORD processId);

  [[nodiscard]] PSID Sid() const;
  [[nodiscard]] bool Known() const { return !buffer_.empty(); }
  [[nodiscard]] bool SameAs(const ProcessUser& other) const;

 private:
  void ReadFrom(HANDLE process);

  std::vector<BYTE> buffer_;
};
