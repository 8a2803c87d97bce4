#pragma once

#include <string>

#include "platform/interface.h"

// The system's sound player: one sound at a time, a new one replacing the last.
class Sound : public PlatformInterface {
 public:
  static constexpr unsigned kAsync = 1;  // SND_ASYNC
  static constexpr unsigned kLoop = 8;   // SND_LOOP

  // Without a directory the player looks the file up by its own rules; a
  // missing file sounds the default sound.
  virtual bool PlayFile(const std::string& file, unsigned flags) = 0;
  virtual void Stop() = 0;
};
