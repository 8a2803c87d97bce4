#pragma once

#include "platform/signature.h"

// Hashes and checks with the system's cryptography (CNG). Each key is
// imported for each check, so nothing is held between calls.
class Win32SignatureVerifier : public SignatureVerifier {
 public:
  explicit Win32SignatureVerifier(TrustedKeys keys) : keys_(keys) {}

  [[nodiscard]] std::optional<FileDigest> DigestFile(const std::string& path,
                                                     std::uint64_t maxBytes) const override;
  [[nodiscard]] bool VerifiesDigest(const Sha256& digest,
                                    const Signature& signature) const override;

 private:
  [[nodiscard]] bool VerifiesWithKey(const EcdsaP256PublicKey& key, const Sha256& digest,
                                     const Signature& signature) const;

  TrustedKeys keys_;
};
