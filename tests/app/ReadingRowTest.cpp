// Reading rows: which tab lists a reading, at the edges of each byte range.
#include <QString>
#include <gtest/gtest.h>

#include "app/ReadingRow.h"

namespace {

struct RowCase {
    const char* reading;
    int row;
};

const RowCase kRows[] = {
    // Voiced forms in every script land on their plain row.
    {"ガッコウ", 2},
    {"ｶﾞｯｺｳ", 2},
    {"がっこう", 2},
    // ヴ, ヵ and ヶ are outside the katakana rows; so are kanji and symbols.
    {"ヴァイオリン", 12},
    {"ヵ", 12},
    {"ヶ", 12},
    {"漢字", 12},
    {"〒", 12},
    // Latin: half-width either case and full-width upper case; not full-width lower case.
    {"Ａ", 11},
    {"a", 11},
    {"A", 11},
    {"z", 11},
    {"Ｚ", 11},
    {"ａ", 12},
    // Empty, blank, digits.
    {"", 12},
    {"   ", 12},
    {"\t", 12},
    {"1", 12},
    {"１", 12},
    {"　", 12},
    // Row boundaries of full-width katakana.
    {"ァ", 1},
    {"オ", 1},
    {"カ", 2},
    {"ゴ", 2},
    {"サ", 3},
    {"ゾ", 3},
    {"タ", 4},
    {"ド", 4},
    {"ナ", 5},
    {"ノ", 5},
    {"ハ", 6},
    {"ポ", 6},
    {"マ", 7},
    {"モ", 7},
    {"ャ", 8},
    {"ヨ", 8},
    {"ラ", 9},
    {"ロ", 9},
    {"ヮ", 10},
    {"ン", 10},
    // Hiragana boundaries.
    {"ぁ", 1},
    {"お", 1},
    {"か", 2},
    {"ご", 2},
    {"ぞ", 3},
    {"ど", 4},
    {"な", 5},
    {"ぽ", 6},
    {"ま", 7},
    {"よ", 8},
    {"ろ", 9},
    {"ゎ", 10},
    {"ん", 10},
    // Half-width katakana, including the small letters that fall outside every row.
    {"ｦ", 10},
    {"ｧ", 1},
    {"ｫ", 1},
    {"ｬ", 12},
    {"ｯ", 12},
    {"ｰ", 12},
    {"ｱ", 1},
    {"ｺ", 2},
    {"ﾄ", 4},
    {"ﾉ", 5},
    {"ﾎ", 6},
    {"ﾓ", 7},
    {"ﾖ", 8},
    {"ﾛ", 9},
    {"ﾜ", 10},
    {"ﾝ", 10},
    // Characters the file cannot hold are "他".
    {"𠮷田", 12},
    {"é", 12},
};

TEST(ReadingRowOf, EachReadingLandsOnItsTab) {
    for (const RowCase& c : kRows)
        EXPECT_EQ(q2::ReadingRowOf(QString::fromUtf8(c.reading)), c.row) << c.reading;
}

}  // namespace
