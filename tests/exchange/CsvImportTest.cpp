// Import: each destination's treatment, the defaults and whole-file imports.
#include <gtest/gtest.h>

#include "exchange/CsvImport.h"
#include "exchange/CsvReader.h"
#include "platform/Clock.h"

using namespace q2;

namespace {

const QDateTime kNow = MakeDateTime(QDate(2024, 6, 1), QTime(12, 30));

TUserInfo Imported(const QString& destination, const QString& text) {
    TUserInfo r;
    ApplyImportDefaults(r, kNow);
    const int d = ImportDestinationIndex(destination);
    EXPECT_GE(d, 0) << destination.toStdString();
    ApplyImportField(r, d, text, kNow);
    return r;
}

}  // namespace

TEST(ImportDestinations, FortyOneInListOrder) {
    ASSERT_EQ(ImportDestinations().size(), 41);
    EXPECT_EQ(ImportDestinations().first(), QString("個人フリガナ"));
    EXPECT_EQ(ImportDestinations()[23], QString("生年月日"));
    EXPECT_EQ(ImportDestinations().last(), QString("履歴"));
}

TEST(ImportDefaults, NewRecordBeforeAnyField) {
    TUserInfo r;
    ApplyImportDefaults(r, kNow);
    EXPECT_EQ(r.PerSonalHonorificTitle, QString("様"));
    EXPECT_EQ(r.PerSonalHomePage, QString("http://"));
    EXPECT_EQ(r.OfficeHomePage, QString("http://"));
    EXPECT_TRUE(r.CommonPrintCheck);
    EXPECT_TRUE(r.CommonUseTypePersonal);
    EXPECT_EQ(r.CommonRegistDate, kNow);
    // No birthday until a field gives one: the import date would read as age 0.
    EXPECT_FALSE(r.HasBirthday());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(r.JointName(i).HonorificTitle, QString("様"));
}

TEST(ImportField, SplitsAndWidths) {
    struct Case {
        const char* dest;
        const char* text;
        QString TUserInfo::*first;
        QString TUserInfo::*second;
        const char* want1;
        const char* want2;
    };
    const Case cases[] = {
        {"個人名前", "山田 太郎", &TUserInfo::PerSonalName_1, &TUserInfo::PerSonalName_2, "山田",
         "太郎"},
        {"個人名前", "山田　太郎", &TUserInfo::PerSonalName_1, &TUserInfo::PerSonalName_2, "山田",
         "太郎"},
        {"個人名前", "山田", &TUserInfo::PerSonalName_1, &TUserInfo::PerSonalName_2, "山田", ""},
        {"個人名前", "Smith", &TUserInfo::PerSonalName_1, &TUserInfo::PerSonalName_2, "Ｓｍｉｔｈ",
         ""},
        {"個人フリガナ", "ﾔﾏﾀﾞ ﾀﾛｳ", &TUserInfo::PerSonalKana_1, &TUserInfo::PerSonalKana_2,
         "ヤマダ", "タロウ"},
        {"個人郵便番号", "１２３－４５６７", &TUserInfo::PerSonalZip_1, &TUserInfo::PerSonalZip_2,
         "123", "4567"},
        // Seven digits as spreadsheets keep them fill both boxes, in either width.
        {"個人郵便番号", "1500002", &TUserInfo::PerSonalZip_1, &TUserInfo::PerSonalZip_2, "150",
         "0002"},
        {"個人郵便番号", "１５００００２", &TUserInfo::PerSonalZip_1, &TUserInfo::PerSonalZip_2,
         "150", "0002"},
        {"会社郵便番号", "〒150ー0002", &TUserInfo::OfficeZip_1, &TUserInfo::OfficeZip_2, "150",
         "0002"},
        {"個人郵便番号", "150", &TUserInfo::PerSonalZip_1, &TUserInfo::PerSonalZip_2, "150", ""},
        // Anything else is split as the user wrote it.
        {"個人郵便番号", "12-345", &TUserInfo::PerSonalZip_1, &TUserInfo::PerSonalZip_2, "12",
         "345"},
        {"個人フリガナ", "やまだ　たろう", &TUserInfo::PerSonalKana_1, &TUserInfo::PerSonalKana_2,
         "ヤマダ", "タロウ"},
        {"会社郵便番号", "100-0001", &TUserInfo::OfficeZip_1, &TUserInfo::OfficeZip_2, "100",
         "0001"},
    };
    for (const auto& c : cases) {
        const TUserInfo r = Imported(c.dest, QString::fromUtf8(c.text));
        EXPECT_EQ(r.*c.first, QString::fromUtf8(c.want1)) << c.dest << " " << c.text;
        EXPECT_EQ(r.*c.second, QString::fromUtf8(c.want2)) << c.dest << " " << c.text;
    }
}

