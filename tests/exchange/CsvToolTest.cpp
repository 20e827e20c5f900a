// q2tool export-csv and import-csv on the sample book, run as a user would run them.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "model/UserInfoList.h"
#include "platform/Cp932.h"
#include "platform/WidthMap.h"

using namespace q2;

namespace {

struct ToolRun {
    int code;
    QString out, err;
};

ToolRun Q2Tool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(Q2TOOL_PATH), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

const QString kSample = QStringLiteral(Q2_SOURCE_DIR "/data/sample.QT2");

// The --map argument that reads an export with every column back.
QString MapArgument() {
    QStringList pairs;
    for (int i = 0; i < kExportColumnCount; ++i) {
        const QString d = ImportDestinationOfExportColumn(i);
        if (!d.isEmpty()) pairs << QStringLiteral("%1=%2").arg(i).arg(d);
    }
    return pairs.join(u',');
}

// Every field the export carries and the import can store, as the import's
// own width rules leave it.
void ExpectSameExported(const TUserInfo& a, const TUserInfo& b, int i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ToFullWidth(a.PersonalFullName()).replace(u' ', u'　'),
              b.PerSonalName_1 + QStringLiteral("　") + b.PerSonalName_2);
    EXPECT_EQ(ToFullWidth(a.PersonalFullNameKana()).replace(u' ', u'　'),
              b.PerSonalKana_1 + QStringLiteral("　") + b.PerSonalKana_2);
    EXPECT_EQ(a.PerSonalHonorificTitle, b.PerSonalHonorificTitle);
    EXPECT_EQ(ToHalfWidth(a.PersonalFullZip()), b.PersonalFullZip());
    EXPECT_EQ(ToHalfWidth(a.OfficeFullZip()), b.OfficeFullZip());
    for (auto m :
         {&TUserInfo::PerSonalAddress_1, &TUserInfo::PerSonalAddress_2, &TUserInfo::OfficeAddress_1,
          &TUserInfo::OfficeAddress_2, &TUserInfo::OfficePost, &TUserInfo::OfficeOfficialPosition,
          &TUserInfo::CommonCategory_1, &TUserInfo::CommonCategory_2, &TUserInfo::CommonInsertStr_1,
          &TUserInfo::CommonInsertStr_2, &TUserInfo::CommonInsertStr_3,
          &TUserInfo::CommonInsertStr_4, &TUserInfo::CommonMemo})
        EXPECT_EQ(a.*m, b.*m);
    for (auto m : {&TUserInfo::PerSonalTel_1, &TUserInfo::PerSonalTel_2, &TUserInfo::PerSonalMail_1,
                   &TUserInfo::PerSonalMail_2, &TUserInfo::PerSonalHomePage,
                   &TUserInfo::OfficeTel_1, &TUserInfo::OfficeTel_2, &TUserInfo::OfficeMail_1,
                   &TUserInfo::OfficeMail_2, &TUserInfo::OfficeHomePage})
        EXPECT_EQ(ToHalfWidth(a.*m), b.*m);
    EXPECT_EQ(ToFullWidth(a.OfficeName), b.OfficeName);
    EXPECT_EQ(ToFullWidth(a.OfficeKana), b.OfficeKana);
    EXPECT_EQ(a.PersonalSex, b.PersonalSex);
    EXPECT_EQ(a.CommonBirthday.date(), b.CommonBirthday.date());
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(a.JointName(j).PrintName, b.JointName(j).PrintName);
        EXPECT_EQ(a.JointName(j).HonorificTitle, b.JointName(j).HonorificTitle);
    }
    // Saving the book wrote every history list from its last entry to its first.
    std::vector<THistoryObject> reversed(b.CommonHistoryObjectList.begin(),
                                         b.CommonHistoryObjectList.end());
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(std::vector<THistoryObject>(a.CommonHistoryObjectList.begin(),
                                          a.CommonHistoryObjectList.end()),
              reversed);
}

}  // namespace

TEST(CsvTool, SampleBookRoundTripWithAllColumnsAndHeader) {
    QTemporaryDir dir;
    TUserInfoList sample;
    ASSERT_TRUE(sample.LoadFromFile(kSample));
    ASSERT_GT(sample.Count(), 0);
    for (bool utf8 : {false, true}) {
        SCOPED_TRACE(utf8);
        const QString csv = dir.filePath(utf8 ? "u.csv" : "s.csv");
        const QString book = dir.filePath(utf8 ? "u.QT2" : "s.QT2");
        QStringList exportArgs = {"export-csv", kSample, csv, "--header"};
        if (utf8) exportArgs << "--utf8";
        const ToolRun e = Q2Tool(exportArgs);
        ASSERT_EQ(e.code, 0) << e.err.toStdString();
        EXPECT_EQ(e.out.trimmed(), QStringLiteral("%1件の出力を完了しました").arg(sample.Count()));
        const QByteArray bytes = ReadAll(csv);
        EXPECT_EQ(bytes.startsWith("\xEF\xBB\xBF"), utf8);
        EXPECT_TRUE(bytes.endsWith("\r\n"));

        const ToolRun i = Q2Tool({"import-csv", csv, book, "--map", MapArgument(), "--skip-first"});
        ASSERT_EQ(i.code, 0) << i.err.toStdString();
        EXPECT_EQ(i.out.trimmed(), QStringLiteral("%1件の追加を完了しました").arg(sample.Count()));
        TUserInfoList back;
        ASSERT_TRUE(back.LoadFromFile(book));
        ASSERT_EQ(back.Count(), sample.Count());
        // The save wrote the records from the last to the first.
        const int n = sample.Count();
        for (int r = 0; r < n; ++r) ExpectSameExported(*sample.Item(r), *back.Item(n - 1 - r), r);
    }
}

