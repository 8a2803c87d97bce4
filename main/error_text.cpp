#include "main/error_text.h"

namespace {
constexpr char kIdeographicFullStop[] = "。";
}

std::string ErrorBoxText(const std::string& message) {
  if (message.ends_with('.') || message.ends_with(kIdeographicFullStop)) return message;
  return message + ".";
}
