#include "platform/win32_platform.h"

std::string Win32Files::ProgramFilePath() const {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // cut short: a long path
  }
}
