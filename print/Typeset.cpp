// Units of a set text: where a Latin run, a pair of digits or a kanji
// numeral changes the one-character-one-cell rule.
#include "print/Typeset.h"

#include "print/TextNormalize.h"

namespace q2 {
namespace {

bool IsDigit(char32_t c) { return (c >= '0' && c <= '9') || (c >= 0xFF10 && c <= 0xFF19); }

// Inside a Latin run: blanks, hyphens, apostrophes and periods between letters.
bool IsRunInner(char32_t c) {
    switch (c) {
    case ' ': case 0x3000: case '-': case 0xFF0D: case 0x2015: case 0x2010: case 0x2212:
    case '\'': case 0xFF07: case 0x2019: case '.': case 0xFF0E:
        return true;
    default:
        return false;
    }
}

bool IsBlank(char32_t c) { return c == ' ' || c == 0x3000; }

// The end of the Latin run starting with the letter at `i`, and its letter count.
qsizetype LatinRunEnd(const QList<uint>& t, qsizetype i, int* letters) {
    qsizetype end = i;
    *letters = 0;
    qsizetype j = i;
    while (j < t.size()) {
        if (IsLatinLetter(t[j])) {
            ++*letters;
            end = ++j;
            continue;
        }
        qsizetype k = j;
        while (k < t.size() && IsRunInner(t[k])) ++k;
        if (k == j || k >= t.size() || !IsLatinLetter(t[k])) break;
        j = k;
    }
    return end;
}

qsizetype DigitRunEnd(const QList<uint>& t, qsizetype i) {
    while (i < t.size() && IsDigit(t[i])) ++i;
    return i;
}

DevicePx AsciiLength(const TPrintFont& font, const QList<uint>& t, qsizetype b, qsizetype e) {
    DevicePx sum;
    for (qsizetype i = b; i < e; ++i) sum += font.Advance(AsciiOf(t[i]));
    return sum;
}

}  // namespace

char32_t AsciiOf(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) return c - 0xFF01 + 0x21;
    switch (c) {
    case 0x3000: return ' ';
    case 0x2015: case 0x2010: case 0x2212: return '-';
    case 0x2019: return '\'';
    default: return c;
    }
}

bool IsLatinLetter(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xFF21 && c <= 0xFF3A) ||
           (c >= 0xFF41 && c <= 0xFF5A);
}

bool IsKanjiNumeral(char32_t c) {
    switch (c) {
    case U'〇': case U'一': case U'二': case U'三': case U'四': case U'五': case U'六': case U'七':
    case U'八': case U'九': case U'十': case U'百':
        return true;
    default:
        return false;
    }
}

namespace {

// Numerals drawn with nothing but horizontal strokes and a cross: one under
// another they merge into a different character (二一 into 三, 十一 into 土).
bool IsStrokeNumeral(char32_t c) {
    return c == U'一' || c == U'二' || c == U'三' || c == U'十';
}

}  // namespace

std::vector<TSetUnit> SetUnits(const TPrintFont& font, const QList<uint>& t, bool vertical) {
    std::vector<TSetUnit> out;
    out.reserve(size_t(t.size()));
    const TWriting& w = font.Writing();
    const qsizetype n = t.size();
    if (!w.Typeset) {
        for (qsizetype i = 0; i < n; ++i) {
            TSetUnit u{TUnitKind::Flat, i, i + 1, t[i], font.Advance(t[i]), {}};
            if (vertical)
                u.Kind = VerticalGlyph(font, t[i]).Rotated ? TUnitKind::Sideways : TUnitKind::Upright;
            out.push_back(u);
        }
        return out;
    }
    const bool latinWords = !vertical || w.Latin == TLatinInVertical::Sideways;
    const bool pairs = vertical && w.Numerals == TVerticalNumerals::Arabic;
    qsizetype i = 0;
    while (i < n) {
        const char32_t c = t[i];
        if (latinWords && IsLatinLetter(c)) {
            int letters = 0;
            const qsizetype end = LatinRunEnd(t, i, &letters);
            if (letters >= 2) {
                // Words and the blanks between them, each a unit of its own.
                while (i < end) {
                    qsizetype j = i + 1;
                    const bool blank = IsBlank(t[i]);
                    while (j < end && IsBlank(t[j]) == blank) ++j;
                    out.push_back({TUnitKind::Word, i, j, 0, AsciiLength(font, t, i, j), {}});
                    i = j;
                }
                continue;
            }
        }
        if (pairs && IsDigit(c) && (i == 0 || !IsDigit(t[i - 1]))) {
            const qsizetype end = DigitRunEnd(t, i);
            if (end - i == 2) {
                out.push_back({TUnitKind::Pair, i, end, 0, DevicePx(RoundInt(font.EmPx())), {}});
                i = end;
                continue;
            }
        }
        if (!vertical) {
            // The horizontal bar between numbers and letters reads as 一: the
            // full-width hyphen-minus stands there instead.
            const char32_t d = (c == 0x2015 && HorizontalDashAt(t, i)) ? char32_t(0xFF0D) : c;
            out.push_back({TUnitKind::Flat, i, i + 1, d, font.Advance(d), {}});
        } else if (VerticalGlyph(font, c).Rotated) {
            out.push_back({TUnitKind::Sideways, i, i + 1, c, font.Advance(c), {}});
        } else {
            TSetUnit u{TUnitKind::Upright, i, i + 1, c, font.CellAdvance(c), {}};
            // Two such numerals one under the other stand apart by more than
            // the strokes inside 二 or 三, so that 二一 is not read as 三.
            // Other neighbours (二七, 一〇) keep the usual pitch: a gap there
            // only reads as a blank inside the number.
            if (i + 1 < n && IsStrokeNumeral(c) && IsStrokeNumeral(t[i + 1]))
                u.Gap = DevicePx(RoundInt(font.EmPx() * kKanjiNumeralGap));
            out.push_back(u);
        }
        ++i;
    }
    return out;
}

DevicePx SetLength(const TPrintFont& font, QStringView text) {
    DevicePx sum;
    for (const TSetUnit& u : SetUnits(font, text.toUcs4(), font.Writing().Vertical)) sum += u.Advance + u.Gap;
    return sum;
}

int PitchSlots(const TPrintFont& font, QStringView text) {
    if (!font.Writing().Typeset) return CharCount(text);
    return int(SetUnits(font, text.toUcs4(), font.Writing().Vertical).size());
}

}  // namespace q2
