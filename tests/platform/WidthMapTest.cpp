// Width, katakana and case mappings.
#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "platform/WidthMap.h"

using namespace q2;

TEST(WidthMap, FullWidthMergesVoicedMarks) {
    struct Case { const char16_t* in; const char16_t* out; };
    const Case cases[] = {
        {u"ｶﾞﾊﾟｳﾞｱﾞ", u"ガパヴア゛"},
        {u"ﾞ", u"゛"},
        {u"Smith 1-2", u"Ｓｍｉｔｈ　１－２"},
        {u"a\"b'c", u"ａ＂ｂ＇ｃ"},
        {u"ｷｬｯﾄ･ｰ｢｣", u"キャット・ー「」"},
        {u"山田", u"山田"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToFullWidth(QString::fromUtf16(c.in)), QString::fromUtf16(c.out));
}

TEST(WidthMap, HalfWidthSplitsVoicedMarks) {
    struct Case { const char16_t* in; const char16_t* out; };
    const Case cases[] = {
        {u"ガパヴ", u"ｶﾞﾊﾟｳﾞ"},
        {u"ヂヅドブ", u"ﾁﾞﾂﾞﾄﾞﾌﾞ"},
        {u"１００－０００１", u"100-0001"},
        {u"ｔｅｌ　０３", u"tel 03"},
        {u"＂＇”’", u"\"'\"'"},
        {u"東京　タワー", u"東京 ﾀﾜｰ"},
        {u"ひらがな", u"ひらがな"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToHalfWidth(QString::fromUtf16(c.in)), QString::fromUtf16(c.out));
}

TEST(WidthMap, KatakanaUpperCaseAndTrim) {
    EXPECT_EQ(ToKatakana(u"やまだ ゔ"), QString::fromUtf16(u"ヤマダ ヴ"));
    EXPECT_EQ(ToUpperCase(u"abcＡｂｃ1"), QString::fromUtf16(u"ABCＡＢＣ1"));
    EXPECT_EQ(Trim(u"\t 山田\u3000 \r\n"), QString::fromUtf16(u"山田\u3000"));
    EXPECT_TRUE(IsKana(QChar(u'ｶ')));
    EXPECT_FALSE(IsKana(QChar(u'山')));
}

TEST(WidthMap, FullWidthQuotationMarksAreTheCp932Ones) {
    EXPECT_EQ(EncodeCp932(ToFullWidth(u"\"'")), QByteArray("\xFA\x57\xFA\x56"));
}
