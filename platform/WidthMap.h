// Full-width, half-width, katakana and upper-case mappings over the CP932
// repertoire, in place of the locale service the Windows program called.
#pragma once

#include <QString>
#include <QStringView>

namespace q2 {

// Half-width letters, digits, symbols, space and katakana become full-width;
// a half-width katakana followed by a voiced or semi-voiced mark becomes one
// full-width character (ｶﾞ → ガ, ﾊﾟ → パ, ｳﾞ → ヴ).
QString ToFullWidth(QStringView text);

// The reverse: full-width ASCII forms, the ideographic space and katakana
// become half-width; a voiced katakana splits into kana and mark (ガ → ｶﾞ).
// Characters without a half-width form (kanji, hiragana) stay.
QString ToHalfWidth(QStringView text);

// Hiragana become full-width katakana; everything else stays.
QString ToKatakana(QStringView text);

// ASCII and full-width Latin letters become upper case.
QString ToUpperCase(QStringView text);

// True for hiragana, full-width katakana, half-width katakana and the marks
// that belong to them (ー ゛ ゜ ・ ｰ ﾞ ﾟ).
bool IsKana(QChar c);

// Removes leading and trailing characters with codes up to 32; a full-width
// space stays.
QString Trim(QStringView text);

}  // namespace q2
