// q2tool dump and create, run as a user would run them.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "model/UserInfoList.h"

namespace {

struct ToolRun {
    int code;
    QByteArray out, err;
};

ToolRun Q2Tool(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(Q2TOOL_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

const char kBook[] = R"({
  "password": "",
  "records": [
    {"PerSonalKana_1": "ヤマダ", "PerSonalName_1": "山田", "PerSonalName_2": "太郎",
     "PerSonalZip_1": "263", "PerSonalZip_2": "0023", "PersonalSex": 1,
     "CommonJointNameObj_1": {"PrintData": true, "PrintName": "花子", "HonorificTitle": "様"},
     "CommonHistoryObjectList": [
        {"HistoryDate": "2024/01/01", "HistoryTitle": "年賀", "HistoryContent": "送付"},
        {"HistoryDate": "2023/08/01", "HistoryTitle": "暑中", "HistoryContent": ""}],
     "CommonPrintCheck": true, "CommonRegistDate": "2024/05/06", "CommonBirthday": "1980/01/31"},
    {"PerSonalName_1": "鈴木", "CommonUseTypePersonal": true}
  ]
})";

}  // namespace

TEST(Q2ToolBook, DumpOfACreatedBookGivesTheSameJsonBack) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.QT2"), b = dir.filePath("b.QT2");
    ASSERT_EQ(Q2Tool({"create", a}, kBook).code, 0);
    const ToolRun first = Q2Tool({"dump", a});
    ASSERT_EQ(first.code, 0) << first.err.constData();
    ASSERT_EQ(Q2Tool({"create", b}, first.out).code, 0);
    const ToolRun second = Q2Tool({"dump", b});
    EXPECT_EQ(second.out, first.out);
    EXPECT_EQ(ReadFile(a), ReadFile(b));

    const QJsonObject r0 = QJsonDocument::fromJson(first.out).object()["records"][0].toObject();
    EXPECT_EQ(r0["PerSonalName_1"].toString(), QStringLiteral("山田"));
    EXPECT_EQ(r0["PersonalFullName"].toString(), QStringLiteral("山田 太郎"));
    EXPECT_EQ(r0["PersonalFullZip"].toString(), "263-0023");
    EXPECT_EQ(r0["CommonHistoryObjectList"][0]["HistoryTitle"].toString(), QStringLiteral("年賀"));
    EXPECT_TRUE(r0["CommonImg_1"].isNull());
}

TEST(Q2ToolBook, PicturesGoInAsBase64AndComeOutAsKindSizeAndHash) {
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    QTemporaryDir dir;
    const QString a = dir.filePath("pic.QT2");
    const QByteArray json = R"({"records": [{"CommonImg_1": {"kind": 4, "base64": ")" +
                            png.toBase64() + R"("}}]})";
    ASSERT_EQ(Q2Tool({"create", a}, json).code, 0);
    const QJsonObject pic = QJsonDocument::fromJson(Q2Tool({"dump", a}).out)
                                .object()["records"][0]["CommonImg_1"].toObject();
    EXPECT_EQ(pic["kind"].toInt(), 4);
    EXPECT_EQ(pic["size"].toInt(), png.size());
    EXPECT_EQ(pic["sha256"].toString(),
              QCryptographicHash::hash(png, QCryptographicHash::Sha256).toHex());
}

TEST(Q2ToolBook, CreatedFileHoldsTheJsonOrderAsTheFileLayoutPrescribes) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.QT2");
    ASSERT_EQ(Q2Tool({"create", a}, kBook).code, 0);
    // Read back by the model: records and history in the JSON's order.
    q2::TUserInfoList book;
    ASSERT_TRUE(book.LoadFromFile(a));
    ASSERT_EQ(book.Count(), 2);
    EXPECT_EQ(book.Item(0)->PerSonalName_1, QStringLiteral("山田"));
    EXPECT_EQ(book.Item(0)->CommonHistoryObjectList.Item(0).HistoryTitle, QStringLiteral("年賀"));
    EXPECT_EQ(book.Item(1)->PerSonalName_1, QStringLiteral("鈴木"));
    // The bytes: header, then the first JSON record with its family name.
    const QByteArray bytes = ReadFile(a);
    EXPECT_EQ(bytes.left(16), QByteArray("\x04\0\0\0\x5A\x45\x5B\x5F\0\0\0\0\x02\0\0\0", 16));
    EXPECT_EQ(bytes.mid(16, 4), QByteArray("\x06\0\0\0", 4));      // ヤマダ, 6 bytes
    EXPECT_EQ(bytes.mid(20, 2), QByteArray("\xE8\xEF", 2));          // 0x83 0x84 scrambled
}

TEST(Q2ToolBook, ProtectedBookNeedsItsPassword) {
    QTemporaryDir dir;
    const QString a = dir.filePath("p.QT2");
    ASSERT_EQ(Q2Tool({"create", a}, R"({"password": "秘密", "records": []})").code, 0);
    EXPECT_EQ(Q2Tool({"dump", a}).code, 1);
    const ToolRun wrong = Q2Tool({"dump", a, "--password", "x"});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_TRUE(wrong.err.contains("パスワードが違います"));
    const ToolRun right = Q2Tool({"dump", a, "--password", "秘密"});
    EXPECT_EQ(right.code, 0);
    EXPECT_EQ(QJsonDocument::fromJson(right.out).object()["password"].toString(), QStringLiteral("秘密"));
}

