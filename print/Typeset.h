// Setting a text into units along its line or column: single characters,
// Latin words, pairs of digits side by side (縦中横). Measuring and drawing
// both walk these units, so a column is exactly as long as it is measured.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <vector>

#include "print/PrintFont.h"

namespace q2 {

enum class TUnitKind {
    Flat,      // horizontal writing: one character along the line
    Upright,   // vertical writing: one character upright, centred in its cell
    Sideways,  // vertical writing: one character turned 90° clockwise
    Word,      // a Latin word (or the blank between two), in horizontal
               // writing along the line, in vertical writing turned sideways
    Pair,      // vertical writing: two digits side by side in one cell (縦中横)
};

struct TSetUnit {
    TUnitKind Kind = TUnitKind::Flat;
    qsizetype Begin = 0, End = 0;  // the characters it sets
    char32_t Char = 0;  // Flat, Upright, Sideways: the character drawn (a dash may differ from the text's)
    DevicePx Advance;   // the cell's length along the line or column
    DevicePx Gap;       // extra space after the cell (between two kanji numerals)
};

// The extra space between two kanji numerals of a column, in ems.
constexpr double kKanjiNumeralGap = 0.5;

// The units of `text` (as code points) in `font`'s writing, vertical or not.
// A font without Writing().Typeset gives one unit per character with the
// character's own advance, as the layout rules measure.
std::vector<TSetUnit> SetUnits(const TPrintFont& font, const QList<uint>& text, bool vertical);

// The sum of the units' advances and gaps.
DevicePx SetLength(const TPrintFont& font, QStringView text);
// How many places take the extra pitch of DrawSpacedText: one after each
// unit, so a Latin word is spread between words only.
int PitchSlots(const TPrintFont& font, QStringView text);

// A full-width Latin letter, digit or sign as its ASCII form; others stay.
char32_t AsciiOf(char32_t c);
bool IsLatinLetter(char32_t c);
bool IsKanjiNumeral(char32_t c);

}  // namespace q2
