#pragma once

#include <string>
#include <vector>

#include "platform/session_instance.h"

// Records "claim <waitMs>", "give up" and "ask to show". The claim is free
// unless the test says another copy holds it, or lets that copy give it up
// within a wait of at least `holderLeavesWithinMs`.
class FakeSessionInstance : public SessionInstance {
 public:
  bool Claim(unsigned waitMs) override {
    calls.push_back("claim " + std::to_string(waitMs));
    if (heldElsewhere && waitMs >= holderLeavesWithinMs) heldElsewhere = false;
    return !heldElsewhere;
  }
  void GiveUp() override { calls.push_back("give up"); }
  void AskHolderToShow() override { calls.push_back("ask to show"); }

  static constexpr unsigned kNever = ~0u;
  bool heldElsewhere = false;
  unsigned holderLeavesWithinMs = kNever;
  std::vector<std::string> calls;
};
