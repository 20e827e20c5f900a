// Header recognition: the proposed mapping of each known layout, and files of
// those layouts imported with nothing mapped by hand.
#include <gtest/gtest.h>

#include "QStringPrinter.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvHeaderMapping.h"
#include "exchange/CsvReader.h"

using namespace q2;

namespace {

// The destination names the proposal gives the columns, "" for none.
QStringList Destinations(const THeaderProposal& p) {
    QStringList out;
    for (int d : p.Mapping) out << (d < 0 ? QString() : ImportDestinations()[d]);
    return out;
}

// Proposes, appends the derived columns and imports as the dialog does with
// the proposal untouched.
TUserInfoList ImportWithProposal(QStringList records, THeaderProposal* used) {
    const auto p = ProposeCsvMapping(SplitCsvFields(records[0]));
    EXPECT_TRUE(p.has_value());
    TUserInfoList book;
    if (!p) return book;
    *used = *p;
    AppendDerivedColumns(records, *p);
    MarkLineBreaks(records);
    TImportOptions options;
    options.SkipFirstRecord = true;
    ImportRecords(records, p->Mapping, options, book);
    return book;
}

}  // namespace

TEST(CsvHeaderMapping, OwnExportTitlesMapToTheirDestinations) {
    QStringList all, some;
    for (const TExportColumn& c : ExportColumns()) all << c.Header;
    const auto p = ProposeCsvMapping(all);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->Layout, QString("本ソフトのエクスポート"));
    EXPECT_TRUE(p->Derived.empty());
    ASSERT_EQ(p->Mapping.size(), size_t(kExportColumnCount));
    for (int c = 0; c < kExportColumnCount; ++c)
        EXPECT_EQ(p->Mapping[c], ImportDestinationIndex(ImportDestinationOfExportColumn(c))) << c;
    // A few ticked columns in their export order.
    const auto q = ProposeCsvMapping({"個人名前", "会社名", "年齢", "履歴"});
    ASSERT_TRUE(q.has_value());
    EXPECT_EQ(Destinations(*q), QStringList({"個人名前", "会社名", "", "履歴"}));
}

TEST(CsvHeaderMapping, PlainAddressListsInEitherWidth) {
    const struct {
        QStringList header;
        QStringList destinations;
    } cases[] = {
        {{"氏名", "ふりがな", "郵便番号", "住所1", "住所2", "電話"},
         {"個人名前", "個人フリガナ", "個人郵便番号", "個人住所１", "個人住所２", "個人電話"}},
        {{" 名前 ", "フリガナ", "〒", "住所１", "住所２", "電話番号", "Ｅ－ｍａｉｌ", "備考"},
         {"個人名前", "個人フリガナ", "個人郵便番号", "個人住所１", "個人住所２", "個人電話",
          "個人メール１", "備考"}},
        // A destination stands at one column: the second 住所 gets none.
        {{"氏名", "住所", "住所1"}, {"個人名前", "個人住所１", ""}},
    };
    for (const auto& c : cases) {
        const auto p = ProposeCsvMapping(c.header);
        ASSERT_TRUE(p.has_value()) << c.header.join(',').toStdString();
        EXPECT_EQ(p->Layout, QString("住所録"));
        EXPECT_EQ(Destinations(*p), c.destinations);
    }
}

TEST(CsvHeaderMapping, DataLinesAreNoHeader) {
    const QStringList lines[] = {
        {"山田 太郎", "東京都千代田区", "03-1234-5678"},
        {"氏名", "山田 太郎"},         // one known title is not enough
        {"郵便番号", "住所1", "電話"},  // nothing that names a person
        {},
    };
    for (const QStringList& l : lines)
        EXPECT_FALSE(ProposeCsvMapping(l).has_value()) << l.join(',').toStdString();
}

