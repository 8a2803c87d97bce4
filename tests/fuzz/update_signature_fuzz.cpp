// Whether a downloaded program may start: a token from the server's file and
// the bytes the download left, both anyone's. The decision is checked against
// OpenSSL used another way: the key read from its PEM file, the signature
// checked over the bytes in one go; and files signed here must pass.
#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/openssl_owners.h"
#include "platform/host/signature_openssl.h"
#include "tests/fixtures/test_signing_key.h"
#include "tests/fuzz/fuzz_support.h"
#include "upgrade/update_signature.h"

namespace {

EVP_PKEY* TestKey() {
  static const UniqueKey key = [] {
    std::FILE* file = std::fopen(DUSK_TEST_KEY_PEM, "r");
    FUZZ_CHECK(file != nullptr);
    UniqueKey read(PEM_read_PrivateKey(file, nullptr, nullptr, nullptr));
    std::fclose(file);
    FUZZ_CHECK(read != nullptr);
    return read;
  }();
  return key.get();
}

// Where the "downloaded program" lies; one file per fuzzing process, in
// memory where the system offers it, since every run writes it.
const std::string& ProgramFile() {
  static const std::string path = [] {
    const char* temporary = std::getenv("TMPDIR");
    for (const char* folder : {"/dev/shm", temporary && *temporary ? temporary : "/tmp"}) {
      std::string name = std::string(folder) + "/dusk-fuzz-XXXXXX";
      const int descriptor = mkstemp(name.data());
      if (descriptor < 0) continue;
      close(descriptor);
      return name;
    }
    FUZZ_CHECK(!"no folder for a temporary file");
    return std::string();
  }();
  return path;
}

void RemoveProgramFile() { std::remove(ProgramFile().c_str()); }

void WriteProgramFile(std::string_view bytes) {
  static std::string written;
  if (bytes == written) return;
  written = bytes;
  std::FILE* file = std::fopen(ProgramFile().c_str(), "wb");
  FUZZ_CHECK(file != nullptr);
  FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
  FUZZ_CHECK(std::fclose(file) == 0);
}

std::string Base64(const unsigned char* bytes, int size) {
  std::string text(4 * ((size + 2) / 3) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes, size)));
  return text;
}

// A token as the release script writes it: r and s of a fresh signature.
std::string ProjectToken(std::string_view bytes) {
  const UniqueDigestContext context(EVP_MD_CTX_new());
  std::size_t derSize = 0;
  FUZZ_CHECK(EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, TestKey()) == 1);
  FUZZ_CHECK(EVP_DigestSign(context.get(), nullptr, &derSize,
                            reinterpret_cast<const unsigned char*>(bytes.data()),
                            bytes.size()) == 1);
  std::vector<unsigned char> der(derSize);
  FUZZ_CHECK(EVP_DigestSign(context.get(), der.data(), &derSize,
                            reinterpret_cast<const unsigned char*>(bytes.data()),
                            bytes.size()) == 1);
  const unsigned char* at = der.data();
  const UniqueSignature signature(d2i_ECDSA_SIG(nullptr, &at, static_cast<long>(derSize)));
  FUZZ_CHECK(signature != nullptr);
  unsigned char raw[64];
  FUZZ_CHECK(BN_bn2binpad(ECDSA_SIG_get0_r(signature.get()), raw, 32) == 32);
  FUZZ_CHECK(BN_bn2binpad(ECDSA_SIG_get0_s(signature.get()), raw + 32, 32) == 32);
  return Base64(raw, 64);
}

bool OpenSslVerifies(std::string_view bytes, const SignatureVerifier::Signature& raw) {
  const UniqueSignature signature(ECDSA_SIG_new());
  BIGNUM* r = BN_bin2bn(raw.data(), 32, nullptr);
  BIGNUM* s = BN_bin2bn(raw.data() + 32, 32, nullptr);
  FUZZ_CHECK(r && s && ECDSA_SIG_set0(signature.get(), r, s) == 1);
  unsigned char* der = nullptr;
  const int derSize = i2d_ECDSA_SIG(signature.get(), &der);
  FUZZ_CHECK(derSize > 0);
  const UniqueDigestContext context(EVP_MD_CTX_new());
  FUZZ_CHECK(EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, TestKey()) == 1);
  const int verified =
      EVP_DigestVerify(context.get(), der, static_cast<std::size_t>(derSize),
                       reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  OPENSSL_free(der);
  return verified == 1;
}

bool Decision(std::string_view programBytes, std::string_view token) {
  // The one key the check below knows.
  static constexpr std::array kKeys = {kTestSigningPublicKey};
  static const OpenSslSignatureVerifier verifier(kKeys);
  WriteProgramFile(programBytes);
  const fuzz::ExactBytes exactToken(token);
  return IsSignedByProject(ProgramFile(), exactToken.View(), verifier);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  (void)TestKey();
  (void)ProgramFile();
  std::atexit(RemoveProgramFile);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader input(data, size);
  const std::string_view token = input.Field();
  const std::string_view program = input.Rest();

  // Any token: yes exactly when it is well formed and OpenSSL agrees.
  const std::optional<SignatureVerifier::Signature> signature = ParseSignatureToken(token);
  const bool expected = signature && !program.empty() && OpenSslVerifies(program, *signature);
  FUZZ_CHECK(Decision(program, token) == expected);

  // The project's own signature: yes for this file, no for another, and no
  // for an empty one whoever signed it.
  const std::string projectToken = ProjectToken(program);
  FUZZ_CHECK(Decision(program, projectToken) == !program.empty());
  FUZZ_CHECK(!Decision(std::string(program) + '\0', projectToken));
  return 0;
}
