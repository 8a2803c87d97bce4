#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "platform/interface.h"

// The drive a file lies on, as far as whether it is there at the next logon.
enum class DriveKind {
  Fixed,      // a disk of this computer's
  Removable,  // a stick, a card, a CD
  Network,    // another computer's share, by a drive letter or a \\server\share path
  Other,      // a RAM disk, or one the system cannot place
};

// The program's own file and the files beside it.
class Files : public PlatformInterface {
 public:
  // Full path of the running program file.
  [[nodiscard]] virtual std::string ProgramFilePath() const = 0;
  [[nodiscard]] virtual bool Exists(const std::string& path) const = 0;
  [[nodiscard]] virtual DriveKind KindOfDrive(const std::string& path) const = 0;
  [[nodiscard]] virtual bool Delete(const std::string& path) = 0;
  // Copies over a file already at the target.
  [[nodiscard]] virtual bool CopyReplacing(const std::string& from, const std::string& to) = 0;
  // Renames, replacing a file already at the target.
  [[nodiscard]] virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;
  // A file kept open for reading and shared with readers only: while it is
  // held nobody writes to it, renames it or deletes it. Released when it goes.
  class HeldFile {
   public:
    HeldFile() = default;
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    virtual ~HeldFile() = default;
  };
  // None when the file cannot be opened so (missing, or written to right now).
  [[nodiscard]] virtual std::unique_ptr<HeldFile> Hold(const std::string& path) = 0;
  // The first maxBytes bytes of the file at most; none when it can't be read.
  [[nodiscard]] virtual std::optional<std::string> ReadPrefix(const std::string& path,
                                                              std::size_t maxBytes) const = 0;
};
