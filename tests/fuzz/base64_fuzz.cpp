// A signature token is the third token of the server's file: any text. Its
// reading is checked against OpenSSL's own base64 writer and P-256 group.
#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/obj_mac.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_support.h"
#include "upgrade/base64.h"
#include "upgrade/update_signature.h"

namespace {

std::string Encoded(std::string_view bytes) {
  std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                      reinterpret_cast<const unsigned char*>(bytes.data()),
                                      static_cast<int>(bytes.size()));
  text.resize(static_cast<std::size_t>(written));
  return text;
}

const BIGNUM* CurveOrder() {
  static const EC_GROUP* const group = EC_GROUP_new_by_curve_name(NID_X9_62_prime256v1);
  return EC_GROUP_get0_order(group);
}

// 1 .. n-1, asked of OpenSSL.
bool InRange(const std::uint8_t* bigEndian) {
  const std::unique_ptr<BIGNUM, decltype(&BN_free)> value(BN_bin2bn(bigEndian, 32, nullptr),
                                                          BN_free);
  return !BN_is_zero(value.get()) && BN_cmp(value.get(), CurveOrder()) < 0;
}

std::optional<std::string> Decoded(std::string_view text) {
  const fuzz::ExactBytes exact(text);
  return DecodeBase64(exact.View());
}

void CheckToken(std::string_view token) {
  const fuzz::ExactBytes exact(token);
  const auto signature = ParseSignatureToken(exact.View());
  const std::optional<std::string> bytes = Decoded(token);
  const bool wellFormed = bytes && bytes->size() == 64 &&
                          InRange(reinterpret_cast<const std::uint8_t*>(bytes->data())) &&
                          InRange(reinterpret_cast<const std::uint8_t*>(bytes->data()) + 32);
  FUZZ_CHECK(signature.has_value() == wellFormed);
  if (signature) FUZZ_CHECK(std::memcmp(signature->data(), bytes->data(), 64) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // As text: what is accepted is the one way to write its bytes.
  if (const std::optional<std::string> bytes = Decoded(input)) {
    FUZZ_CHECK(Encoded(*bytes) == input);
  }
  // As bytes: written by OpenSSL, they read back.
  const std::optional<std::string> back = Decoded(Encoded(input));
  FUZZ_CHECK(back && *back == input);

  CheckToken(input);
  // Most texts are no base64 of 64 bytes; these are, so r and s get their checks.
  std::string signature(input.substr(0, 64));
  signature.resize(64, '\0');
  CheckToken(Encoded(signature));
  return 0;
}
