#pragma once

#include <string>

#include "platform/session_instance.h"
#include "platform/unique_handle_win.h"

// A named mutex is the claim: in the session's Local\ namespace, so that each
// user session runs its own copy. The system hands a mutex whose holder ended
// without giving it up to the next waiter. The running copy is reached
// through its windows, which are of the program's own class.
class Win32SessionInstance : public SessionInstance {
 public:
  // claimName: "Local\\" and a name no other program uses.
  explicit Win32SessionInstance(std::wstring claimName) : claimName_(std::move(claimName)) {}
  ~Win32SessionInstance() override { GiveUp(); }

  bool Claim(unsigned waitMs) override;
  void GiveUp() override;
  void AskHolderToShow() override;

 private:
  const std::wstring claimName_;
  UniqueKernelHandle mutex_;
  bool held_ = false;
};
