#pragma once

#include <string>

#include "platform/win32_platform.h"

// A file in the folder of the running test program, where the build puts the
// fixtures and Dusk.exe.
inline std::string BesideThisTest(const char* fileName) {
  const std::string self = Win32Files().ProgramFilePath();
  return self.substr(0, self.find_last_of('\\') + 1) + fileName;
}
