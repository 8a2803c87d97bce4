#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/code_page.h"

// A broken property ends the run as a crash, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

namespace fuzz {

// Bytes in a heap block of exactly their size: a read one past the end is an
// AddressSanitizer report, where a std::string's spare room would hide it.
class ExactBytes {
 public:
  explicit ExactBytes(std::string_view bytes)
      : size_(bytes.size()), data_(std::make_unique<char[]>(bytes.size())) {
    if (size_ != 0) std::copy(bytes.begin(), bytes.end(), data_.get());
  }
  [[nodiscard]] std::string_view View() const { return {data_.get(), size_}; }

 private:
  std::size_t size_;
  std::unique_ptr<char[]> data_;
};

// The code pages the program meets: GBK (936), Shift-JIS (932, lead bytes in
// two ranges) and a single-byte one. Their bytes come through as Latin-1: what
// the reader does with them is tried here, not the system's tables.
class ChosenCodePage : public CodePage {
 public:
  explicit ChosenCodePage(std::uint8_t choice) : kind_(choice % 3) {}
  [[nodiscard]] bool IsLeadByte(unsigned char byte) const override {
    switch (kind_) {
      case 0:
        return byte >= 0x81 && byte <= 0xFE;
      case 1:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
      default:
        return false;
    }
  }
  [[nodiscard]] std::string ToUtf8(std::string_view bytes) const override {
    std::string text;
    for (const char c : bytes) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x80) {
        text.push_back(c);
      } else {
        text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
        text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
      }
    }
    return text;
  }

 private:
  int kind_;
};

// Reads the fuzzer's input as a few values: bytes, short strings, the rest.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {}
  [[nodiscard]] bool Empty() const { return text_.empty(); }
  std::uint8_t Byte() {
    if (text_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(text_.front());
    text_.remove_prefix(1);
    return byte;
  }
  std::uint32_t U32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return value;
  }
  // Up to the next byte 0 (or the end), which is taken too.
  std::string_view Field() {
    const std::size_t end = text_.find('\0');
    const std::string_view field = text_.substr(0, end);
    text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
    return field;
  }
  std::string_view Rest() { return std::exchange(text_, {}); }

 private:
  std::string_view text_;
};

}  // namespace fuzz
