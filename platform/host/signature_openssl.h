#pragma once

#include "platform/signature.h"

// Hashes and checks with OpenSSL, so that the host build runs the same
// signature tests as the Windows build does against the system's own code.
class OpenSslSignatureVerifier : public SignatureVerifier {
 public:
  explicit OpenSslSignatureVerifier(TrustedKeys keys) : keys_(keys) {}

  [[nodiscard]] std::optional<FileDigest> DigestFile(const std::string& path,
                                                     std::uint64_t maxBytes) const override;
  [[nodiscard]] bool VerifiesDigest(const Sha256& digest,
                                    const Signature& signature) const override;

 private:
  [[nodiscard]] bool VerifiesWithKey(const EcdsaP256PublicKey& key, const Sha256& digest,
                                     const Signature& signature) const;

  TrustedKeys keys_;
};
