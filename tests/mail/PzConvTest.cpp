// ISO-2022-JP bodies and encoded-word headers from CP932 text.
#include <gtest/gtest.h>

#include "mail/PzConv.h"
#include "platform/Cp932.h"

using namespace q2;

namespace {
QByteArray Sjis(const char16_t* text) { return EncodeCp932(QString::fromUtf16(text)); }
const QByteArray kIn("\x1B$B"), kOut("\x1B(B");
}  // namespace

TEST(PzConv, SwitchesModesAroundDoubleByteCharacters) {
    const TPzConv conv;
    struct Case { const char16_t* text; QByteArray jis; };
    const Case cases[] = {
        {u"ABC", "ABC"},
        {u"あ", kIn + "\x24\x22" + kOut},
        {u"亜", kIn + "\x30\x21" + kOut},
        {u"aあb", "a" + kIn + "\x24\x22" + kOut + "b"},
        {u"あ\r\nい", kIn + "\x24\x22" + kOut + "\r\n" + kIn + "\x24\x24" + kOut},
        {u"ｶﾞ", kIn + "\x25\x2C" + kOut},  // ガ
        {u"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(conv.SjisToJis(Sjis(c.text)), c.jis) << QString::fromUtf16(c.text).toStdString();

    TPzConv roman;
    roman.JisByteCodeType = TJisByteCodeType::btRoman;
    EXPECT_EQ(roman.SjisToJis(Sjis(u"aあb")), "a" + kIn + "\x24\x22\x1B(Jb");
    TPzConv none;
    none.JisKanaConvType = TJisKanaConvType::ktNone;
    EXPECT_EQ(none.SjisToJis(Sjis(u"ｱ")), QByteArray("\xB1"));
}

TEST(PzConv, HalfWidthKatakanaBecomeFullWidth) {
    struct Case { const char16_t* in; const char16_t* combined; const char16_t* separate; };
    const Case cases[] = {
        {u"ｶﾞ", u"ガ", u"カ゛"}, {u"ﾊﾟ", u"パ", u"ハ゜"}, {u"ｳﾞ", u"ヴ", u"ウ゛"},
        {u"ｱﾞ", u"ア゛", u"ア゛"}, {u"ﾞ", u"゛", u"゛"},   {u"ﾄﾞﾎﾟｰ｡", u"ドポー。", u"ト゛ホ゜ー。"},
        {u"漢字ｶ", u"漢字カ", u"漢字カ"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TPzConv::HanToZenCombined(Sjis(c.in)), Sjis(c.combined));
        EXPECT_EQ(TPzConv::HanToZenSeparate(Sjis(c.in)), Sjis(c.separate));
    }
    // A trail byte in the half-width katakana range is part of its character.
    EXPECT_EQ(TPzConv::HanToZenCombined(Sjis(u"ｿ")), Sjis(u"ソ"));
    EXPECT_EQ(TPzConv::HanToZenCombined(QByteArray("\x83\xB1")), QByteArray("\x83\xB1"));
}

TEST(PzConv, CodesOutsideTheSevenBitRowsBecomeGeta) {
    const TPzConv conv;
    // A user-defined character (F040) and a lone lead byte at the end.
    EXPECT_EQ(conv.SjisToJis(QByteArray("\xF0\x40")), kIn + "\x22\x2E" + kOut);
    EXPECT_EQ(conv.SjisToJis(QByteArray("a\x82")), "a" + kIn + "\x22\x2E" + kOut);
    // Row 13 (①) stays: mail readers in Japan take it.
    EXPECT_EQ(conv.SjisToJis(Sjis(u"①")), kIn + "\x2D\x21" + kOut);
}

TEST(PzConv, HeadersAreOneEncodedWord) {
    const TPzConv conv;
    EXPECT_EQ(conv.EncodeMimeHeader("Taro"), "Taro");
    EXPECT_EQ(conv.EncodeMimeHeader(""), "");
    EXPECT_EQ(conv.EncodeMimeHeader(Sjis(u"ﾀﾛｳ")), Sjis(u"ﾀﾛｳ"));
    const QByteArray h = conv.EncodeMimeHeader(Sjis(u"山田 太郎"));
    ASSERT_TRUE(h.startsWith("=?ISO-2022-JP?B?"));
    ASSERT_TRUE(h.endsWith("?="));
    const QByteArray decoded = QByteArray::fromBase64(h.mid(16, h.size() - 18));
    EXPECT_EQ(decoded, conv.SjisToJis(Sjis(u"山田 太郎")));
    EXPECT_TRUE(decoded.endsWith(kOut));
    EXPECT_EQ(TPzConv::Base64Encode("abc"), "YWJj");
    EXPECT_EQ(TPzConv::Base64Encode("ab"), "YWI=");
    EXPECT_EQ(TPzConv::Base64Encode("a"), "YQ==");
}
