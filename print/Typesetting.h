// How a Japanese reader expects Latin words and numbers set: the two print
// options of vertical writing and the writing mode a print font carries.
#pragma once

namespace q2 {

// "欧文（縦書き）": a Latin word of two or more letters in a column.
enum class TLatinInVertical : int {
    Sideways = 0,  // "横倒し": turned 90° clockwise, read top to bottom
    Upright = 1,   // "1文字ずつ正立": one upright letter per cell
};

// "数字（縦書き）": digits of the address lines in a column.
enum class TVerticalNumerals : int {
    Kanji = 0,            // "漢数字（一二三）": digit by digit, 23 → 二三
    KanjiPositional = 1,  // "漢数字（十・百を使う）": below 100 with 十, 23 → 二十三
    Arabic = 2,           // "算用数字（縦中横）": upright digits, two side by side in one cell
};

// What a print font sets text for. A font without `Typeset` measures and
// draws character by character as the layout rules describe (the list
// print); the address printout sets its texts: one cell per character in
// columns, Latin words kept together, numerals and dashes a reader accepts.
struct TWriting {
    bool Typeset = false;
    bool Vertical = false;
    TLatinInVertical Latin = TLatinInVertical::Sideways;
    TVerticalNumerals Numerals = TVerticalNumerals::Kanji;
    bool operator==(const TWriting&) const = default;
};

}  // namespace q2
