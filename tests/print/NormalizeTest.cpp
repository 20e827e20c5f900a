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
    {u"ｶﾞｰﾃﾞﾝ 港区", u"ｶﾞｰﾃﾞﾝ 港区"},
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

TEST(PrintTrim, KeepsFullWidthSpace) {
    EXPECT_EQ(PrintTrim(U(u" \t　a　 \r\n")), U(u"　a　"));
}
