#include "upgrade/update_signature.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "platform/host/signature_openssl.h"
#include "tests/fixtures/signature_cases.h"
#include "tests/fixtures/test_signing_key.h"
#include "upgrade/project_public_key.h"

using namespace signature_cases;

namespace {

// A file in the temporary folder while the test needs it.
class ScratchFile {
 public:
  explicit ScratchFile(std::string_view bytes) {
    static int made = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("dusk_signature_" + std::to_string(getpid()) + "_" + std::to_string(++made));
    std::ofstream(path_, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile() { std::remove(path_.c_str()); }
  [[nodiscard]] std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

std::string Hex(const SignatureVerifier::Sha256& digest) {
  std::string hex;
  for (const std::uint8_t byte : digest) {
    static const char kDigits[] = "0123456789abcdef";
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

std::string LongFile() {
  std::string bytes(kLongFileBytes, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

constexpr std::string_view kValidToken = kSignatureCases[0].token;

}  // namespace

TEST(UpdateSignature, TakesOnlyTheKeysWellFormedSignatureOverTheWholeFile) {
  const OpenSslSignatureVerifier verifier(kTestReleaseKeys);
  for (const SignatureCase& c : kSignatureCases) {
    SCOPED_TRACE(c.name);
    const ScratchFile file(c.file);
    EXPECT_EQ(IsSignedByProject(file.Path(), c.token, verifier), c.signedByProject);
  }
}

TEST(UpdateSignature, FailsClosedWithoutTheFileOrWithAnotherOrBrokenKey) {
  ASSERT_TRUE(kSignatureCases[0].signedByProject);
  const ScratchFile program(kProgram);
  EcdsaP256PublicKey offCurve = kTestSigningPublicKey;
  offCurve.y[31] ^= 1;
  const std::array offCurveKeys = {offCurve};
  const OpenSslSignatureVerifier offCurveVerifier(offCurveKeys);
  EXPECT_FALSE(IsSignedByProject(program.Path(), kValidToken, offCurveVerifier));
  const OpenSslSignatureVerifier projectVerifier(kProjectReleaseKeys);
  EXPECT_FALSE(IsSignedByProject(program.Path(), kValidToken, projectVerifier));
  const OpenSslSignatureVerifier testVerifier(kTestReleaseKeys);
  EXPECT_FALSE(IsSignedByProject(program.Path() + ".missing", kValidToken, testVerifier));
  // The backup key's signature holds because the backup key is trusted, not by chance.
  const std::array releaseKeyOnly = {kTestSigningPublicKey};
  const OpenSslSignatureVerifier releaseKeyVerifier(releaseKeyOnly);
  EXPECT_TRUE(IsSignedByProject(program.Path(), kValidToken, releaseKeyVerifier));
  EXPECT_FALSE(IsSignedByProject(program.Path(), kBackupKeyToken, releaseKeyVerifier));
}

// The system's check refuses these too; the program must not rely on that.
TEST(UpdateSignature, TokenNeedsRAndSFromOneToTheGroupOrderLessOne) {
  struct Case {
    const char* name;
    std::string_view token;
    bool accepted;
  };
  static constexpr Case kCases[] = {
      {"r the order less one, s one",
       "/////wAAAAD//////////7zm+q2nF56E87nKwvxjJVAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAQ==",
       true},
      {"r one, s the order less one",
       "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAH/////AAAAAP//////////vOb6racXnoTzucrC/GMlUA==",
       true},
      {"s the order",
       "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAH/////AAAAAP//////////vOb6racXnoTzucrC/GMlUQ==",
       false},
      {"r all ones",
       "//////////////////////////////////////////8AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAQ==",
       false},
      {"r zero",
       "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAQ==",
       false},
      {"s zero",
       "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAEAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA==",
       false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseSignatureToken(c.token).has_value(), c.accepted);
  }
}

TEST(OpenSslSignatureVerifier, DigestsWholeFilesNoLongerThanTheBound) {
  const std::string longFile = LongFile();
  struct Case {
    const char* name;
    std::string_view bytes;
    std::uint64_t maxBytes;
    std::optional<std::string_view> sha256;
  };
  const Case kCases[] = {
      {"empty", "", 0, kEmptySha256},
      {"in one piece", kProgram, kProgramDownloadMaxBytes, kProgramSha256},
      {"in several pieces, up to the bound", longFile, kLongFileBytes, kLongFileSha256},
      {"a byte over the bound", longFile, kLongFileBytes - 1, std::nullopt},
  };
  const OpenSslSignatureVerifier verifier(kTestReleaseKeys);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const ScratchFile file(c.bytes);
    const auto digest = verifier.DigestFile(file.Path(), c.maxBytes);
    ASSERT_EQ(digest.has_value(), c.sha256.has_value());
    if (!digest) continue;
    EXPECT_EQ(Hex(digest->sha256), *c.sha256);
    EXPECT_EQ(digest->size, c.bytes.size());
  }
  EXPECT_FALSE(verifier.DigestFile("/no/such/file", kProgramDownloadMaxBytes));
}
