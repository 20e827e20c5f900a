// The record splitter, the field splitter and the encoding detection.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringEncoder>

#include "exchange/CsvReader.h"
#include "platform/Cp932.h"

using namespace q2;

namespace {

struct SplitCase {
    const char* name;
    const char* input;
    QStringList expected;
};

}  // namespace

TEST(SplitCsvRecords, LineEndsAndQuotedRuns) {
    const SplitCase cases[] = {
        {"empty file", "", {}},
        {"trailing line end yields nothing", "a\r\n", {"a"}},
        {"CR, LF and CR LF", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"empty line in the middle", "a\n\nb\n", {"a", "", "b"}},
        {"lone line end", "\n", {""}},
        {"line end inside quotes stays", "\"x\r\ny\",z\r\nw", {"\"x\r\ny\",z", "w"}},
        {"doubled quote keeps the run open", "\"a\"\"\nb\"\nc", {"\"a\"\"\nb\"", "c"}},
        {"unclosed quote runs to the end", "\"a\nb\nc", {"\"a\nb\nc"}},
        {"quote in the middle of a record opens a run", "ab\"c\nd\"\ne", {"ab\"c\nd\"", "e"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCsvRecords(QString::fromUtf8(c.input)), c.expected) << c.name;
}

TEST(MarkLineBreaks, OnlyCrLfPairsBecomeMarkers) {
    QStringList r = {"\"a\r\nb\"", "\"c\nd\""};
    MarkLineBreaks(r);
    EXPECT_EQ(r, QStringList({"\"a#BR#b\"", "\"c\nd\""}));
}

TEST(SplitCsvFields, Dialect) {
    const SplitCase cases[] = {
        {"empty record has no fields", "", {}},
        {"plain", "a,b,c", {"a", "b", "c"}},
        {"leading comma", ",a", {"", "a"}},
        {"two commas", "a,,b", {"a", "", "b"}},
        {"trailing comma adds an empty field", "a,b,", {"a", "b", ""}},
        {"spaces are text", " 山田 太郎 , x ", {" 山田 太郎 ", " x "}},
        {"quoted with comma and doubled quotes", "\"a,\"\"b\"\"\",c", {"a,\"b\"", "c"}},
        {"tab ends an unquoted field", "ab\tcd,e", {"ab", "cd", "e"}},
        {"controls skipped around fields", "\t a,\t\tb\t", {" a", "b"}},
        {"controls inside quotes are text", "\"a\tb\",c", {"a\tb", "c"}},
        {"text after a closing quote starts a field", "\"a\"b,c", {"a", "b", "c"}},
        {"unclosed quoted field runs to the end", "\"a,b", {"a,b"}},
        {"literal marker becomes a space", "x#HAN_SPACE#y,#HAN_SPACE#", {"x y", " "}},
        {"only controls", "\t\t", {}},
        {"comma then tab at the end", "a,\t", {"a"}},
    };
    for (const auto& c : cases) {
        const QString in = QString::fromUtf8(c.input);
        EXPECT_EQ(SplitCsvFields(in), c.expected) << c.name;
        EXPECT_EQ(CountCsvFields(in), c.expected.size()) << c.name;
    }
}

TEST(PreviewText, RemovesMarkersInAnyCase) {
    EXPECT_EQ(PreviewText("一行目#BR#二行目#br#三"), QString("一行目二行目三"));
}

TEST(DecodeCsvFile, Utf8WithAndWithoutBomReadsLikeItsCp932Twin) {
    const QString text = QStringLiteral("山田 太郎,ｶﾀｶﾅ,①\r\n");
    const QByteArray cp932 = EncodeCp932(text);
    const QByteArray utf8 = text.toUtf8();
    struct {
        QByteArray bytes;
        CsvEncoding encoding;
    } cases[] = {{cp932, CsvEncoding::Cp932},
                 {utf8, CsvEncoding::Utf8},
                 {"\xEF\xBB\xBF" + utf8, CsvEncoding::Utf8},
                 {QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(text.utf16()),
                                                        text.size() * 2),
                  CsvEncoding::Utf16Le},
                 {QByteArray("\xFE\xFF", 2) + QStringEncoder(QStringConverter::Utf16BE)(text),
                  CsvEncoding::Utf16Be}};
    for (const auto& c : cases) {
        CsvEncoding e;
        EXPECT_EQ(DecodeCsvFile(c.bytes, &e), text);
        EXPECT_EQ(e, c.encoding);
    }
    // Plain ASCII is the same in both; a BOM alone still says UTF-8.
    EXPECT_EQ(DetectCsvEncoding("abc,def"), CsvEncoding::Cp932);
    EXPECT_EQ(DetectCsvEncoding("\xEF\xBB\xBF"
                                "abc"),
              CsvEncoding::Utf8);
    // Overlong and truncated sequences are not UTF-8.
    EXPECT_EQ(DetectCsvEncoding("\xC0\xAF"), CsvEncoding::Cp932);
    EXPECT_EQ(DetectCsvEncoding("a\xE5\xB1"), CsvEncoding::Cp932);
}

// The probe imported 1 MB of random bytes as 3,919 records and a UTF-16 file
// as records full of NULs.
TEST(DecodeCsvText, RefusesWhatIsNoText) {
    QByteArray random(1 << 20, Qt::Uninitialized);
    QRandomGenerator gen(25);
    for (char& b : random) b = char(gen.bounded(256));
    QByteArray noNul = random;
    noNul.replace('\0', 'x');
    QByteArray mostlyBad = EncodeCp932(QStringLiteral("山田,東京\r\n"));
    mostlyBad += QByteArray(20, '\x80');  // 0x80 starts no CP932 character
    const QString utf16Text = QStringLiteral("山田,東京\r\n");
    const QByteArray utf16NoBom(reinterpret_cast<const char*>(utf16Text.utf16()), utf16Text.size() * 2);
    const struct {
        const char* what;
        QByteArray bytes;
        bool text;
    } cases[] = {
        {"random bytes", random, false},
        {"random bytes without NUL", noNul, false},
        {"UTF-16 without its byte-order mark", utf16NoBom, false},
        {"NUL inside a CP932 file", QByteArray("a,b\r\n\0c,d\r\n", 11), false},
        {"mostly undecodable", mostlyBad, false},
        {"one stray byte among text", EncodeCp932(QStringLiteral("山田太郎,東京都千代田区\r\n")) + "\x80", true},
        {"UTF-16 with its mark", QByteArray("\xFF\xFE", 2) + utf16NoBom, true},
        {"empty file", "", true},
    };
    for (const auto& c : cases) {
        QString text;
        EXPECT_EQ(DecodeCsvText(c.bytes, &text), c.text) << c.what;
    }
    QString text;
    ASSERT_TRUE(DecodeCsvText(QByteArray("\xFF\xFE", 2) + utf16NoBom, &text));
    EXPECT_EQ(SplitCsvFields(SplitCsvRecords(text).value(0)), (QStringList{"山田", "東京"}));
}
