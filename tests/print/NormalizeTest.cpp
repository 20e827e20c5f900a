// The normalisation table: normalisation and kanji numerals.
#include <gtest/gtest.h>

#include "platform/OsVersion.h"
#include "print/TextNormalize.h"

using namespace q2;

namespace {

QString U(const char16_t* s) { return QString::fromUtf16(s); }

struct NormCase {
    const char16_t* in;
    const char16_t* out;
};
const NormCase kCases[] = {
    {u"1-2-3", u"１―２―３"},
    {u"Ａ棟 b-101", u"Ａ棟 ｂ―１０１"},
    {u"スーパー", u"スーパー"},
    {u"１－２‐３", u"１―２‐３"},
    // Half-width katakana widen, marks merged; records keep what was typed.
    {u"ｶﾞｰﾃﾞﾝ 港区", u"ガーデン 港区"},
    {u"ｸﾞﾗﾝﾃﾞ芝公園", u"グランデ芝公園"},
    {u"ﾊﾟｰｸ･ｳﾞｨﾗ", u"パーク・ヴィラ"},
    {u"｢ﾒｿﾞﾝ｣1-2", u"「メゾン」１―２"},
    {u"", u""},
};

}  // namespace

TEST(NormalizePrintText, FollowsTheTable) {
    for (const NormCase& c : kCases) EXPECT_EQ(NormalizePrintText(U(c.in)), U(c.out)) << U(c.in).toStdString();
}

TEST(NormalizePrintText, VersionClassNineTurnsEveryDashHalfWidth) {
    SetWindowsVersionClassForTesting(9);
    EXPECT_EQ(NormalizePrintText(U(u"1-2―3")), U(u"１-２-３"));
    SetWindowsVersionClassForTesting(-1);
    EXPECT_EQ(NormalizePrintText(U(u"1-2")), U(u"１―２"));
}

TEST(ToKanjiNumerals, VerticalAddressLine) {
    EXPECT_EQ(ToKanjiNumerals(NormalizePrintText(U(u"港区1-2-3"))), U(u"港区一―二―三"));
    EXPECT_EQ(ToKanjiNumerals(U(u"２３０")), U(u"二三〇"));  // no positional formation
}

struct NumeralCase {
    const char16_t* in;
    const char16_t* kanji;
    const char16_t* positional;
    const char16_t* arabic;
};
const NumeralCase kNumerals[] = {
    {u"15", u"一五", u"十五", u"１５"},
    {u"30", u"三〇", u"三十", u"３０"},
    {u"3", u"三", u"三", u"３"},
    {u"10", u"一〇", u"十", u"１０"},
    {u"11", u"一一", u"十一", u"１１"},
    {u"1203", u"一二〇三", u"一二〇三", u"１２０３"},
    {u"100", u"一〇〇", u"一〇〇", u"１００"},
    {u"05", u"〇五", u"〇五", u"０５"},  // zero-padded: a code, not a quantity
    {u"2-21-1", u"二―二一―一", u"二―二十一―一", u"２―２１―１"},
    {u"中京区下丸屋町403-12", u"中京区下丸屋町四〇三―一二", u"中京区下丸屋町四〇三―十二",
     u"中京区下丸屋町４０３―１２"},
};

TEST(ToVerticalNumerals, EachOptionGivesItsText) {
    for (const NumeralCase& c : kNumerals) {
        const QString in = NormalizePrintText(U(c.in));
        EXPECT_EQ(ToVerticalNumerals(in, TVerticalNumerals::Kanji), U(c.kanji)) << U(c.in).toStdString();
        EXPECT_EQ(ToVerticalNumerals(in, TVerticalNumerals::KanjiPositional), U(c.positional))
            << U(c.in).toStdString();
        EXPECT_EQ(ToVerticalNumerals(in, TVerticalNumerals::Arabic), U(c.arabic)) << U(c.in).toStdString();
    }
}

TEST(HorizontalDashes, FullWidthHyphenBetweenNumbersAndLetters) {
    const NormCase cases[] = {
        {u"1-23-45", u"１－２３－４５"},
        {u"03-1234-5678", u"０３－１２３４－５６７８"},
        {u"A-101", u"Ａ－１０１"},
        {u"東京―大阪", u"東京―大阪"},  // between kanji the bar stays
        {u"-1", u"―１"},
    };
    for (const NormCase& c : cases)
        EXPECT_EQ(HorizontalDashes(NormalizePrintText(U(c.in))), U(c.out)) << U(c.in).toStdString();
}

TEST(PrintTrim, KeepsFullWidthSpace) {
    EXPECT_EQ(PrintTrim(U(u" \t　a　 \r\n")), U(u"　a　"));
}
