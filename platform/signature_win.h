#pragma once

#include "platform/signature.h"

// Hashes and checks with the system's cryptography (CNG). The key is imported
// for each check, so nothing is held between calls.
class Win32SignatureVerifier : public SignatureVerifier {
 public:
  explicit Win32SignatureVerifier(const EcdsaP256PublicKey& key) : key_(key) {}

  [[nodiscard]] std::optional<FileDigest> DigestFile(const std::string& path,
                                                     std::uint64_t maxBytes) const override;
  [[nodiscard]] bool VerifiesDigest(const Sha256& digest,
                                    const Signature& signature) const override;

 private:
  EcdsaP256PublicKey key_;
};
