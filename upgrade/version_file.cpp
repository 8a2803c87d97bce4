#include "upgrade/version_file.h"

#include <algorithm>

#include "upgrade/version_compare.h"

namespace {

// Every line followed by CR LF, whichever break the server wrote.
std::string WithCrLfLineBreaks(std::string_view text) {
  std::string joined;
  joined.reserve(text.size() + 2);
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t lineEnd = text.find_first_of("\r\n", i);
    if (lineEnd == std::string_view::npos) {
      joined.append(text.substr(i));
      joined.append("\r\n");
      break;
    }
    joined.append(text.substr(i, lineEnd - i));
    joined.append("\r\n");
    i = lineEnd + (text.compare(lineEnd, 2, "\r\n") == 0 ? 2 : 1);
  }
  return joined;
}

class TokenReader {
 public:
  TokenReader(std::string_view text, const CodePage& codePage) : text_(text), codePage_(codePage) {}

  std::vector<std::string> Tokens() {
    std::vector<std::string> tokens;
    SkipBlanks();
    while (pos_ < text_.size()) {
      tokens.push_back(text_[pos_] == '"' ? Quoted() : Unquoted());
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        SkipBlanks();
      }
    }
    return tokens;
  }

 private:
  static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }

  // Past the character at the position; a lead byte takes its second byte along.
  std::size_t NextCharacter(std::size_t at) const {
    const std::size_t step = codePage_.IsLeadByte(static_cast<unsigned char>(text_[at])) ? 2 : 1;
    return std::min(at + step, text_.size());
  }

  std::string Unquoted() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsBlank(text_[pos_]) && text_[pos_] != ',') {
      pos_ = NextCharacter(pos_);
    }
    return std::string(text_.substr(start, pos_ - start));
  }

  std::string Quoted() {
    std::string token;
    ++pos_;
    while (pos_ < text_.size()) {
      if (text_[pos_] == '"') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
          token.push_back('"');
          pos_ += 2;
          continue;
        }
        ++pos_;
        return token;
      }
      const std::size_t next = NextCharacter(pos_);
      token.append(text_.substr(pos_, next - pos_));
      pos_ = next;
    }
    return token;
  }

  std::string_view text_;
  const CodePage& codePage_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::string> VersionFileTokens(std::string_view bytes, const CodePage& codePage) {
  std::string_view text = bytes.substr(0, kVersionFileMaxBytes);
  text = text.substr(0, text.find('\0'));
  const std::string joined = WithCrLfLineBreaks(text);
  std::vector<std::string> tokens = TokenReader(joined, codePage).Tokens();
  for (std::string& token : tokens) token = codePage.ToUtf8(token);
  return tokens;
}

std::string UpdateCandidateFrom(const std::vector<std::string>& tokens,
                                std::string_view appVersion) {
  if (tokens.size() < 2 || !IsNewerVersion(appVersion, tokens[0])) return {};
  return tokens[1];
}
