#pragma once

#include <string>

#include "platform/session_instance.h"
#include "platform/unique_handle_win.h"

// Where the claim's name lives: a private namespace bound to the user's SID,
// which no other user's process can make or enter, open while this lives.
// Wine 8 has no private namespaces (no boundary descriptor is made): there,
// where one user runs everything, the session's Local\ namespace serves.
class ClaimNamespace {
 public:
  ClaimNamespace();
  // The full name of an object of this name, one per user session.
  [[nodiscard]] std::wstring ObjectName(const std::wstring& name) const;
  [[nodiscard]] bool Private() const { return static_cast<bool>(namespace_); }

 private:
  UniquePrivateNamespace namespace_;
};

// A mutex is the claim. The system hands a mutex whose holder ended without
// giving it up to the next waiter. The running copy is reached through its
// windows, which are of the program's own class.
class Win32SessionInstance : public SessionInstance {
 public:
  // claimName: a name no other program uses.
  explicit Win32SessionInstance(const std::wstring& claimName)
      : claimName_(names_.ObjectName(claimName)) {}
  ~Win32SessionInstance() override { GiveUp(); }

  bool Claim(unsigned waitMs) override;
  void GiveUp() override;
  void AskHolderToShow() override;

 private:
  const ClaimNamespace names_;
  const std::wstring claimName_;
  UniqueKernelHandle mutex_;
  bool held_ = false;
};
