#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/signature_win.h"
#include "platform/unique_handle_win.h"
#include "tests/fixtures/signature_cases.h"
#include "tests/fixtures/test_signing_key.h"
#include "upgrade/project_public_key.h"
#include "upgrade/update_signature.h"

using namespace signature_cases;

namespace {

// A file in the temporary folder while the test needs it.
class ScratchFile {
 public:
  explicit ScratchFile(std::string_view bytes) {
    char folder[MAX_PATH + 1] = {};
    char path[MAX_PATH + 1] = {};
    if (!GetTempPathA(sizeof folder, folder) || !GetTempFileNameA(folder, "sig", 0, path)) return;
    path_ = path;
    const UniqueKernelHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!bytes.empty()) {
      WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    complete_ = written == bytes.size();
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile() {
    if (!path_.empty()) DeleteFileA(path_.c_str());
  }
  [[nodiscard]] const std::string& Path() const { return path_; }
  [[nodiscard]] bool Complete() const { return complete_; }

 private:
  std::string path_;
  bool complete_ = false;
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

TEST(Win32SignatureVerifier, TakesOnlyTheKeysWellFormedSignatureOverTheWholeFile) {
  const Win32SignatureVerifier verifier(kTestReleaseKeys);
  for (const SignatureCase& c : kSignatureCases) {
    SCOPED_TRACE(c.name);
    const ScratchFile file(c.file);
    ASSERT_TRUE(file.Complete());
    EXPECT_EQ(IsSignedByProject(file.Path(), c.token, verifier), c.signedByProject);
  }
}

TEST(Win32SignatureVerifier, FailsClosedWithoutTheFileOrWithAnotherOrBrokenKey) {
  ASSERT_TRUE(kSignatureCases[0].signedByProject);
  const ScratchFile program(kProgram);
  ASSERT_TRUE(program.Complete());
  EcdsaP256PublicKey offCurve = kTestSigningPublicKey;
  offCurve.y[31] ^= 1;
  const std::array offCurveKeys = {offCurve};
  const Win32SignatureVerifier offCurveVerifier(offCurveKeys);
  EXPECT_FALSE(IsSignedByProject(program.Path(), kValidToken, offCurveVerifier));
  const Win32SignatureVerifier projectVerifier(kProjectReleaseKeys);
  EXPECT_FALSE(IsSignedByProject(program.Path(), kValidToken, projectVerifier));
  const Win32SignatureVerifier testVerifier(kTestReleaseKeys);
  EXPECT_FALSE(IsSignedByProject(program.Path() + ".missing", kValidToken, testVerifier));
  // The backup key's signature holds because the backup key is trusted, not by chance.
  const std::array releaseKeyOnly = {kTestSigningPublicKey};
  const Win32SignatureVerifier releaseKeyVerifier(releaseKeyOnly);
  EXPECT_TRUE(IsSignedByProject(program.Path(), kValidToken, releaseKeyVerifier));
  EXPECT_FALSE(IsSignedByProject(program.Path(), kBackupKeyToken, releaseKeyVerifier));
}

TEST(Win32SignatureVerifier, DigestsWholeFilesNoLongerThanTheBound) {
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
  const Win32SignatureVerifier verifier(kTestReleaseKeys);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const ScratchFile file(c.bytes);
    ASSERT_TRUE(file.Complete());
    const auto digest = verifier.DigestFile(file.Path(), c.maxBytes);
    ASSERT_EQ(digest.has_value(), c.sha256.has_value());
    if (!digest) continue;
    EXPECT_EQ(Hex(digest->sha256), *c.sha256);
    EXPECT_EQ(digest->size, c.bytes.size());
  }
  EXPECT_FALSE(verifier.DigestFile("C:\\no\\such\\file", kProgramDownloadMaxBytes));
}
