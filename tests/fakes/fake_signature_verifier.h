#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/signature.h"
#include "upgrade/base64.h"

// Signatures without cryptography: a file verifies when the test has signed
// its bytes with that signature. Files are read through the fake file system;
// the "digest" of a file is the number of the read that took its bytes.
class FakeSignatureVerifier : public SignatureVerifier {
 public:
  explicit FakeSignatureVerifier(const Files& files) : files_(files) {}

  // From now on the signature in the token (base64 of 64 bytes) holds over the bytes.
  void Sign(std::string_view bytes, std::string_view token) {
    const std::optional<std::string> signature = DecodeBase64(token);
    if (signature) signed_.emplace(std::string(bytes), *signature);
  }

  [[nodiscard]] std::optional<FileDigest> DigestFile(const std::string& path,
                                                     std::uint64_t maxBytes) const override {
    digestedFiles.push_back(path);
    std::optional<std::string> bytes = files_.ReadPrefix(path, maxBytes + 1);
    if (!bytes || bytes->size() > maxBytes) return std::nullopt;
    FileDigest digest;
    digest.size = bytes->size();
    const auto read = static_cast<std::uint32_t>(reads_.size());
    std::copy_n(reinterpret_cast<const std::uint8_t*>(&read), sizeof read, digest.sha256.begin());
    reads_.push_back(std::move(*bytes));
    return digest;
  }

  [[nodiscard]] bool VerifiesDigest(const Sha256& digest,
                                    const Signature& signature) const override {
    std::uint32_t read = 0;
    std::copy_n(digest.begin(), sizeof read, reinterpret_cast<std::uint8_t*>(&read));
    if (!keyUsable || read >= reads_.size()) return false;
    return signed_.contains({reads_[read], std::string(signature.begin(), signature.end())});
  }

  bool keyUsable = true;  // false: as if the built-in key failed to import
  mutable std::vector<std::string> digestedFiles;

 private:
  const Files& files_;
  std::set<std::pair<std::string, std::string>> signed_;
  mutable std::vector<std::string> reads_;
};
