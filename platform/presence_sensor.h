#pragma once

#include <cstdint>

#include "platform/interface.h"

// One look at whether someone uses the computer.
struct PresenceSample {
  // Milliseconds since the system started, sleep included: a sleep shows as a gap.
  std::uint64_t tickMs = 0;
  // The system's tick of the last keyboard or mouse input, 32 bits: only its
  // changes say something.
  std::uint32_t lastInputTick = 0;
  // The foreground window covers its monitor: a full-screen program, a
  // presentation, a game.
  bool screenBusy = false;
  // A program asks the display to stay on: a film playing.
  bool displayRequired = false;
};

// Whether someone uses the computer: the last input, and what a person may be
// watching without touching anything.
class PresenceSensor : public PlatformInterface {
 public:
  [[nodiscard]] virtual PresenceSample Sample() = 0;
};
