#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/interface.h"

// A public key of the NIST P-256 curve: the point's coordinates, big-endian.
struct EcdsaP256PublicKey {
  std::array<std::uint8_t, 32> x;
  std::array<std::uint8_t, 32> y;
};

// The keys a verifier trusts. They live as long as the program (constants),
// so the program file carries them where the release script can find them.
using TrustedKeys = std::span<const EcdsaP256PublicKey>;

// The system's cryptography as the update needs it: the SHA-256 of a file and
// the ECDSA P-256 check of a signature over such a digest, against the public
// keys the verifier was made with (the release key and its backup). Rules
// about what a signature must look like live with the caller; this only asks
// the system.
class SignatureVerifier : public PlatformInterface {
 public:
  using Sha256 = std::array<std::uint8_t, 32>;
  // r then s, each 32 bytes big-endian.
  using Signature = std::array<std::uint8_t, 64>;

  struct FileDigest {
    Sha256 sha256{};
    std::uint64_t size = 0;
  };

  // The SHA-256 of the whole file, read in pieces, so memory stays small
  // whatever the file's size. None when the file can't be opened or read to
  // its end, or holds more than maxBytes (reading stops there).
  [[nodiscard]] virtual std::optional<FileDigest> DigestFile(const std::string& path,
                                                             std::uint64_t maxBytes) const = 0;

  // Whether the signature was made over the digest with the private half of
  // any of the verifier's keys: a signature names no key, so each is tried.
  // A key that can't be used verifies nothing.
  [[nodiscard]] virtual bool VerifiesDigest(const Sha256& digest,
                                            const Signature& signature) const = 0;
};
