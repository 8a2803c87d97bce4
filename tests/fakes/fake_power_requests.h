#pragma once

#include <string>
#include <vector>

#include "platform/power_requests.h"

// Records each request as "awake on", "awake off", "arm <moment>", "cancel";
// answers as the test sets.
class FakePowerRequests : public PowerRequests {
 public:
  bool KeepSystemAwake(bool on) override {
    calls.push_back(on ? "awake on" : "awake off");
    if (awakeAnswer) keptAwake = on;
    return awakeAnswer;
  }
  bool ArmWakeTimer(DateTime when) override {
    calls.push_back("arm");
    armedFor.push_back(when);
    return wakeAnswer;
  }
  void CancelWakeTimer() override { calls.push_back("cancel"); }

  std::vector<std::string> calls;
  std::vector<DateTime> armedFor;  // each arm's moment, in order
  bool keptAwake = false;
  bool awakeAnswer = true;
  bool wakeAnswer = true;
};
