// Print text normalisation: dashes alike, full-width digits, letters
// and katakana, numerals for vertical address lines.
#pragma once

#include <QList>
#include <QString>

#include "print/Typesetting.h"

namespace q2 {

// Half-width katakana become full-width (ｸﾞ → グ, ｰ → ー, ｢｣ → 「」), then
// the dash, digit and letter steps.
QString NormalizePrintText(const QString& text);
// Full-width digits as kanji numerals, one for one: ２３ → 二三.
QString ToKanjiNumerals(const QString& text);
// The digits of a vertical address line under the "数字（縦書き）" option:
// digit by digit, positional below 100 (２３ → 二十三, １２０３ → 一二〇三),
// or kept for upright setting.
QString ToVerticalNumerals(const QString& text, TVerticalNumerals numerals);
// Horizontal writing: the horizontal bar "―" between two digits or Latin
// letters becomes "－" (the bar alone reads as the kanji 一).
QString HorizontalDashes(const QString& text);
bool HorizontalDashAt(const QList<uint>& text, qsizetype i);
// Trim: leading and trailing characters with codes up to 32.
QString PrintTrim(const QString& text);

}  // namespace q2
