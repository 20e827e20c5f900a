// Export: column values, quoting and the file image.
#include <gtest/gtest.h>

#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/CsvReader.h"
#include "platform/Cp932.h"
#include "tests/support/FieldSamples.h"

using namespace q2;

namespace {

const QDate kToday(2024, 6, 1);

QString Csv(const TUserInfoList& book, std::vector<int> columns, bool header = false) {
    TExportOptions o;
    o.Columns = std::move(columns);
    o.Header = header;
    return DecodeCp932(ComposeCsv(book, o, kToday).Bytes);
}

constexpr int kName = 0, kZip = 3, kAge = 11, kMemo = 41, kHistory = 42, kInsert1 = 37;

}  // namespace

TEST(QuoteCsvValue, QuotesOnlyWhatNeedsIt) {
    struct {
        const char* value;
        bool lone;
        const char* written;
    } cases[] = {
        {"山田 太郎", false, "\"山田 太郎\""},
        {"a\"b", false, "\"a\"\"b\""},
        {"a,b", false, "\"a,b\""},
        {"a\r\nb", false, "\"a\r\nb\""},
        {"a\tb", false, "\"a\tb\""},
        {"山田　太郎", false, "山田　太郎"},
        {"", false, ""},
        {"", true, "\"\""},
        {"表", false, "表"},  // 0x955C: its second byte is no delimiter
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuoteCsvValue(QString::fromUtf8(c.value), c.lone), QString::fromUtf8(c.written))
            << c.value;
}

TEST(ComposeCsv, RecordLines) {
    TUserInfoList book;
    TUserInfo* a = book.Add();
    a->PerSonalName_1 = "山田";
    a->PerSonalName_2 = "太郎";
    a->CommonInsertStr_1 = "a\"b";
    book.Add();  // no name, no postal code, empty memo
    EXPECT_EQ(Csv(book, {kName, kZip, kInsert1}),
              QString("\"山田 太郎\",\" \",\"a\"\"b\"\r\n\" \",\" \",\r\n"));
    EXPECT_EQ(Csv(book, {kMemo}), QString("\"\"\r\n\"\"\r\n"));
    EXPECT_EQ(Csv(book, {kMemo, kInsert1}), QString(",\"a\"\"b\"\r\n,\r\n"));
}

TEST(ComposeCsv, AgeAndDates) {
    TUserInfoList book;
    TUserInfo* r = book.Add();
    r->CommonBirthday = MakeDateTime(kToday);
    r->CommonRegistDate = MakeDateTime(QDate(2001, 2, 3), QTime(4, 5));
    EXPECT_EQ(Csv(book, {kAge}), QString("0\r\n"));
    r->CommonBirthday = MakeDateTime(QDate(1980, 6, 2));
    EXPECT_EQ(Csv(book, {kAge, 25, 26}), QString("43,2001/02/03,1980/06/02\r\n"));
    // A record without a birthday exports what the original writes for it.
    r->CommonBirthday = ZeroDateTime();
    EXPECT_EQ(Csv(book, {kAge, 26}), QString("124,1899/12/30\r\n"));
}

TEST(ComposeCsv, HeaderLineAndHistory) {
    TUserInfoList book;
    for (int i = 0; i < 3; ++i) book.Add()->PerSonalName_1 = QString::number(i);
    book.Item(2)->CommonHistoryObjectList.Add({QDate(2008, 1, 5), "訪問", "見積"});
    book.Item(2)->CommonHistoryObjectList.Add({QDate(2008, 1, 6), "電話", ""});
    const QString csv = Csv(book, {kName, kHistory}, true);
    EXPECT_TRUE(csv.startsWith("個人名前,履歴\r\n\"0 \",\r\n"));
    EXPECT_TRUE(
        csv.endsWith("\"[日付]2008/01/05[項目]訪問[内容]見積\r\n"
                     "[日付]2008/01/06[項目]電話[内容]\"\r\n"));
    EXPECT_EQ(SplitCsvRecords(csv).size(), 4);
    EXPECT_EQ(csv.count("\r\n"), 5);  // the history's own break included
}

TEST(ComposeCsv, EncodingsAndUnencodableCharacters) {
    TUserInfoList book;
    book.Add()->CommonMemo = "𠮷野";
    TExportOptions o;
    o.Columns = {kMemo};
    const TExportResult cp = ComposeCsv(book, o, kToday);
    EXPECT_EQ(cp.Bytes, QByteArray("?\x96\xEC\r\n"));
    EXPECT_EQ(cp.Unencodable, 1);
    o.Utf8 = true;
    const TExportResult u = ComposeCsv(book, o, kToday);
    EXPECT_EQ(u.Bytes, "\xEF\xBB\xBF" + QString("𠮷野\r\n").toUtf8());
    EXPECT_EQ(u.Unencodable, 0);
}

TEST(ComposeCsv, MemoComesBackThroughTheImport) {
    TUserInfoList book;
    book.Add()->CommonMemo = "一行目\r\n\"二\" 行目, 終";
    TExportOptions o;
    o.Columns = {kMemo};
    QStringList records = SplitCsvRecords(DecodeCsvFile(ComposeCsv(book, o, kToday).Bytes));
    MarkLineBreaks(records);
    TUserInfoList back;
    ImportRecords(records, {ImportDestinationIndex("備考")}, {}, back);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.Item(0)->CommonMemo, book.Item(0)->CommonMemo);
}

