#pragma once

#include <string>

#include "platform/interface.h"

// The system's sound player: one sound at a time, a new one replacing the last.
class Sound : public PlatformInterface {
 public:
  // The system's own flag values.
  enum class Playback : unsigned {
    Once = 0x1,  // SND_ASYNC
    Loop = 0x9,  // SND_ASYNC | SND_LOOP
    // Nothing when another sound plays: a ringing alarm goes on.
    OnceUnlessPlaying = 0x11,  // SND_ASYNC | SND_NOSTOP
  };

  // Returns at once. Without a directory the player looks the file up by its
  // own rules; a missing file sounds the default sound.
  [[nodiscard]] virtual bool PlayFile(const std::string& file, Playback playback) = 0;
  virtual void Stop() = 0;
};
