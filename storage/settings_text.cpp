#include "storage/settings_text.h"

#include "platform/utf16.h"

namespace {

constexpr char kHeader[] = "# Dusk settings";

}  // namespace

bool IsSettingKey(std::string_view key) {
  if (key.empty()) return false;
  for (const char c : key) {
    if (!(c >= 'a' && c <= 'z') && !(c >= '0' && c <= '9') && c != '-' && c != '.') return false;
  }
  return true;
}

std::optional<std::map<std::string, std::string, std::less<>>> ParseSettings(
    std::string_view text) {
  // Bytes that are no UTF-8 come back changed from the round trip.
  if (Utf16ToUtf8(Utf8ToUtf16(text)) != text) return std::nullopt;
  std::map<std::string, std::string, std::less<>> values;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !IsSettingKey(line.substr(0, equals))) {
      return std::nullopt;
    }
    values.insert_or_assign(std::string(line.substr(0, equals)),
                            std::string(line.substr(equals + 1)));
  }
  return values;
}

std::string WriteSettings(const std::map<std::string, std::string, std::less<>>& values) {
  std::string text = std::string(kHeader) + "\r\n";
  for (const auto& [key, value] : values) text += key + "=" + value + "\r\n";
  return text;
}
