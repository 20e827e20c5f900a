// Export: column values, quoting and the file image.
#include <gtest/gtest.h>

#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/CsvReader.h"
#include "platform/Cp932.h"

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