TEST(CsvHeaderMapping, GoogleContactsFileImportsWithJoinedNameReadingAndAddress) {
    const QString header = QStringLiteral(
        "First Name,Middle Name,Last Name,Phonetic First Name,Phonetic Middle Name,"
        "Phonetic Last Name,Name Prefix,Name Suffix,Nickname,File As,Organization Name,"
        "Organization Title,Organization Department,Birthday,Notes,Photo,Labels,"
        "E-mail 1 - Label,E-mail 1 - Value,Phone 1 - Label,Phone 1 - Value,Address 1 - Label,"
        "Address 1 - Formatted,Address 1 - Street,Address 1 - City,Address 1 - PO Box,"
        "Address 1 - Region,Address 1 - Postal Code,Address 1 - Country,"
        "Address 1 - Extended Address");
    const QString row = QStringLiteral(
        "花子,,鈴木,はなこ,,すずき,,,,,株式会社サンプル,課長,営業部,1985-07-02,\"一行目\r\n二行目\","
        ",* myContacts,Home,hanako@example.com,Mobile,090-8765-4321,Home,"
        "\"千代田1-1\r\nパレス101\r\n千代田区, 東京都 100-0001\",千代田1-1,千代田区,,東京都,"
        "100-0001,日本,パレス101");
    THeaderProposal p;
    const TUserInfoList book = ImportWithProposal(SplitCsvRecords(header + "\r\n" + row + "\r\n"), &p);
    EXPECT_EQ(p.Layout, QString("Googleコンタクト"));
    ASSERT_EQ(book.Count(), 1);
    const TUserInfo& r = *book.Item(0);
    EXPECT_EQ(r.PerSonalName_1, QString("鈴木"));
    EXPECT_EQ(r.PerSonalName_2, QString("花子"));
    EXPECT_EQ(r.PerSonalKana_1, QString("スズキ"));
    EXPECT_EQ(r.PerSonalKana_2, QString("ハナコ"));
    EXPECT_EQ(r.PerSonalAddress_1, QString("東京都千代田区千代田1-1"));
    EXPECT_EQ(r.PerSonalAddress_2, QString("パレス101"));
    EXPECT_EQ(r.PersonalFullZip(), QString("100-0001"));
    EXPECT_EQ(r.PerSonalTel_1, QString("090-8765-4321"));
    EXPECT_EQ(r.PerSonalMail_1, QString("hanako@example.com"));
    EXPECT_EQ(r.OfficeName, QString("株式会社サンプル"));
    EXPECT_EQ(r.OfficePost, QString("営業部"));
    EXPECT_EQ(r.OfficeOfficialPosition, QString("課長"));
    EXPECT_EQ(r.CommonBirthday.date(), QDate(1985, 7, 2));
    EXPECT_EQ(r.CommonMemo, QString("一行目\r\n二行目"));
}

