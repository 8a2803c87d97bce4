#pragma once

#include <cstdint>
#include <optional>

#include "platform/presence_sensor.h"
#include "scheduler/wait_conditions.h"

// "无人操作时" as a decision: how long nobody has used the computer, from
// successive presence samples. Input starts it again; with the guard it does
// not grow while the screen is taken by a full-screen program or a program
// keeps the display on; a gap (a sleep) does not count either.
class NoInput {
 public:
  explicit NoInput(const NoInputTrigger& trigger) : trigger_(trigger) {}

  void Add(const PresenceSample& sample);
  [[nodiscard]] bool Holds() const;
  [[nodiscard]] std::uint64_t IdleMilliseconds() const { return idleMs_; }
  // Input came between the last two samples: the user is back.
  [[nodiscard]] bool InputSeen() const { return inputSeen_; }
  // After the task it stands for was performed: it waits anew.
  void Restart() { idleMs_ = 0; }

 private:
  NoInputTrigger trigger_;
  std::optional<PresenceSample> last_;
  std::uint64_t idleMs_ = 0;
  bool inputSeen_ = false;
};
