#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/version_resource.h"

// Moving the program to its fixed file name after an update, and clearing up.
class Relocation {
 public:
  Relocation(Files& files, const VersionResource& versions) : files_(files), versions_(versions) {}

  // At start-up. Under another name than exeFileName (bytes compared exactly)
  // the program copies itself to it, unless the program already there is of a
  // newer version (a renamed old copy must not replace it): true when the
  // program is then to start the one under the fixed name and end. Under the
  // fixed name it deletes the downloaded program and the version-information
  // file.
  [[nodiscard]] bool RelocateToFixedName(const std::string& programFile, const std::string& appPath,
                                         const std::string& exeFileName,
                                         const std::string& programVersion, DateTime now);

  // The old program may still be ending and hold the fixed name: the copy is
  // tried again for a few seconds. True once it succeeded.
  [[nodiscard]] bool RetryCopy(DateTime now);

  static constexpr double kRetrySeconds = 5;

 private:
  Files& files_;
  const VersionResource& versions_;
  std::string from_;
  std::string to_;
  DateTime retryUntil_ = 0;
  bool retrying_ = false;
};