TEST(ImportField, SingleFieldTreatments) {
    struct Case {
        const char* dest;
        const char* text;
        QString TUserInfo::*field;
        const char* want;
    };
    const Case cases[] = {
        {"会社名", "ABC商事", &TUserInfo::OfficeName, "ＡＢＣ商事"},
        {"会社フリガナ", "ｴｰﾋﾞｰｼｰ", &TUserInfo::OfficeKana, "エービーシー"},
        {"会社フリガナ", "えーびーしー", &TUserInfo::OfficeKana, "エービーシー"},
        {"個人電話", "０３－１２３４", &TUserInfo::PerSonalTel_1, "03-1234"},
        {"会社メール２", "ｘ＠ｙ．ｊｐ", &TUserInfo::OfficeMail_2, "x@y.jp"},
        {"個人ホームページ", "ｈｔｔｐ：／／ａ", &TUserInfo::PerSonalHomePage, "http://a"},
        {"個人住所１", "東京都 千代田区#BR#1", &TUserInfo::PerSonalAddress_1,
         "東京都 千代田区#BR#1"},
        {"個人敬称", "殿", &TUserInfo::PerSonalHonorificTitle, "殿"},
        {"備考", "一行目#BR#二行目", &TUserInfo::CommonMemo, "一行目\r\n二行目"},
        {"備考", "a#br#b", &TUserInfo::CommonMemo, "a\r\nb"},
        {"差込３", "ｱ", &TUserInfo::CommonInsertStr_3, "ｱ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Imported(c.dest, QString::fromUtf8(c.text)).*c.field, QString::fromUtf8(c.want))
            << c.dest;
    EXPECT_EQ(Imported("連名３敬称", "殿").CommonJointNameObj_3.HonorificTitle, QString("殿"));
    EXPECT_EQ(Imported("連名２名前", "花子").CommonJointNameObj_2.PrintName, QString("花子"));
}

TEST(ImportField, SexAndBirthday) {
    EXPECT_EQ(Imported("性別", " 女性 ").PersonalSex, TThSex::tsFemale);
    EXPECT_EQ(Imported("性別", "男性").PersonalSex, TThSex::tsMale);
    EXPECT_EQ(Imported("性別", "女").PersonalSex, TThSex::tsNone);
    EXPECT_EQ(Imported("性別", "　女性").PersonalSex, TThSex::tsNone);  // full-width space stays
    EXPECT_EQ(Imported("生年月日", "1970/1/5").CommonBirthday, MakeDateTime(QDate(1970, 1, 5)));
    EXPECT_EQ(Imported("生年月日", "１９７０／０１／０５").CommonBirthday,
              MakeDateTime(QDate(1970, 1, 5)));
    EXPECT_EQ(Imported("生年月日", "1970-01-05").CommonBirthday, MakeDateTime(QDate(1970, 1, 5)));
    EXPECT_EQ(Imported("生年月日", "1970-01-05T00:00:00Z").CommonBirthday,
              MakeDateTime(QDate(1970, 1, 5)));
    // What is no whole date leaves the record without a birthday, never "today".
    for (const char* none : {"S45.1.5", "2023/2/30", "--03-15", "0/0/00", ""})
        EXPECT_FALSE(Imported("生年月日", QString::fromUtf8(none)).HasBirthday()) << none;
}

TEST(ImportField, HistoryEntries) {
    const TUserInfo r = Imported("履歴",
                                 "[日付]2008/01/05[項目]訪問 打合せ[内容]見積, 提出#BR#"
                                 "[日付]2008/1/6[項目]訪問 打合せ[内容]見積, 提出#BR#"
                                 "[日付]昨日[項目]x[内容]y#BR#"  // date does not parse: dropped
                                 "[日付]2008/01/07[項目]only title");  // marker missing: dropped
    ASSERT_EQ(r.CommonHistoryObjectList.Count(), 2);
    EXPECT_EQ(r.CommonHistoryObjectList.Item(0),
              (THistoryObject{QDate(2008, 1, 5), "訪問 打合せ", "見積, 提出"}));
    EXPECT_EQ(r.CommonHistoryObjectList.Item(1).HistoryDate, QDate(2008, 1, 6));
}

TEST(ImportRecords, FileThroughSplittersAndMapping) {
    // A quoted two-line memo, a two-line history and a tab in an unquoted field.
    const QString file = QStringLiteral(
        "山田 太郎,\"一行目\r\n二行目\",\"[日付]2008/01/05[項目]訪問 打合せ[内容]見積, 提出\r\n"
        "[日付]2008/01/06[項目]訪問 打合せ[内容]見積, 提出\"\r\n"
        "鈴木\t花子,x\r\n");
    QStringList records = SplitCsvRecords(file);
    ASSERT_EQ(records.size(), 2);
    MarkLineBreaks(records);
    EXPECT_EQ(PreviewText(SplitCsvFields(records[0])[1]), QString("一行目二行目"));

    TImportMapping mapping;
    QString error;
    ASSERT_TRUE(ParseImportMapping({"0=個人名前", "1=備考", "2=履歴"}, &mapping, &error));
    TUserInfoList book;
    book.Add()->PerSonalName_1 = "既存";
    EXPECT_EQ(ImportRecords(records, mapping, {}, book), 2);
    ASSERT_EQ(book.Count(), 3);
    EXPECT_EQ(book.Item(0)->PerSonalName_1, QString("既存"));
    const TUserInfo& a = *book.Item(1);
    EXPECT_EQ(a.PerSonalName_2, QString("太郎"));
    EXPECT_EQ(a.CommonMemo, QString("一行目\r\n二行目"));
    EXPECT_EQ(a.CommonHistoryObjectList.Count(), 2);
    const TUserInfo& b = *book.Item(2);
    EXPECT_EQ(b.PerSonalName_1, QString("鈴木"));  // the tab ended the field
    EXPECT_EQ(b.CommonMemo, QString("花子"));
}

TEST(ImportRecords, SkipFirstAndEmptyLinesAndProgress) {
    QStringList records;
    for (int i = 0; i < 10; ++i) records << QString::number(i);
    records[5] = QString();  // an empty line still makes a record
    TImportMapping mapping = {ImportDestinationIndex("差込１")};
    TUserInfoList book;
    std::vector<int> progress;
    TImportOptions options;
    options.SkipFirstRecord = true;
    options.Progress = [&](int i) { progress.push_back(i); };
    EXPECT_EQ(ImportRecords(records, mapping, options, book), 9);
    EXPECT_EQ(book.Count(), 9);
    EXPECT_EQ(book.Item(0)->CommonInsertStr_1, QString("1"));
    EXPECT_EQ(book.Item(4)->CommonInsertStr_1, QString());
    EXPECT_EQ(progress.front(), 1);
    EXPECT_EQ(progress.back(), 9);
}

TEST(ParseImportMapping, RejectsBadPairs) {
    TImportMapping m;
    QString error;
    EXPECT_TRUE(ParseImportMapping({"2=備考", "0=個人名前"}, &m, &error));
    EXPECT_EQ(m, (TImportMapping{1, -1, 39}));
    for (const QStringList& bad :
         {QStringList{"x=備考"}, QStringList{"0=無い項目"}, QStringList{"0=備考", "1=備考"},
          QStringList{"0=備考", "0=履歴"}, QStringList{"備考"}}) {
        EXPECT_FALSE(ParseImportMapping(bad, &m, &error)) << bad.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    // A huge column number crashed the import or ate gigabytes of memory.
    for (const char* huge : {"2147483647=個人名前", "1000000000=個人名前", "65536=個人名前"}) {
        EXPECT_FALSE(ParseImportMapping({huge}, &m, &error)) << huge;
        EXPECT_TRUE(error.startsWith(QStringLiteral("列 ") + QString(huge).section('=', 0, 0)));
    }
    EXPECT_TRUE(ParseImportMapping({"2=備考"}, &m, &error, 3));
    EXPECT_FALSE(ParseImportMapping({"3=備考"}, &m, &error, 3));
    EXPECT_EQ(error, QStringLiteral("列 3 はファイルにありません（列は 0 から 2 まで）"));
}

TEST(ApplyImportField, FullWidthDestinationsTakeTheQuotationMarksFullWidth) {
    QStringList records = SplitCsvRecords(QStringLiteral("a\"b,O'Neil\n"));
    ASSERT_EQ(records.size(), 1);
    TImportMapping mapping;
    QString error;
    ASSERT_TRUE(ParseImportMapping({"0=個人名前", "1=会社名"}, &mapping, &error));
    TUserInfoList book;
    ImportRecords(records, mapping, {}, book);
    EXPECT_EQ(book.Item(0)->PerSonalName_1, QStringLiteral("ａ＂ｂ"));
    EXPECT_EQ(book.Item(0)->OfficeName, QStringLiteral("Ｏ＇Ｎｅｉｌ"));
}

// config.ini keeps the chosen destinations by number, and `q2tool import-csv
// --map` names them: neither the order nor the names may move.
TEST(ImportDestinations, EveryDestinationsNameAndWhatItStores) {
    struct Destination {
        const char* name;
        const char* text;
        const char* stored;  // the field's text afterwards
    };
    const Destination destinations[] = {
        {"個人フリガナ", "ﾔﾏﾀﾞ ﾀﾛｳ", "ヤマダ タロウ"},
        {"個人名前", "山田　太郎", "山田 太郎"},
        {"個人敬称", "殿", "殿"},
        {"個人郵便番号", "２６３－００２３", "263-0023"},
        {"個人住所１", "千葉県 千葉市", "千葉県 千葉市"},
        {"個人住所２", "緑町１-1", "緑町１-1"},
        {"個人電話", "０４３－１１１", "043-111"},
        {"個人電話/FAX", "０４３－２２２", "043-222"},
        {"個人メール１", "ａ＠ｈｏｍｅ．ｊｐ", "a@home.jp"},
        {"個人メール２", "b@home.jp", "b@home.jp"},
        {"個人ホームページ", "ｈｔｔｐ：／／ｈ", "http://h"},
        {"会社フリガナ", "ﾐﾄﾞﾘ", "ミドリ"},
        {"会社名", "ABC商事", "ＡＢＣ商事"},
        {"会社郵便番号", "100-0005", "100-0005"},
        {"会社住所１", "東京都", "東京都"},
        {"会社住所２", "丸の内", "丸の内"},
        {"会社電話", "０３", "03"},
        {"会社電話/FAX", "０４", "04"},
        {"会社メール１", "ｃ", "c"},
        {"会社メール２", "ｄ", "d"},
        {"会社ホームページ", "ｗ", "w"},
        {"会社部署", "営業部", "営業部"},
        {"会社役職", "課長", "課長"},
        {"生年月日", "1980/6/16", "1980/06/16"},
        {"性別", "男性", "男性"},
        {"分類１", "友達", "友達"},
        {"分類２", "仕事", "仕事"},
        {"連名１名前", "一郎", "一郎"},
        {"連名１敬称", "殿", "殿"},
        {"連名２名前", "花子", "花子"},
        {"連名２敬称", "くん", "くん"},
        {"連名３名前", "次郎", "次郎"},
        {"連名３敬称", "ちゃん", "ちゃん"},
        {"連名４名前", "三郎", "三郎"},
        {"連名４敬称", "御中", "御中"},
        {"差込１", "Ａ", "Ａ"},
        {"差込２", "B", "B"},
        {"差込３", "ｃ", "ｃ"},
        {"差込４", "d ", "d "},
        {"備考", "一行目#BR#二行目", "一行目\r\n二行目"},
        {"履歴", "[日付]2024/1/2[項目]年賀状[内容]送付", "[日付]2024/01/02[項目]年賀状[内容]送付"},
    };
    ASSERT_EQ(ImportDestinations().size(), qsizetype(std::size(destinations)));
    for (int d = 0; d < ImportDestinations().size(); ++d) {
        const Destination& want = destinations[d];
        EXPECT_EQ(ImportDestinations()[d], QString::fromUtf8(want.name)) << d;
        const TUserInfo r = Imported(QString::fromUtf8(want.name), QString::fromUtf8(want.text));
        const TRecordField* f = ImportDestinationField(d);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->Text(r, kNow.date()), QString::fromUtf8(want.stored)) << d;
    }
    EXPECT_EQ(ImportDestinationField(-1), nullptr);
    EXPECT_EQ(ImportDestinationField(ImportDestinations().size()), nullptr);
}

