#include "platform/whole_file_write.h"

namespace {

SystemError WriteFlushed(ProfileFiles& files, const std::string& temporary,
                         std::string_view bytes) {
  ProfileFiles::Created created = files.Create(temporary);
  if (created.error != kSucceeded) return created.error;
  if (const SystemError error = created.file->Write(bytes); error != kSucceeded) return error;
  // Closed on the way out: the rename needs the file let go.
  return created.file->Flush();
}

}  // namespace

SystemError ReplaceWholeFile(ProfileFiles& files, const std::string& path,
                             const std::string& temporary, std::string_view bytes) {
  SystemError error = WriteFlushed(files, temporary, bytes);
  if (error == kSucceeded) error = files.MoveReplacing(temporary, path);
  // Half a file left behind is harmless (the next write starts it afresh) but untidy.
  if (error != kSucceeded) (void)files.Delete(temporary);
  return error;
}