TEST(CsvHeaderMapping, OutlookJapaneseFileImportsBothSides) {
    const QString header = QStringLiteral(
        "\"敬称\",\"名\",\"ミドル ネーム\",\"姓\",\"敬称\",\"会社名\",\"部署\",\"役職\","
        "\"番地 (会社)\",\"番地 2 (会社)\",\"番地 3 (会社)\",\"市町村 (会社)\",\"都道府県 (会社)\","
        "\"郵便番号 (会社)\",\"国/地域 (会社)\",\"番地 (自宅)\",\"番地 2 (自宅)\",\"番地 3 (自宅)\","
        "\"市町村 (自宅)\",\"都道府県 (自宅)\",\"郵便番号 (自宅)\",\"国/地域 (自宅)\",\"会社 FAX\","
        "\"会社電話\",\"自宅電話\",\"携帯電話\",\"誕生日\",\"性別\",\"電子メール アドレス\","
        "\"メモ\",\"分類\",\"姓 (フリガナ)\",\"名 (フリガナ)\",\"会社名 (フリガナ)\"");
    const QString row = QStringLiteral(
        "\"\",\"一郎\",\"\",\"佐藤\",\"様\",\"瀬戸内工業株式会社\",\"技術部\",\"部長\","
        "\"基町6-78\",\"基町センタービル\",\"\",\"広島市中区\",\"広島県\",\"730-0011\",\"日本\","
        "\"本町2-7-10\",\"\",\"\",\"仙台市青葉区\",\"宮城県\",\"980-0014\",\"日本\",\"082-221-5501\","
        "\"082-221-5500\",\"022-225-6612\",\"090-0000-0000\",\"1960/4/1\",\"男性\","
        "\"sato@example.jp\",\"\",\"親戚\",\"さとう\",\"いちろう\",\"セトウチコウギョウ\"");
    THeaderProposal p;
    const TUserInfoList book = ImportWithProposal({header, row}, &p);
    EXPECT_EQ(p.Layout, QString("Outlook"));
    ASSERT_EQ(book.Count(), 1);
    const TUserInfo& r = *book.Item(0);
    EXPECT_EQ(r.PerSonalName_1, QString("佐藤"));
    EXPECT_EQ(r.PerSonalName_2, QString("一郎"));
    EXPECT_EQ(r.PerSonalKana_1, QString("サトウ"));
    EXPECT_EQ(r.PerSonalKana_2, QString("イチロウ"));
    // Of the two 敬称 columns the one after the name holds the honorific.
    EXPECT_EQ(r.PerSonalHonorificTitle, QString("様"));
    EXPECT_EQ(r.PerSonalAddress_1, QString("宮城県仙台市青葉区本町2-7-10"));
    EXPECT_EQ(r.PersonalFullZip(), QString("980-0014"));
    EXPECT_EQ(r.PerSonalTel_1, QString("022-225-6612"));
    EXPECT_EQ(r.OfficeAddress_1, QString("広島県広島市中区基町6-78"));
    EXPECT_EQ(r.OfficeAddress_2, QString("基町センタービル"));
    EXPECT_EQ(r.OfficeFullZip(), QString("730-0011"));
    EXPECT_EQ(r.OfficeTel_1, QString("082-221-5500"));
    EXPECT_EQ(r.OfficeTel_2, QString("082-221-5501"));
    EXPECT_EQ(r.OfficeKana, QString("セトウチコウギョウ"));
    EXPECT_EQ(r.PersonalSex, TThSex::tsMale);
    EXPECT_EQ(r.CommonBirthday.date(), QDate(1960, 4, 1));
    EXPECT_EQ(r.CommonCategory_1, QString("親戚"));
}

TEST(CsvHeaderMapping, OwnExportFileComesBackWithoutMappingByHand) {
    TUserInfoList book;
    auto* r = book.Add();
    r->PerSonalName_1 = "山田";
    r->PerSonalName_2 = "太郎";
    r->PerSonalKana_1 = "ヤマダ";
    r->PerSonalKana_2 = "タロウ";
    r->PerSonalZip_1 = "100";
    r->PerSonalZip_2 = "0005";
    r->PerSonalAddress_1 = "東京都千代田区丸の内1-9-1";
    r->OfficeName = "山田貿易株式会社";
    r->CommonMemo = "一行目\r\n二行目";
    r->CommonHistoryObjectList.Add({QDate(2023, 11, 2), "来社", "取引条件の確認"});
    r->CommonBirthday = MakeDateTime(QDate(1962, 2, 22));
    TExportOptions o;
    for (int c = 0; c < kExportColumnCount; ++c) o.Columns.push_back(c);
    o.Header = true;
    const QByteArray csv = ComposeCsv(book, o, QDate(2024, 6, 1)).Bytes;
    THeaderProposal p;
    const TUserInfoList back = ImportWithProposal(SplitCsvRecords(DecodeCsvFile(csv)), &p);
    ASSERT_EQ(back.Count(), 1);
    const TUserInfo& b = *back.Item(0);
    EXPECT_EQ(b.PersonalFullName(), QString("山田 太郎"));
    EXPECT_EQ(b.PersonalFullNameKana(), QString("ヤマダ タロウ"));
    EXPECT_EQ(b.PersonalFullZip(), QString("100-0005"));
    EXPECT_EQ(b.PerSonalAddress_1, r->PerSonalAddress_1);
    EXPECT_EQ(b.OfficeName, r->OfficeName);
    EXPECT_EQ(b.CommonMemo, r->CommonMemo);
    EXPECT_EQ(b.CommonHistoryObjectList, r->CommonHistoryObjectList);
    EXPECT_EQ(b.CommonBirthday.date(), QDate(1962, 2, 22));
}
