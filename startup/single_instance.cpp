#include "startup/single_instance.h"

StartDecision ClaimSession(SessionInstance& instance, const StartArguments& arguments) {
  if (instance.Claim(arguments.handOver ? kHandOverWaitMs : 0)) return StartDecision::Run;
  if (!arguments.inTray) instance.AskHolderToShow();
  return StartDecision::LeaveToRunningCopy;
}
