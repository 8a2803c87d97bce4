#include "platform/signature_win.h"

#include <windows.h>

#include <bcrypt.h>

#include <cstring>
#include <vector>

#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"

namespace {

struct AlgorithmDeleter {
  void operator()(BCRYPT_ALG_HANDLE algorithm) const { BCryptCloseAlgorithmProvider(algorithm, 0); }
};
struct HashDeleter {
  void operator()(BCRYPT_HASH_HANDLE hash) const { BCryptDestroyHash(hash); }
};
struct KeyDeleter {
  void operator()(BCRYPT_KEY_HANDLE key) const { BCryptDestroyKey(key); }
};
using UniqueAlgorithm = UniqueHandle<BCRYPT_ALG_HANDLE, AlgorithmDeleter>;
using UniqueHash = UniqueHandle<BCRYPT_HASH_HANDLE, HashDeleter>;
using UniqueKey = UniqueHandle<BCRYPT_KEY_HANDLE, KeyDeleter>;

constexpr DWORD kReadPieceBytes = 64 * 1024;
constexpr NTSTATUS kStatusSuccess = 0;

UniqueAlgorithm OpenAlgorithm(LPCWSTR name) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, name, nullptr, 0))) return {};
  return UniqueAlgorithm(algorithm);
}

}  // namespace

std::optional<SignatureVerifier::FileDigest> Win32SignatureVerifier::DigestFile(
    const std::string& path, std::uint64_t maxBytes) const {
  // Nobody may write to the file while it is hashed.
  const UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return std::nullopt;

  const UniqueAlgorithm sha256 = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
  if (!sha256) return std::nullopt;
  BCRYPT_HASH_HANDLE created = nullptr;
  if (!BCRYPT_SUCCESS(BCryptCreateHash(sha256.Get(), &created, nullptr, 0, nullptr, 0, 0))) {
    return std::nullopt;
  }
  const UniqueHash hash(created);

  FileDigest digest;
  std::vector<UCHAR> piece(kReadPieceBytes);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), piece.data(), kReadPieceBytes, &read, nullptr)) return std::nullopt;
    if (read == 0) break;
    digest.size += read;
    if (digest.size > maxBytes) return std::nullopt;
    if (!BCRYPT_SUCCESS(BCryptHashData(hash.Get(), piece.data(), read, 0))) return std::nullopt;
  }
  if (!BCRYPT_SUCCESS(BCryptFinishHash(hash.Get(), digest.sha256.data(),
                                       static_cast<ULONG>(digest.sha256.size()), 0))) {
    return std::nullopt;
  }
  return digest;
}

bool Win32SignatureVerifier::VerifiesDigest(const Sha256& digest,
                                            const Signature& signature) const {
  for (const EcdsaP256PublicKey& key : keys_) {
    if (VerifiesWithKey(key, digest, signature)) return true;
  }
  return false;
}

bool Win32SignatureVerifier::VerifiesWithKey(const EcdsaP256PublicKey& key, const Sha256& digest,
                                             const Signature& signature) const {
  const UniqueAlgorithm ecdsa = OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
  if (!ecdsa) return false;

  // The public blob: its header, then X and Y.
  UCHAR blob[sizeof(BCRYPT_ECCKEY_BLOB) + 64];
  const BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  std::memcpy(blob, &header, sizeof header);
  std::memcpy(blob + sizeof header, key.x.data(), 32);
  std::memcpy(blob + sizeof header + 32, key.y.data(), 32);
  BCRYPT_KEY_HANDLE imported = nullptr;
  if (!BCRYPT_SUCCESS(BCryptImportKeyPair(ecdsa.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &imported,
                                          blob, sizeof blob, 0))) {
    return false;
  }
  const UniqueKey importedKey(imported);

  // The API takes non-const buffers but only reads them.
  Sha256 hashValue = digest;
  Signature signatureValue = signature;
  return BCryptVerifySignature(importedKey.Get(), nullptr, hashValue.data(),
                               static_cast<ULONG>(hashValue.size()), signatureValue.data(),
                               static_cast<ULONG>(signatureValue.size()), 0) == kStatusSuccess;
}
