// The version-information file comes from the update server, or from whoever
// answers in its place: any bytes, in any of the code pages the program meets.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fuzz/fuzz_support.h"
#include "upgrade/version_compare.h"
#include "upgrade/version_file.h"

namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
  std::string result;
  for (std::size_t at = 0;;) {
    const std::size_t found = text.find(from, at);
    result.append(text.substr(at, found - at));
    if (found == std::string_view::npos) return result;
    result.append(to);
    at = found + from.size();
  }
}

// Each token in quotes, inner quotes doubled: how a server would write
// tokens that hold separators.
std::string Quoted(const std::vector<std::string>& tokens) {
  std::string text;
  for (const std::string& token : tokens) {
    text += '"' + Replaced(token, "\"", "\"\"") + "\",";
  }
  return text;
}

std::vector<std::string> TokensOf(std::string_view bytes, const CodePage& codePage) {
  const fuzz::ExactBytes exact(bytes);
  return VersionFileTokens(exact.View(), codePage);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader input(data, size);
  const fuzz::ChosenCodePage codePage(input.Byte());
  const std::string_view bytes = input.Rest();

  const std::vector<std::string> tokens = TokensOf(bytes, codePage);
  // A token costs at least one byte of the text, line breaks counted as two;
  // in UTF-8 a byte of the code page takes three bytes at most.
  std::size_t tokenBytes = 0;
  for (const std::string& token : tokens) tokenBytes += token.size();
  FUZZ_CHECK(tokens.size() <= 2 * bytes.size() + 2);
  FUZZ_CHECK(tokenBytes <= 3 * bytes.size());
  for (const std::string& token : tokens) FUZZ_CHECK(token.find('\0') == std::string::npos);

  if (bytes.size() < kVersionFileMaxBytes / 2) {
    // The text ends at its first byte 0.
    std::string cut(bytes);
    cut += std::string_view("\0\"1.0 x", 7);
    FUZZ_CHECK(TokensOf(cut, codePage) == tokens);
    // CR LF, CR and LF are all one line break.
    FUZZ_CHECK(TokensOf(Replaced(Replaced(bytes, "\r\n", "\n"), "\r", "\n"), codePage) == tokens);
  }

  // Quoted, every token reads back as it was. (The tokens come out in UTF-8,
  // and the file is read in the code page: only ASCII tokens are the same
  // bytes in both.)
  bool asciiTokens = true;
  for (const std::string& token : tokens) asciiTokens = asciiTokens && IsAscii(token);
  // Quoting makes the text longer; past the bound the reader stops short of its end.
  const std::string quoted = Quoted(tokens);
  if (asciiTokens && quoted.size() <= kVersionFileMaxBytes) {
    FUZZ_CHECK(TokensOf(quoted, codePage) == tokens);
  }

  // Nothing past the bound is read: a longer text gives the tokens of its head.
  if (bytes.size() > kVersionFileMaxBytes) {
    FUZZ_CHECK(TokensOf(bytes.substr(0, kVersionFileMaxBytes), codePage) == tokens);
  }

  // Only a newer version is ever offered.
  constexpr std::string_view kProgramVersion = "1.0.1.2";
  const std::string candidate = UpdateCandidateFrom(tokens, kProgramVersion);
  if (!candidate.empty()) {
    FUZZ_CHECK(candidate == tokens[1]);
    FUZZ_CHECK(IsNewerVersion(kProgramVersion, tokens[0]));
  }
  return 0;
}
