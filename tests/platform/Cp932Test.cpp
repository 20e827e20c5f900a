// The CP932 codec: round trips, the forms Windows writes, and bytes or
// characters that have no counterpart.
#include <gtest/gtest.h>

#include "platform/Cp932.h"

using namespace q2;

TEST(Cp932, RoundTripsJapaneseTextAndTheBytesWindowsKeeps) {
    struct Case { QByteArray bytes; QString text; };
    const Case cases[] = {
        {QByteArray("\x8E\x52\x93\x63\x20\x91\xBE\x98\x59"), QStringLiteral("山田 太郎")},
        {QByteArray("\x5C\x7E"), QStringLiteral("\\~")},   // not ¥ and ‾ as strict Shift_JIS reads them
        {QByteArray("\x87\x40"), QStringLiteral("①")},
        {QByteArray("\xB6\xDE"), QStringLiteral("ｶﾞ")},
        {QByteArray("\xF0\x40"), QString(QChar(0xE000))},  // user-defined area
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeCp932(c.bytes), c.text) << c.bytes.toHex().constData();
        EXPECT_EQ(EncodeCp932(c.text), c.bytes) << c.bytes.toHex().constData();
    }
}

TEST(Cp932, NecSelectedIbmCharactersComeBackInTheFormWindowsWrites) {
    // ED40 (NEC-selected IBM extension) reads as the same character as FA5C.
    const QString text = DecodeCp932(QByteArray("\xED\x40"));
    EXPECT_EQ(text, DecodeCp932(QByteArray("\xFA\x5C")));
    EXPECT_EQ(EncodeCp932(text), QByteArray("\xFA\x5C"));
}

TEST(Cp932, BadBytesSurviveADecodeEncodeRoundTrip) {
    const QByteArray cases[] = {
        QByteArray("abc\x82"),         // lone lead byte at the end
        QByteArray("\x82\x20x"),       // lead byte with a trail byte out of range
        QByteArray("\x80\xA0\xFD\xFF"),
    };
    for (const QByteArray& bytes : cases) {
        const QString text = DecodeCp932(bytes);
        EXPECT_EQ(EncodeCp932(text), bytes) << bytes.toHex().constData();
    }
    // The lead byte's neighbour is read again as a character of its own.
    EXPECT_EQ(DecodeCp932(QByteArray("\x82\x20x")).mid(1), QStringLiteral(" x"));
}

TEST(Cp932, AKeptLeadByteDoesNotSwallowACharacterWrittenInAnotherForm) {
    // A lead byte that did not pair with the bytes after it must not pair with
    // the form those bytes are written back in: every lead byte before every
    // character of the rows that hold duplicates (NEC row 13, NEC-selected and
    // IBM extensions) reads back as the same text.
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (const int first : {0x87, 0xED, 0xEE, 0xFA, 0xFB, 0xFC}) {
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const QByteArray character = QByteArray(1, char(first)) + char(trail);
                if (DecodeCp932(character).size() != 1) continue;
                const QByteArray bytes = QByteArray(1, char(lead)) + character;
                const QString text = DecodeCp932(bytes);
                if (text.size() != 2) continue;  // the lead byte paired: nothing kept
                ++checked;
                ASSERT_EQ(DecodeCp932(EncodeCp932(text)), text) << bytes.toHex().constData();
            }
        }
    }
    EXPECT_GT(checked, 1000);
    // Found by fuzzing: ∵ after a kept 84, whose usual form 81E6 and NEC form
    // 879A both pair with it; only the IBM form FA5B keeps the text.
    const QByteArray found("\x84\xFA\x5B");
    EXPECT_EQ(EncodeCp932(DecodeCp932(found)), found);
}

TEST(Cp932, ReportsWhereCharactersCannotBeHeld) {
    QList<qsizetype> bad;
    const QString text = QStringLiteral("a𠮷bé");
    EXPECT_EQ(EncodeCp932(text, &bad), QByteArray("a?b?"));
    EXPECT_EQ(bad, (QList<qsizetype>{1, 4}));
    EXPECT_FALSE(IsCp932Encodable(text));
    EXPECT_TRUE(IsCp932Encodable(QStringLiteral("東京都千代田区霞が関１－２")));
    // The check must agree with the encoder: bytes a load kept undecoded
    // stand in the text as escapes and go back out, a lone surrogate does not.
    const QString kept = DecodeCp932(QByteArray("ab\x81\xFF" "c\x84"));
    const QString cases[] = {kept, QString(QChar(0xD800)), QString(QChar(0xDFFF)), QStringLiteral("∵髙①㈱"),
                             QStringLiteral("é"), QString()};
    for (const QString& c : cases) {
        QList<qsizetype> unmappable;
        EncodeCp932(c, &unmappable);
        EXPECT_EQ(IsCp932Encodable(c), unmappable.isEmpty()) << c.toStdString();
    }
}
