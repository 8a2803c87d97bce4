#include "language/report_title.h"

#include "language/language.h"

std::string ReportTitle() { return FormatText(TextId::ReportTitle, {Text(TextId::AppTitle)}); }
