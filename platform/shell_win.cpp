#include "platform/win32_platform.h"

namespace {

const char* OrNull(const std::optional<std::string>& text) {
  return text ? text->c_str() : nullptr;
}

}  // namespace

bool Win32Shell::Execute(const Launch& launch) {
  const HINSTANCE result =
      ShellExecuteA(reinterpret_cast<HWND>(launch.owner), OrNull(launch.verb), launch.file.c_str(),
                    OrNull(launch.parameters), OrNull(launch.directory), launch.showCommand);
  return reinterpret_cast<INT_PTR>(result) > 32;
}
