#include "language/text_table.h"

// The program's first language: every text exactly as its users know it.
constinit const TextTable kChineseTexts = MakeTextTable({
    {TextId::AppTitle, "Lumo定时关机"},
    {TextId::LanguageMenu, "语言 / Language"},
    {TextId::LanguageAutomatic, "自动（跟随Windows）"},
    {TextId::LanguageChinese, "中文"},
    {TextId::LanguageEnglish, "English"},

    // scheduler/, triggers/, storage/

    // main/, widgets/, startup/

    // tips/, upgrade/

    // command/
});
