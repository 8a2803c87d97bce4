#include "widgets/text_cut.h"

std::string CutToBytes(const std::string& text, std::size_t maxBytes, const CodePage& codePage) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = 0;
  while (end < maxBytes) {
    const bool lead = codePage.IsLeadByte(static_cast<unsigned char>(text[end]));
    const std::size_t step = lead && end + 1 < text.size() ? 2 : 1;
    if (end + step > maxBytes) break;
    end += step;
  }
  return text.substr(0, end);
}
