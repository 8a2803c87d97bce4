#pragma once

#include <array>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "language/text_id.h"

// One language's texts, indexed by their names.
using TextTable = std::array<std::string_view, kTextCount>;

// Builds a table from (name, text) pairs in any order; a name given twice does
// not compile. A name left out stays empty, which the tests catch.
[[nodiscard]] consteval TextTable MakeTextTable(
    std::initializer_list<std::pair<TextId, std::string_view>> texts) {
  TextTable table{};
  for (const auto& [id, text] : texts) {
    auto& slot = table[static_cast<std::size_t>(id)];
    if (!slot.empty()) throw "a text is given twice";
    slot = text;
  }
  return table;
}

extern const TextTable kChineseTexts;
extern const TextTable kEnglishTexts;