TEST(ExportColumns, NamesHeadersAndParsing) {
    const auto& c = ExportColumns();
    ASSERT_EQ(c.size(), 43u);
    EXPECT_STREQ(c[29].CheckBox, "CBJointName_1_Name");
    EXPECT_EQ(c[33].Header, QString("連名１敬称"));
    EXPECT_EQ(c[40].Header, QString("差込４"));
    EXPECT_EQ(c[42].Header, QString("履歴"));
    std::vector<int> cols;
    QString error;
    EXPECT_TRUE(ParseExportColumns("43,1,5-7", &cols, &error));
    EXPECT_EQ(cols, (std::vector<int>{0, 4, 5, 6, 42}));
    EXPECT_FALSE(ParseExportColumns("0", &cols, &error));
    EXPECT_FALSE(ParseExportColumns("44", &cols, &error));
    EXPECT_FALSE(ParseExportColumns("a", &cols, &error));
}

// config.ini and `q2tool export-csv --columns` name columns by number, and
// other programs read the header line: neither may move.
TEST(ExportColumns, EveryColumnsNamesAndValue) {
    struct Column {
        const char* checkBox;
        const char* caption;
        const char* header;
        const char* value;
    };
    const Column columns[kExportColumnCount] = {
        {"CBPersonalName", "名前", "個人名前", "山田 太郎"},
        {"CBPersonalKana", "フリガナ", "個人フリガナ", "ヤマダ タロウ"},
        {"CBPersonalNameTitle", "敬称", "個人敬称", "様"},
        {"CBPersonalZip", "郵便番号", "個人郵便番号", "263-0023"},
        {"CBPersonalAddress_1", "住所１", "個人住所１", "千葉県千葉市稲毛区"},
        {"CBPersonalAddress_2", "住所２", "個人住所２", "緑町1-1"},
        {"CBPersonalTel_1", "電話", "個人電話", "043-111"},
        {"CBPersonalTel_2", "電話/FAX", "個人電話/FAX", "043-222"},
        {"CBPersonalMail_1", "メール１", "個人メール１", "a@home.jp"},
        {"CBPersonalMail_2", "メール２", "個人メール２", "b@home.jp"},
        {"CBPersonalHP", "HP", "個人ホームページ", "http://home.jp/"},
        {"CBPersonalAge", "年齢", "年齢", "43"},
        {"CBPersonalSex", "性別", "性別", "女性"},
        {"CBOfficeName", "会社名", "会社名", "緑商事"},
        {"CBOfficeNameKana", "フリガナ", "会社フリガナ", "ミドリショウジ"},
        {"CBOfficeNameZip", "郵便番号", "会社郵便番号", "100-0005"},
        {"CBOfficeAddress_1", "住所１", "会社住所１", "東京都千代田区"},
        {"CBOfficeAddress_2", "住所２", "会社住所２", "丸の内1-1"},
        {"CBOfficeTel_1", "電話", "会社電話", "03-333"},
        {"CBOfficeTel_2", "電話/FAX", "会社電話/FAX", "03-444"},
        {"CBOfficeMail_1", "メール１", "会社メール１", "c@work.jp"},
        {"CBOfficeMail_2", "メール２", "会社メール２", "d@work.jp"},
        {"CBOfficePost", "部署", "会社部署", "営業部"},
        {"CBOfficeOfficialPosition", "役職", "会社役職", "課長"},
        {"CBOfficeHP", "HP", "会社ホームページ", "http://work.jp/"},
        {"CBEntryDate", "登録日", "登録日", "2023/12/01"},
        {"CBBirthday", "生年月日", "生年月日", "1980/06/16"},
        {"CBCategory_1", "分類１", "分類１", "友達"},
        {"CBCategory_2", "分類２", "分類２", "仕事"},
        {"CBJointName_1_Name", "連名１名前", "連名１名前", "一郎"},
        {"CBJointName_2_Name", "連名２名前", "連名２名前", "花子"},
        {"CBJointName_3_Name", "連名３名前", "連名３名前", "次郎"},
        {"CBJointName_4_Name", "連名４名前", "連名４名前", "三郎"},
        {"CBJointName_1_Title", "連名１敬称", "連名１敬称", "様"},
        {"CBJointName_2_Title", "連名２敬称", "連名２敬称", "殿"},
        {"CBJointName_3_Title", "連名３敬称", "連名３敬称", "くん"},
        {"CBJointName_4_Title", "連名４敬称", "連名４敬称", "ちゃん"},
        {"CBInsertStr_1", "差込１", "差込１", "差込A"},
        {"CBInsertStr_2", "差込２", "差込２", "差込B"},
        {"CBInsertStr_3", "差込３", "差込３", "差込C"},
        {"CBInsertStr_4", "差込４", "差込４", "差込D"},
        {"CBMemo", "備考", "備考", "一行目\r\n二行目"},
        {"CBHistory", "履歴", "履歴", "[日付]2024/01/02[項目]年賀状[内容]送付"},
    };
    ASSERT_EQ(ExportColumns().size(), size_t(kExportColumnCount));
    const TUserInfo r = q2test::DistinctRecord();
    for (int c = 0; c < kExportColumnCount; ++c) {
        const TExportColumn& e = ExportColumns()[c];
        EXPECT_STREQ(e.CheckBox, columns[c].checkBox) << c;
        EXPECT_EQ(e.Caption, QString::fromUtf8(columns[c].caption)) << c;
        EXPECT_EQ(e.Header, QString::fromUtf8(columns[c].header)) << c;
        EXPECT_EQ(ExportValue(r, c, q2test::kFieldSampleToday), QString::fromUtf8(columns[c].value))
            << c;
    }
    EXPECT_EQ(ExportValue(r, kExportColumnCount, kToday), "");
}

