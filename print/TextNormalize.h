// Print text normalisation: dashes alike, full-width digits and
// letters, kanji numerals for vertical address lines.
#pragma once

#include <QString>

namespace q2 {

QString NormalizePrintText(const QString& text);
QString ToKanjiNumerals(const QString& text);
// Trim: leading and trailing characters with codes up to 32.
QString PrintTrim(const QString& text);

}  // namespace q2
