// Converting Japan Post's published files into zip.dat and the business-code list.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/Cp932.h"
#include "zip/JapanPostData.h"

using namespace q2;

namespace {

const QString kShippedData = QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat");
const QString kBusinessCodes = QStringLiteral(Q2_SOURCE_DIR "/barcode/data/nonumber.txt");

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the generator over the shipped data; the two ZIPs land in dir.
bool MakeJapanPostFiles(const QString& dir, const QStringList& options = {}) {
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            QStringList{QStringLiteral(Q2_JAPANPOST_FILES), kShippedData, kBusinessCodes, dir} +
                options);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray Csv(const QStringList& rows) {
    return EncodeCp932(rows.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

QString KenRow(const QString& code, const QString& city, const QString& town) {
    return QStringLiteral("13101,\"100  \",\"%1\",\"ﾄｳｷｮｳﾄ\",\"ｸ\",\"ﾁｮｳ\",\"東京都\",\"%2\",\"%3\",0,0,0,0,0,0")
        .arg(code, city, town);
}

QString JigRow(const QString& code, const QString& town, const QString& street) {
    return QStringLiteral("13101,\"ｶ\",\"株式会社　例\",\"東京都\",\"千代田区\",\"%2\",\"%3\",\"%1\",\"100  \",\"局\",0,0,0")
        .arg(code, town, street);
}

}  // namespace

TEST(JapanPostTown, CleansTheTownFieldAsTheShippedDataWasBuilt) {
    struct Case { const char* city; const char* town; const char* clean; };
    const Case cases[] = {
        {"千代田区", "以下に掲載がない場合", ""},
        {"北都留郡小菅村", "小菅村の次に６６４番地以降がくる場合", ""},
        {"仲多度郡琴平町", "琴平町の次に１番地がくる場合", ""},
        {"利島村", "利島村一円", ""},
        {"犬上郡多賀町", "一円", "一円"},                     // a real place name
        {"千代田区", "大手町（次のビルを除く）", "大手町"},
        {"三春町", "協和（８８－２、２６０番地）", "協和"},
        {"豊島区", "東池袋サンシャイン６０（４５階）", "東池袋サンシャイン６０　４５階"},
        {"豊島区", "東池袋サンシャイン６０（地階・階層不明）", "東池袋サンシャイン６０"},
        {"中村区", "名駅ミッドランドスクエア（高層棟）（１階）", "名駅ミッドランドスクエア（高層棟）　１階"},
        {"中村区", "名駅（「１丁目（除く）」）", "名駅"},                    // nested
        {"和賀郡西和賀町", "樺沢（１６地割", "樺沢"},                      // never closed
        {"港区", "（４５階）六本木", "六本木"},                            // a floor only at the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(CleanTownName(QString::fromUtf8(c.city), QString::fromUtf8(c.town)),
                  QString::fromUtf8(c.clean))
            << c.town;
}

TEST(JapanPostConvert, JoinsMultiLineTownsSortsAndListsBusinessCodes) {
    const QByteArray ken = Csv({
        KenRow("1000005", "千代田区", "丸の内（次のビルを除く）"),
        KenRow("1000004", "千代田区", "大手町（次のビルを除く、１丁目、"),
        KenRow("1000004", "千代田区", "２丁目）"),
        KenRow("1000004", "千代田区", "大手町（その他）"),   // the same text again
        KenRow("1000004", "千代田区", "内幸町"),
        KenRow("1000006", "千代田区", "有楽町（"),           // never closed: the next code is not swallowed
        KenRow("1000007", "千代田区", "皇居外苑"),
    });
    const QByteArray jig = Csv({
        JigRow("1008799", "大手町", "２丁目３－１"),
        JigRow("1000004", "大手町", "１丁目"),              // also a residential code
        JigRow("1008798", "霞が関", "１丁目（別館）"),      // street notes stay
    });
    TJapanPostData out;
    QString error;
    ASSERT_TRUE(ConvertJapanPost(ken, jig, &out, &error)) << error.toStdString();
    EXPECT_EQ(DecodeCp932(out.ZipDat), QStringLiteral(
        "1000004,東京都千代田区大手町\r\n"
        "1000004,東京都千代田区内幸町\r\n"
        "1000004,東京都千代田区大手町１丁目\r\n"
        "1000005,東京都千代田区丸の内\r\n"
        "1000006,東京都千代田区有楽町\r\n"
        "1000007,東京都千代田区皇居外苑\r\n"
        "1008798,東京都千代田区霞が関１丁目（別館）\r\n"
        "1008799,東京都千代田区大手町２丁目３－１\r\n"));
    EXPECT_EQ(out.NoNumber, "1008798\n1008799\n");
    EXPECT_EQ(out.ResidentialLines, 5);
    EXPECT_EQ(out.BusinessLines, 3);
}

TEST(JapanPostConvert, RefusesRowsOfTheWrongWidthAndBadCodes) {
    const QByteArray jig = Csv({JigRow("1008799", "大手町", "２丁目")});
    const QByteArray goodKen = Csv({KenRow("1000004", "千代田区", "大手町")});
    TJapanPostData out;
    QString error;
    QString shortRow = KenRow("1000004", "千代田区", "大手町");
    shortRow.chop(2);
    EXPECT_FALSE(ConvertJapanPost(Csv({KenRow("1000005", "千代田区", "丸の内"), shortRow}), jig, &out, &error));
    EXPECT_EQ(error, QStringLiteral("KEN_ALL.CSV line 2: 14 columns, not 15"));
    EXPECT_FALSE(ConvertJapanPost(goodKen, goodKen, &out, &error));
    EXPECT_EQ(error, QStringLiteral("JIGYOSYO.CSV line 1: 15 columns, not 13"));
    EXPECT_FALSE(ConvertJapanPost(Csv({KenRow("100-004", "千代田区", "大手町")}), jig, &out, &error));
    EXPECT_FALSE(ConvertJapanPost(Csv({KenRow("1000004", "千代田区", "大手\r\n町")}), jig, &out, &error));
    EXPECT_TRUE(out.ZipDat.isEmpty());
    EXPECT_TRUE(ConvertJapanPost(goodKen, jig, &out, &error));
}

TEST(JapanPostUnpack, ReadsTheCsvOfARealZipAndRefusesOtherBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(MakeJapanPostFiles(dir.path(), {QStringLiteral("--prefixes"), QStringLiteral("100")}));
    QByteArray csv;
    QString error;
    ASSERT_TRUE(UnpackCsv(ReadFile(dir.filePath("ken_all.zip")), &csv, &error)) << error.toStdString();
    EXPECT_TRUE(DecodeCp932(csv).contains(QStringLiteral("\"1000013\"")));
    const QByteArray zip = ReadFile(dir.filePath("ken_all.zip"));
    for (const QByteArray& bad : {QByteArray(), QByteArray("PK"), QByteArray("<html>503</html>"),
                                  zip.left(zip.size() / 2)}) {
        EXPECT_FALSE(UnpackCsv(bad, &csv, &error)) << bad.size();
        EXPECT_TRUE(csv.isEmpty());
        EXPECT_FALSE(error.isEmpty());
    }
}

// The whole shipped data written out in Japan Post's layout, with its
// oddities, converts back to the very same bytes.
TEST(JapanPostConvert, TheShippedDataRoundTrips) {
    QTemporaryDir dir;
    ASSERT_TRUE(MakeJapanPostFiles(dir.path()));
    QByteArray ken, jig;
    ASSERT_TRUE(UnpackCsv(ReadFile(dir.filePath("ken_all.zip")), &ken));
    ASSERT_TRUE(UnpackCsv(ReadFile(dir.filePath("jigyosyo.zip")), &jig));
    TJapanPostData out;
    QString error;
    ASSERT_TRUE(ConvertJapanPost(ken, jig, &out, &error)) << error.toStdString();

    const QString text = DecodeCp932(out.ZipDat);
    struct Spot { const char* code; const char* lines; };
    const Spot spots[] = {
        {"1000013", "東京都千代田区霞が関"},
        {"2630023", "千葉県千葉市稲毛区緑町"},
        {"0640804", "北海道札幌市中央区南四条西"},
        {"9100067", "福井県福井市新田塚"},
        {"0170897", "秋田県大館市三ノ丸"},
        {"0100135", "秋田県秋田市上新城五十丁"},
        {"1000000", "東京都千代田区"},                                       // 以下に掲載がない場合
        {"4090211", "山梨県北都留郡小菅村"},                                 // …の次に…がくる場合
        {"7660001", "香川県仲多度郡琴平町"},
        {"5220317", "滋賀県犬上郡多賀町一円"},
        {"1706045", "東京都豊島区東池袋サンシャイン６０　４５階"},
        {"1706090", "東京都豊島区東池袋サンシャイン６０"},
        {"4506201", "愛知県名古屋市中村区名駅ミッドランドスクエア（高層棟）　１階"},
        {"0040000", "北海道札幌市厚別区|北海道札幌市清田区"},
        {"0295502", "岩手県和賀郡西和賀町樺沢|岩手県和賀郡西和賀町下前|岩手県和賀郡西和賀町寅沢"},
        {"0018501", "北海道札幌市北区北二十九条西２丁目１番１号"},           // a business code
        {"1234567", ""},
    };
    for (const Spot& s : spots) {
        QStringList found;
        const QString key = QString::fromLatin1(s.code) + QLatin1Char(',');
        for (qsizetype at = text.indexOf(key); at >= 0; at = text.indexOf(key, at + 1))
            if (at == 0 || text[at - 1] == u'\n')
                found << text.mid(at + 8, text.indexOf(u'\r', at) - at - 8);
        EXPECT_EQ(found.join(u'|'), QString::fromUtf8(s.lines)) << s.code;
    }
    int lines0691317 = 0;
    for (qsizetype at = text.indexOf(QLatin1String("\n0691317,")); at >= 0;
         at = text.indexOf(QLatin1String("\n0691317,"), at + 1))
        ++lines0691317;
    EXPECT_EQ(lines0691317, 11);

    EXPECT_TRUE(out.ZipDat == ReadFile(kShippedData));
    EXPECT_TRUE(out.NoNumber == ReadFile(kBusinessCodes));
    EXPECT_EQ(out.ResidentialLines, 124128);
    EXPECT_EQ(out.BusinessLines, 22231);
}
