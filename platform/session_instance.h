#pragma once

#include "platform/interface.h"

// The program's one copy in the user's session: a claim that one process
// holds at a time, and the way a later start reaches the copy holding it.
// Claim and give up from the window's thread only: the claim belongs to the
// thread that took it.
class SessionInstance : public PlatformInterface {
 public:
  // Takes the claim, waiting up to waitMs for its holder to give it up or to
  // end. True when this process holds it.
  [[nodiscard]] virtual bool Claim(unsigned waitMs) = 0;
  // For the program this one hands over to, just before this one ends.
  virtual void GiveUp() = 0;
  // Asks the copy holding the claim to bring its main window to the front.
  virtual void AskHolderToShow() = 0;
};
