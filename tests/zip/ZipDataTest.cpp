// Postal code lookups, on a small fixture and on the postal data we ship.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/Cp932.h"
#include "zip/ZipData.h"

using namespace q2;

namespace {
const QString kShipped = QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat");

QString Fixture(const QTemporaryDir& dir) {
    const QString path = dir.filePath("zip.dat");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(
        EncodeCp932(QStringLiteral("1000013,東京都千代田区霞が関\r\n1000014,"
                                   "東京都千代田区永田町\n1010001,東京都千代田区神田須田町\r"
                                   "9999999,Test Town, with comma\r\nno comma line\r\n")));
    return path;
}
}  // namespace

TEST(ZipData, SearchByZipIsAPrefixMatchInFileOrder) {
    QTemporaryDir dir;
    const QString path = Fixture(dir);
    const TZipSearch s = SearchByZip(path, "100", "");
    EXPECT_EQ(s.Result, TZipSearchResult::Found);
    EXPECT_EQ(s.Label, QStringLiteral("検索キー：100-"));
    ASSERT_EQ(s.Entries.size(), 2);
    EXPECT_EQ(s.Entries[0], (TZipEntry{"100", "0013", QStringLiteral("東京都千代田区霞が関")}));
    EXPECT_EQ(s.Entries[1].CodeColumn(), "100-0014");
    EXPECT_EQ(SearchByZip(path, "999", "9999").Entries[0].Address, "Test Town, with comma");
    EXPECT_EQ(SearchByZip(path, "123", "4567").Result, TZipSearchResult::NotFound);
}

TEST(ZipData, ShortOrBlankKeysAreRefusedWithoutReadingTheFile) {
    const TZipSearch s = SearchByZip("/nonexistent/zip.dat", "10", "0001");
    EXPECT_EQ(s.Result, TZipSearchResult::NoKey);
    EXPECT_EQ(ZipSearchMessage(s, false, ""), QStringLiteral("郵便番号が不明です"));
    const TZipSearch a = SearchByAddress("/nonexistent/zip.dat", " \t ");
    EXPECT_EQ(a.Result, TZipSearchResult::NoKey);
    EXPECT_EQ(ZipSearchMessage(a, true, ""), QStringLiteral("住所が不明です"));
    EXPECT_EQ(SearchByZip("/nonexistent/zip.dat", "100", "").Result, TZipSearchResult::FileError);
}

TEST(ZipData, EmptyOrOverwrittenDataIsToldAsDamaged) {
    QTemporaryDir dir;
    const QString path = dir.filePath("zip.dat");
    for (const QByteArray& bytes : {QByteArray(), QByteArray(11400, '\0'), QByteArray("<html>busy</html>\r\n")}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        const TZipSearch s = SearchByZip(path, "100", "0013");
        EXPECT_EQ(s.Result, TZipSearchResult::Damaged);
        EXPECT_TRUE(ZipSearchMessage(s, false, path).startsWith(QStringLiteral("郵便番号データ ") + path + QStringLiteral(" が破損しています。")));
        EXPECT_EQ(SearchByAddress(path, QStringLiteral("霞が関")).Result, TZipSearchResult::Damaged);
    }
}

TEST(ZipData, SearchByAddressLooksAtTheWholeLineIgnoringCase) {
    QTemporaryDir dir;
    const QString path = Fixture(dir);
    EXPECT_EQ(SearchByAddress(path, QStringLiteral("霞が関")).Entries.size(), 1);
    EXPECT_EQ(SearchByAddress(path, "test town").Entries.size(), 1);
    EXPECT_EQ(SearchByAddress(path, "1010001").Entries.size(),
              1);  // the code digits are searched too
    EXPECT_EQ(SearchByAddress(path, QStringLiteral("１００")).Result, TZipSearchResult::NotFound);
    const TZipSearch noComma = SearchByAddress(path, "no comma");
    ASSERT_EQ(noComma.Entries.size(), 1);
    EXPECT_EQ(noComma.Entries[0].CodeColumn(), "-");
    EXPECT_EQ(noComma.Entries[0].Address, "no comma line");
}

TEST(ZipData, RealPostalData) {
    const TZipSearch s = SearchByZip(kShipped, "263", "0023");
    ASSERT_EQ(s.Result, TZipSearchResult::Found);
    EXPECT_EQ(s.Entries[0].Address, QStringLiteral("千葉県千葉市稲毛区緑町"));
    EXPECT_EQ(SearchByZip(kShipped, "100", "").Entries.size() > 50, true);
    const TZipSearch k = SearchByAddress(kShipped, QStringLiteral("千代田区霞が関"));
    ASSERT_FALSE(k.Entries.isEmpty());
    EXPECT_EQ(k.Entries[0].CodeColumn(), "100-0013");
    EXPECT_EQ(SearchByZip(kShipped, "123", "4567").Result, TZipSearchResult::NotFound);
}

// The lookups against a plain test of every line of the shipped file.
TEST(ZipData, LookupsListTheSameLinesAsALineByLineScan) {
    QFile f(kShipped);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines =
        DecodeCp932(f.readAll()).split(QRegularExpression("\r\n|\r|\n"), Qt::SkipEmptyParts);
    auto byLine = [&](auto matches) {
        QList<TZipEntry> out;
        for (const QString& line : lines)
            if (matches(line)) out.append(ParseZipLine(line));
        return out;
    };
    for (const char* key : {"1000", "0600042", "9071801", "999"}) {
        const QString k = QString::fromUtf8(key);
        EXPECT_EQ(SearchByZip(kShipped, k.left(3), k.mid(3)).Entries,
                  byLine([&](const QString& l) { return l.startsWith(k); }))
            << key;
    }
    // 区 occurs twice in some lines; ｂ (full-width) matches Ｂ; a code digit run too.
    for (const char* key : {"霞が関", "区", "ｂ", "0013,", "ＮＨＫ"}) {
        const QString k = QString::fromUtf8(key);
        EXPECT_EQ(SearchByAddress(kShipped, k).Entries,
                  byLine([&](const QString& l) { return l.contains(k, Qt::CaseInsensitive); }))
            << key;
    }
    EXPECT_EQ(SearchByAddress(kShipped, QStringLiteral("霞が関\r\n東京都")).Result,
              TZipSearchResult::NotFound);
}
