#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/signature.h"

// The signature that vouches for a downloaded program: the third token of the
// version-information file, base64 of r then s (32 bytes each, big-endian) of
// an ECDSA P-256 signature over the SHA-256 of the program file's bytes.

// A downloaded program larger than this is abandoned, and never hashed past it.
inline constexpr std::uint64_t kProgramDownloadMaxBytes = 256ull * 1024 * 1024;

// The signature the token stands for: strict base64 of exactly 64 bytes, with
// r and s each between 1 and the curve's order less one. None otherwise — the
// system's own check is not trusted to refuse a malformed signature.
[[nodiscard]] std::optional<SignatureVerifier::Signature> ParseSignatureToken(
    std::string_view token);

// Whether the project signed the program file: the token is well formed, the
// file holds at least one byte and at most kProgramDownloadMaxBytes, and the
// signature holds over its SHA-256 with one of the verifier's keys (the
// release key or its backup: a token names no key, so each is tried). The file is read
// in pieces, never whole. Anything unreadable or unexpected answers false.
[[nodiscard]] bool IsSignedByProject(const std::string& programFile,
                                     std::string_view signatureToken,
                                     const SignatureVerifier& verifier);
