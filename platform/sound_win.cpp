#include <windows.h>

#include <mmsystem.h>

#include "platform/win32_platform.h"

bool Win32Sound::PlayFile(const std::string& file, unsigned flags) {
  return sndPlaySoundA(file.c_str(), flags) != FALSE;
}

void Win32Sound::Stop() { sndPlaySoundA(nullptr, 0); }