TEST(Q2ToolBook, BadInputIsRefusedWithAMessage) {
    QTemporaryDir dir;
    const QString a = dir.filePath("x.QT2");
    EXPECT_EQ(Q2Tool({"create", a}, "not json").code, 2);
    EXPECT_EQ(Q2Tool({"create", a}, R"({"records": [{"CommonBirthday": "31.01.1980"}]})").code, 2);
    const ToolRun unencodable = Q2Tool({"create", a}, R"({"records": [{"PerSonalName_1": "𠮷野"}]})");
    EXPECT_EQ(unencodable.code, 1);
    EXPECT_TRUE(unencodable.err.contains("PerSonalName_1"));
    EXPECT_FALSE(QFile::exists(a));
    QFile junk(dir.filePath("junk.QT2"));
    junk.open(QIODevice::WriteOnly);
    junk.write("\x04\0\0\0abcd", 8);
    junk.close();
    const ToolRun damaged = Q2Tool({"dump", junk.fileName()});
    EXPECT_EQ(damaged.code, 1);
    EXPECT_EQ(Q2Tool({"dump"}).code, 2);
}

// Misspelt or mis-shaped keys used to be dropped in silence, and the data with them.
TEST(Q2ToolBook, CreateRefusesWhatItDoesNotUnderstandAndWritesNothing) {
    QTemporaryDir dir;
    const QString a = dir.filePath("x.QT2");
    const struct {
        const char* json;
        const char* message;
    } cases[] = {
        {R"({"records": [{}, {"PerSonalNmae_1": "山田"}]})", "records[1].PerSonalNmae_1: 不明なキーです"},
        {R"({"records": [{"CommonJointNameObj_1": ["花子", "様"]}]})",
         "records[0].CommonJointNameObj_1: オブジェクトが必要ですが配列です"},
        {R"({"records": [{"CommonPrintCheck": "true"}]})",
         "records[0].CommonPrintCheck: 真偽値が必要ですが文字列です"},
        {R"({"records": [{"CommonJointNameObj_2": {"PrintNmae": "x"}}]})",
         "records[0].CommonJointNameObj_2.PrintNmae: 不明なキーです"},
        {R"({"records": [{"CommonHistoryObjectList": [{"HistoryDate": "2024/13/01"}]}]})",
         "records[0].CommonHistoryObjectList[0].HistoryDate: 日付 (yyyy/mm/dd) ではありません"},
        {R"({"records": [{"PersonalSex": 1.5}]})", "records[0].PersonalSex: 整数ではありません"},
        {R"({"records": [{"CommonImg_1": {"kind": 4, "size": 10, "sha256": "ab"}}]})",
         "records[0].CommonImg_1.base64: 画像のデータがありません"},
        {R"({"password": "", "record": []})", "record: 不明なキーです"},
        {R"({"password": ""})", "キー \"records\"（レコードの配列）がありません"},
        {R"({"records": {}})", "records: 配列が必要ですがオブジェクトです"},
        {R"([])", "JSON: オブジェクトが必要ですが配列です"},
        {R"({"records": [{"PerSonalName_1": "a",}]})", "JSON の書式が正しくありません（1 行目）"},
        {"{\"records\": []}\n{}", "JSON の書式が正しくありません（2 行目）"},
    };
    for (const auto& c : cases) {
        const ToolRun r = Q2Tool({"create", a}, c.json);
        EXPECT_EQ(r.code, 2) << c.json;
        EXPECT_TRUE(r.err.contains(c.message)) << c.json << "\n" << r.err.constData();
        EXPECT_FALSE(QFile::exists(a)) << c.json;
    }
}

TEST(Q2ToolBook, DamagedAndUnreadableBooksAreNamedForWhatTheyAre) {
    QTemporaryDir dir;
    QFile zeros(dir.filePath("zeros.QT2"));
    ASSERT_TRUE(zeros.open(QIODevice::WriteOnly));
    zeros.write(QByteArray(11'400, '\0'));
    zeros.close();
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {zeros.fileName(), QStringLiteral("指定されたファイルは、破損しているか本ソフト用のファイルではないため開けません")},
        {"/dev/zero", QStringLiteral("/dev/zero はファイルではありません")},
        {dir.path(), QStringLiteral("%1 はファイルではありません").arg(dir.path())},
        {dir.filePath("none.QT2"), QStringLiteral("ファイル %1 が見つかりません").arg(dir.filePath("none.QT2"))},
    };
    for (const auto& c : cases) {
        const ToolRun r = Q2Tool({"dump", c.path});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(c.message)) << r.err.constData();
    }
}

TEST(Q2ToolBook, PasswordComesFromTheEnvironmentOrStandardInput) {
    QTemporaryDir dir;
    const QString a = dir.filePath("p.QT2");
    ASSERT_EQ(Q2Tool({"create", a}, R"({"password": "秘密", "records": []})").code, 0);
    EXPECT_EQ(Q2Tool({"dump", a, "--password", "-"}, "秘密\n").code, 0);
    EXPECT_EQ(Q2Tool({"dump", a, "--password", "-"}, "違う\n").code, 1);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("Q2_PASSWORD", QStringLiteral("秘密"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(Q2TOOL_PATH), {"dump", a});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
}

TEST(Q2ToolBarcode, CallsTheSharedLibrary) {
    const ToolRun ok = Q2Tool({"barcode", "263-0023", "千葉市稲毛区緑町3丁目30-8郵便ビル403号"});
    EXPECT_EQ(ok.code, 0);
    EXPECT_EQ(ok.out.trimmed(), "(26300233-30-8-403DDD5)");
    const ToolRun bad = Q2Tool({"barcode", "12", "x"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.out.trimmed(), "error 1");
}
