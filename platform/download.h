#pragma once

#include <cstdint>
#include <string>

#include "platform/interface.h"

// Fetching an address into a file.
class Download : public PlatformInterface {
 public:
  // Told on the main thread, in the order things happened: the progress as
  // the service reports it (0 of 0 while it knows no total), then the end.
  class Listener {
   public:
    virtual void DownloadProgress(std::uint32_t received, std::uint32_t total) = 0;
    virtual void DownloadFinished(bool succeeded) = 0;

   protected:
    ~Listener() = default;
  };

  // Blocks until the file is stored or the fetch failed; for worker threads.
  // Only a plain success answer counts; its first keepBytes bytes are stored
  // and the rest is never read. A failed fetch leaves no file.
  virtual bool ToFile(const std::string& url, const std::string& file, std::uint64_t keepBytes) = 0;
  // Fetches on a thread of its own; the windows keep being served meanwhile.
  // More than maxBytes, an answer that is not a plain success, or a body cut
  // short of its announced length ends it as failed, leaving no file. The
  // listener must live until it hears the end, or until the program ends.
  virtual void StartToFile(const std::string& url, const std::string& file, std::uint64_t maxBytes,
                           Listener& listener) = 0;
};
