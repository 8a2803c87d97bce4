#include <windows.h>

#include <mmsystem.h>

#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"

bool Win32Sound::PlayFile(const std::string& file, Playback playback) {
  return sndPlaySoundW(ToWide(file).c_str(), static_cast<UINT>(playback)) != FALSE;
}

void Win32Sound::Stop() { sndPlaySoundW(nullptr, 0); }
