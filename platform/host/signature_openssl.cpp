#include "platform/host/signature_openssl.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/params.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/host/openssl_owners.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::size_t kReadPieceBytes = 64 * 1024;

// The key from its coordinates; OpenSSL refuses a point that is not on the curve.
UniqueKey ImportKey(const EcdsaP256PublicKey& key) {
  unsigned char point[65];
  point[0] = 0x04;  // uncompressed: X then Y
  std::copy(key.x.begin(), key.x.end(), point + 1);
  std::copy(key.y.begin(), key.y.end(), point + 33);
  char group[] = "prime256v1";
  const OSSL_PARAM parameters[] = {
      OSSL_PARAM_construct_utf8_string(OSSL_PKEY_PARAM_GROUP_NAME, group, 0),
      OSSL_PARAM_construct_octet_string(OSSL_PKEY_PARAM_PUB_KEY, point, sizeof point),
      OSSL_PARAM_construct_end()};
  const UniqueKeyContext context(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
  EVP_PKEY* imported = nullptr;
  if (!context || EVP_PKEY_fromdata_init(context.get()) != 1 ||
      EVP_PKEY_fromdata(context.get(), &imported, EVP_PKEY_PUBLIC_KEY,
                        const_cast<OSSL_PARAM*>(parameters)) != 1) {
    return nullptr;
  }
  return UniqueKey(imported);
}

// OpenSSL checks signatures in their DER form.
std::vector<unsigned char> ToDer(const SignatureVerifier::Signature& signature) {
  UniqueSignature ecdsa(ECDSA_SIG_new());
  UniqueNumber r(BN_bin2bn(signature.data(), 32, nullptr));
  UniqueNumber s(BN_bin2bn(signature.data() + 32, 32, nullptr));
  if (!ecdsa || !r || !s || ECDSA_SIG_set0(ecdsa.get(), r.get(), s.get()) != 1) return {};
  r.release();  // the signature owns them now
  s.release();
  const int size = i2d_ECDSA_SIG(ecdsa.get(), nullptr);
  if (size <= 0) return {};
  std::vector<unsigned char> der(static_cast<std::size_t>(size));
  unsigned char* end = der.data();
  if (i2d_ECDSA_SIG(ecdsa.get(), &end) != size) return {};
  return der;
}

}  // namespace

std::optional<SignatureVerifier::FileDigest> OpenSslSignatureVerifier::DigestFile(
    const std::string& path, std::uint64_t maxBytes) const {
  const UniqueFile file(std::fopen(path.c_str(), "rb"));
  const UniqueDigestContext context(EVP_MD_CTX_new());
  if (!file || !context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
    return std::nullopt;
  }
  FileDigest digest;
  std::vector<unsigned char> piece(kReadPieceBytes);
  for (;;) {
    const std::size_t read = std::fread(piece.data(), 1, piece.size(), file.get());
    if (std::ferror(file.get())) return std::nullopt;
    if (read == 0) break;
    digest.size += read;
    if (digest.size > maxBytes) return std::nullopt;
    if (EVP_DigestUpdate(context.get(), piece.data(), read) != 1) return std::nullopt;
  }
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context.get(), digest.sha256.data(), &length) != 1 ||
      length != digest.sha256.size()) {
    return std::nullopt;
  }
  return digest;
}

bool OpenSslSignatureVerifier::VerifiesDigest(const Sha256& digest,
                                              const Signature& signature) const {
  for (const EcdsaP256PublicKey& key : keys_) {
    if (VerifiesWithKey(key, digest, signature)) return true;
  }
  return false;
}

bool OpenSslSignatureVerifier::VerifiesWithKey(const EcdsaP256PublicKey& publicKey,
                                               const Sha256& digest,
                                               const Signature& signature) const {
  const UniqueKey key = ImportKey(publicKey);
  if (!key) return false;
  const std::vector<unsigned char> der = ToDer(signature);
  const UniqueKeyContext context(EVP_PKEY_CTX_new(key.get(), nullptr));
  if (der.empty() || !context || EVP_PKEY_verify_init(context.get()) != 1) return false;
  return EVP_PKEY_verify(context.get(), der.data(), der.size(), digest.data(), digest.size()) == 1;
}
