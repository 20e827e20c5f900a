// Print text normalisation (Part 3.2): dashes alike, full-width digits and
// letters, kanji numerals for vertical address lines.
#pragma once

#include <QString>

namespace q2 {

QString NormalizePrintText(const QString& text);
QString ToKanjiNumerals(const QString& text);
// Part 1.1's trim: leading and trailing characters with codes up to 32.
QString PrintTrim(const QString& text);

}  // namespace q2
