#include "upgrade/update_signature.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "upgrade/base64.h"

namespace {

using Scalar = std::span<const std::uint8_t, 32>;

// The order n of the P-256 group, big-endian.
constexpr std::array<std::uint8_t, 32> kCurveOrder = {
    0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xBC, 0xE6, 0xFA, 0xAD, 0xA7, 0x17, 0x9E, 0x84, 0xF3, 0xB9, 0xCA, 0xC2, 0xFC, 0x63, 0x25, 0x51};

// ECDSA defines r and s only in 1 .. n-1. A zero pair is the classic forgery
// that a faulty verifier lets through, so it is refused here, before any
// system code sees it.
bool IsInSignatureRange(Scalar value) {
  const bool isZero =
      std::all_of(value.begin(), value.end(), [](std::uint8_t b) { return b == 0; });
  const bool isBelowOrder = std::lexicographical_compare(value.begin(), value.end(),
                                                         kCurveOrder.begin(), kCurveOrder.end());
  return !isZero && isBelowOrder;
}

}  // namespace

std::optional<SignatureVerifier::Signature> ParseSignatureToken(std::string_view token) {
  const std::optional<std::string> bytes = DecodeBase64(token);
  SignatureVerifier::Signature signature{};
  // Exactly the size: one system's check has been seen to accept a byte more.
  if (!bytes || bytes->size() != signature.size()) return std::nullopt;
  std::copy(bytes->begin(), bytes->end(), signature.begin());
  const std::span<const std::uint8_t, 64> both(signature);
  if (!IsInSignatureRange(both.first<32>()) || !IsInSignatureRange(both.last<32>())) {
    return std::nullopt;
  }
  return signature;
}

bool IsSignedByProject(const std::string& programFile, std::string_view signatureToken,
                       const SignatureVerifier& verifier) {
  const std::optional<SignatureVerifier::Signature> signature = ParseSignatureToken(signatureToken);
  if (!signature) return false;
  const std::optional<SignatureVerifier::FileDigest> digest =
      verifier.DigestFile(programFile, kProgramDownloadMaxBytes);
  // An empty file is no program, whoever signed it.
  if (!digest || digest->size == 0) return false;
  return verifier.VerifiesDigest(digest->sha256, *signature);
}
