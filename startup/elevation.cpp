#include "startup/elevation.h"

ElevationDecision DecideElevation(const ElevationFacts& facts) {
  // A system that cannot tell has no User Account Control to step down from.
  if (facts.oneTokenForAll || facts.program != UacToken::Full) {
    return ElevationDecision::Run;
  }
  // The desktop running elevated too would start this copy as it is again.
  if (facts.shell == UacToken::Limited || facts.shell == UacToken::Default) {
    return ElevationDecision::RestartAsShellUser;
  }
  return ElevationDecision::Refuse;
}
