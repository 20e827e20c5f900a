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
    EXPECT_EQ(Q2Tool({"create", a}, "not json").code, 1);
    EXPECT_EQ(Q2Tool({"create", a}, R"({"records": [{"CommonBirthday": "31.01.1980"}]})").code, 1);
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

TEST(Q2ToolBarcode, CallsTheSharedLibrary) {
    const ToolRun ok = Q2Tool({"barcode", "263-0023", "千葉市稲毛区緑町3丁目30-8郵便ビル403号"});
    EXPECT_EQ(ok.code, 0);
    EXPECT_EQ(ok.out.trimmed(), "(26300233-30-8-403DDD5)");
    const ToolRun bad = Q2Tool({"barcode", "12", "x"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.out.trimmed(), "error 1");
}
