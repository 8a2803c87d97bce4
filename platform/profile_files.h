#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/interface.h"
#include "platform/system_error.h"

// The files the program keeps for its user in the user's profile (the saved
// task list): read whole at once, and written whole to a new file that is
// flushed and then renamed over the old one, so that a crash leaves either.
class ProfileFiles : public PlatformInterface {
 public:
  // The user's roaming application-data folder (%APPDATA%), without a
  // trailing backslash; empty when the system names none.
  [[nodiscard]] virtual std::string RoamingAppDataFolder() const = 0;
  // One folder inside an existing one; succeeds when it is there already.
  [[nodiscard]] virtual SystemError CreateFolder(const std::string& path) = 0;

  struct Contents {
    enum class Outcome {
      Read,
      Missing,
      Failed,   // there, but could not be opened or read
      TooLarge  // more than maxBytes: nothing read
    };
    Outcome outcome = Outcome::Missing;
    std::string bytes;
    SystemError error = kSucceeded;  // why it failed
  };
  // A file larger than maxBytes is not read at all: its size is all that is asked.
  [[nodiscard]] virtual Contents ReadWhole(const std::string& path, std::size_t maxBytes) const = 0;

  // A file being written; closed when it goes.
  class NewFile {
   public:
    NewFile() = default;
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    virtual ~NewFile() = default;
    // All of the bytes, or an error.
    [[nodiscard]] virtual SystemError Write(std::string_view bytes) = 0;
    // On the disk, not only in the system's cache.
    [[nodiscard]] virtual SystemError Flush() = 0;
  };
  struct Created {
    SystemError error = kSucceeded;
    std::unique_ptr<NewFile> file;  // none when it failed
  };
  // Empty, in place of any file of that name.
  [[nodiscard]] virtual Created Create(const std::string& path) = 0;
  // Renamed over a file already at the target; on the disk when it returns.
  [[nodiscard]] virtual SystemError MoveReplacing(const std::string& from,
                                                  const std::string& to) = 0;
  // Renamed only where no file is: a file at the target stays as it is.
  [[nodiscard]] virtual SystemError MoveToNewName(const std::string& from,
                                                  const std::string& to) = 0;
  [[nodiscard]] virtual bool Exists(const std::string& path) const = 0;
  [[nodiscard]] virtual SystemError Delete(const std::string& path) = 0;
};

// The system's codes the callers tell apart.
inline constexpr SystemError kPathNotFound = 3;
