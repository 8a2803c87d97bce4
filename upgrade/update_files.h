#pragma once

#include <string>
#include <string_view>

// The files an update leaves beside the program, each named in one place.

// A program download goes to this name beside its final one until it is
// checked: only a program the project signed gets the name that is started.
inline constexpr char kDownloadSuffix[] = ".download";

// The downloaded program, once checked: "up" before the program's fixed file name.
[[nodiscard]] inline std::string DownloadedProgramFile(std::string_view appPath,
                                                       std::string_view exeFileName) {
  return std::string(appPath) + "up" + std::string(exeFileName);
}

// The update server's version-information file, as the check stores it.
[[nodiscard]] inline std::string VersionAnswerFile(std::string_view appPath) {
  return std::string(appPath) + "up";
}
