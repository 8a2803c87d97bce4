#pragma once

#include <bit>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/profile_files.h"

// The user's profile in memory: files by their full path, every call
// recorded in its order, and any step made to fail with a system error code.
class FakeProfileFiles : public ProfileFiles {
 public:
  [[nodiscard]] std::string RoamingAppDataFolder() const override { return appData; }
  SystemError CreateFolder(const std::string& path) override {
    calls.push_back("create folder " + path);
    if (const SystemError error = Failure("create folder")) return error;
    folders.insert(path);
    return kSucceeded;
  }
  [[nodiscard]] Contents ReadWhole(const std::string& path, std::size_t maxBytes) const override {
    calls.push_back("read " + path);
    if (failedReads > 0) {
      --failedReads;
      return {Contents::Outcome::Failed, {}, readFailure};
    }
    if (const SystemError error = Failure("read")) return {Contents::Outcome::Failed, {}, error};
    const auto file = contents.find(path);
    if (file == contents.end()) return {Contents::Outcome::Missing, {}, 2};
    if (file->second.size() > maxBytes) return {Contents::Outcome::TooLarge, {}, kSucceeded};
    return {Contents::Outcome::Read, file->second, kSucceeded};
  }
  Created Create(const std::string& path) override {
    calls.push_back("create " + path);
    if (const SystemError error = Failure("create")) return {error, nullptr};
    contents[path].clear();
    return {kSucceeded, std::make_unique<File>(*this, path)};
  }
  SystemError MoveReplacing(const std::string& from, const std::string& to) override {
    calls.push_back("move " + from + " > " + to);
    if (const SystemError error = Failure("move")) return error;
    return Rename(from, to);
  }
  SystemError MoveToNewName(const std::string& from, const std::string& to) override {
    calls.push_back("move aside " + from + " > " + to);
    if (const SystemError error = Failure("move aside")) return error;
    if (contents.contains(to)) return 183;  // ERROR_ALREADY_EXISTS
    return Rename(from, to);
  }
  [[nodiscard]] bool Exists(const std::string& path) const override {
    return contents.contains(path);
  }
  SystemError Delete(const std::string& path) override {
    calls.push_back("delete " + path);
    return contents.erase(path) > 0 ? kSucceeded : 2;
  }

  std::string appData = "C:\\Users\\李雷\\AppData\\Roaming";
  std::map<std::string, std::string> contents;
  std::set<std::string> folders;
  // By step: "create folder", "read", "create", "write", "flush", "move", "move aside".
  std::map<std::string, SystemError> failing;
  // The next reads that fail with readFailure, before "read" in failing is asked.
  mutable int failedReads = 0;
  SystemError readFailure = 32;  // ERROR_SHARING_VIOLATION
  mutable std::vector<std::string> calls;

 private:
  class File : public NewFile {
   public:
    File(FakeProfileFiles& files, std::string path) : files_(files), path_(std::move(path)) {}
    ~File() override { files_.calls.push_back("close " + path_); }
    SystemError Write(std::string_view bytes) override {
      files_.calls.push_back("write " + std::to_string(bytes.size()) + " bytes");
      if (const SystemError error = files_.Failure("write")) return error;
      // Held in blocks of a few sizes only: the long run counts the heap, and a
      // block of a size not seen before stays with the allocator once freed.
      std::string& file = files_.contents[path_];
      file.reserve(std::bit_ceil(file.size() + bytes.size() + 1));
      file += bytes;
      return kSucceeded;
    }
    SystemError Flush() override {
      files_.calls.push_back("flush");
      return files_.Failure("flush");
    }

   private:
    FakeProfileFiles& files_;
    std::string path_;
  };

  [[nodiscard]] SystemError Failure(const std::string& step) const {
    const auto found = failing.find(step);
    return found == failing.end() ? kSucceeded : found->second;
  }
  SystemError Rename(const std::string& from, const std::string& to) {
    const auto file = contents.find(from);
    if (file == contents.end()) return 2;  // ERROR_FILE_NOT_FOUND
    std::string bytes = std::move(file->second);
    contents.erase(file);
    contents[to] = std::move(bytes);
    return kSucceeded;
  }
};