TEST(CsvTool, ImportAppendsToAnExistingBookAndReportsBadInput) {
    QTemporaryDir dir;
    const QString csv = dir.filePath("in.csv"), book = dir.filePath("b.QT2");
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(EncodeCp932(QStringLiteral("山田 太郎,東京都\r\n鈴木,大阪府\r\n")));
    f.close();
    const QString map = QStringLiteral("0=個人名前,1=個人住所１");
    ASSERT_EQ(Q2Tool({"import-csv", csv, book, "--map", map}).code, 0);
    ASSERT_EQ(Q2Tool({"import-csv", csv, book, "--map", map, "--skip-first"}).code, 0);
    TUserInfoList b;
    ASSERT_TRUE(b.LoadFromFile(book));
    ASSERT_EQ(b.Count(), 3);
    EXPECT_EQ(b.Item(0)->PerSonalAddress_1, QString("大阪府"));  // saved last to first

    EXPECT_EQ(Q2Tool({"import-csv", csv, book, "--map", "0=無い項目"}).code, 2);
    EXPECT_EQ(Q2Tool({"import-csv", csv, book}).code, 2);
    EXPECT_EQ(Q2Tool({"export-csv", book, dir.filePath("o.csv"), "--columns", "44"}).code, 2);
    const ToolRun missing = Q2Tool({"export-csv", dir.filePath("none.QT2"), dir.filePath("o.csv")});
    EXPECT_EQ(missing.code, 1);
    const ToolRun noFolder = Q2Tool({"export-csv", book, dir.filePath("no/such/o.csv")});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_TRUE(noFolder.err.contains("を作成できません"));
    QFile empty(dir.filePath("empty.csv"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const ToolRun none = Q2Tool({"import-csv", empty.fileName(), book, "--map", map});
    EXPECT_EQ(none.code, 1);
    ASSERT_TRUE(b.LoadFromFile(book));
    EXPECT_EQ(b.Count(), 3);

    ASSERT_EQ(Q2Tool({"export-csv", book, dir.filePath("o.csv"), "--columns", "1,5"}).code, 0);
    EXPECT_EQ(DecodeCp932(ReadAll(dir.filePath("o.csv"))),
              QString("\"鈴木 \",大阪府\r\n\"山田 太郎\",東京都\r\n\"鈴木 \",大阪府\r\n"));
}

// The probe: random bytes and a huge column were imported as junk or crashed.
TEST(CsvTool, ImportRefusesWhatIsNoCsvAndColumnsBeyondTheFile) {
    QTemporaryDir dir;
    const QString book = dir.filePath("b.QT2");
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    };
    QByteArray random(1 << 20, '\0');
    for (int i = 0; i < random.size(); ++i) random[i] = char((unsigned(i) * 7919u + unsigned(i >> 8) * 31u) & 0xFFu);
    const QString binary = write("random.csv", random);
    const ToolRun junk = Q2Tool({"import-csv", binary, book, "--map", "0=個人名前"});
    EXPECT_EQ(junk.code, 1);
    EXPECT_TRUE(junk.err.contains(QStringLiteral("ファイル %1 には取り込むデータがありません").arg(binary)));
    EXPECT_FALSE(QFile::exists(book));

    const QString csv = write("two.csv", EncodeCp932(QStringLiteral("山田,東京\r\n鈴木\r\n")));
    for (const char* column : {"2147483647", "1000000000", "2"}) {
        const ToolRun huge = Q2Tool({"import-csv", csv, book, "--map", QString(column) + "=個人名前"});
        EXPECT_EQ(huge.code, 2) << column;
        EXPECT_TRUE(huge.err.contains(QStringLiteral("列 %1 はファイルにありません").arg(column)))
            << huge.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(book));

    const struct {
        QString path;
        QString message;
    } unreadable[] = {
        {dir.filePath("none.csv"), QStringLiteral("ファイル %1 が見つかりません").arg(dir.filePath("none.csv"))},
        {dir.path(), QStringLiteral("%1 はファイルではありません").arg(dir.path())},
        {"/dev/zero", QStringLiteral("/dev/zero はファイルではありません")},
    };
    for (const auto& c : unreadable) {
        const ToolRun r = Q2Tool({"import-csv", c.path, book, "--map", "0=個人名前"});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }

    // A UTF-16 file with its byte-order mark is read as UTF-16.
    const QString text = QStringLiteral("山田 太郎,東京\r\n");
    const QString utf16 = write("utf16.csv", QByteArray("\xFF\xFE", 2) +
                                                  QByteArray(reinterpret_cast<const char*>(text.utf16()),
                                                             text.size() * 2));
    ASSERT_EQ(Q2Tool({"import-csv", utf16, book, "--map", "0=個人名前,1=個人住所１"}).code, 0);
    TUserInfoList b;
    ASSERT_TRUE(b.LoadFromFile(book));
    ASSERT_EQ(b.Count(), 1);
    EXPECT_EQ(b.Item(0)->PerSonalName_2, QStringLiteral("太郎"));
    EXPECT_EQ(b.Item(0)->PerSonalAddress_1, QStringLiteral("東京"));
}

TEST(CsvExportColumns, EveryColumnButAgeAndRegistrationDateHasAnImportDestination) {
    QStringList without;
    for (int c = 0; c < kExportColumnCount; ++c) {
        const QString d = ImportDestinationOfExportColumn(c);
        if (d.isEmpty()) without << ExportColumns()[c].Header;
        else EXPECT_GE(ImportDestinationIndex(d), 0) << d.toStdString();
    }
    EXPECT_EQ(without.size(), 2);
    EXPECT_TRUE(ImportDestinationOfExportColumn(kExportColumnCount).isEmpty());
}

TEST(CsvTool, AutoMappingFromTheHeaderAndDuplicatesAtTheDoor) {
    QTemporaryDir dir;
    const QString csv = dir.filePath("outlook.csv"), book = dir.filePath("b.QT2");
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(EncodeCp932(QStringLiteral(
        "\"名\",\"姓\",\"姓フリガナ\",\"名前フリガナ\",\"郵便番号 "
        "(自宅)\",\"携帯電話\",\"分類\"\r\n"
        "\"太郎\",\"山田\",\"やまだ\",\"たろう\",\"1000001\",\"090-1111-2222\",\"友人;仕事\"\r\n"
        "\"花子\",\"鈴木\",\"すずき\",\"はなこ\",\"1500002\",\"\",\"\"\r\n")));
    f.close();
    const ToolRun first = Q2Tool({"import-csv", csv, book, "--auto", "--no-print"});
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    const QStringList out = first.out.trimmed().split(u'\n');
    EXPECT_EQ(out.first(), QString("1行目を「Outlook」の見出しと判断しました"));
    EXPECT_TRUE(out.contains("個人名前 ← 姓 + 名")) << first.out.toStdString();
    EXPECT_TRUE(out.contains("個人郵便番号 ← 郵便番号 (自宅)")) << first.out.toStdString();
    EXPECT_EQ(out.last(), QString("2件の追加を完了しました"));
    TUserInfoList b;
    ASSERT_TRUE(b.LoadFromFile(book));
    ASSERT_EQ(b.Count(), 2);
    const TUserInfo& yamada = *b.Item(1);  // saved last to first
    EXPECT_EQ(yamada.PersonalFullNameKana(), QString("ヤマダ タロウ"));
    EXPECT_EQ(yamada.PersonalFullZip(), QString("100-0001"));
    EXPECT_EQ(yamada.PerSonalTel_1, QString("090-1111-2222"));
    EXPECT_EQ(yamada.CommonCategory_2, QString("仕事"));
    EXPECT_FALSE(yamada.CommonPrintCheck);
    EXPECT_FALSE(yamada.HasBirthday());

    // The same file again: both rows are in the book already.
    const ToolRun again = Q2Tool({"import-csv", csv, book, "--auto", "--duplicates", "skip"});
    ASSERT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.trimmed().endsWith("0件の追加を完了しました（スキップ 2件、更新 0件）"))
        << again.out.toStdString();
    ASSERT_TRUE(b.LoadFromFile(book));
    EXPECT_EQ(b.Count(), 2);

    EXPECT_EQ(Q2Tool({"import-csv", csv, book, "--auto", "--duplicates", "merge"}).code, 2);
    EXPECT_EQ(Q2Tool({"import-csv", csv, book, "--auto", "--map", "0=個人名前"}).code, 2);
    QFile plain(dir.filePath("plain.csv"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("a,b\r\n");
    plain.close();
    const ToolRun unknown = Q2Tool({"import-csv", plain.fileName(), book, "--auto"});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_TRUE(unknown.err.contains("1行目を見出しとして認識できません"))
        << unknown.err.toStdString();
}
