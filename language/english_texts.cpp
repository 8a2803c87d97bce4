#include "language/text_table.h"

// For every Windows display language but Chinese. Short enough for the same
// controls as the Chinese; where a text would not fit it is said shorter.
constinit const TextTable kEnglishTexts = MakeTextTable({
    {TextId::AppTitle, "Lumo Shutdown Timer"},
    {TextId::LanguageMenu, "语言 / Language"},
    {TextId::LanguageAutomatic, "Automatic (as Windows)"},
    {TextId::LanguageChinese, "中文"},
    {TextId::LanguageEnglish, "English"},

    // scheduler/, triggers/, storage/

    // main/, widgets/, startup/

    // tips/, upgrade/

    // command/
});
