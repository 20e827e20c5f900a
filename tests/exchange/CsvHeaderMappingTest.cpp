// Header recognition: the proposed mapping of each known layout, and files of
// those layouts imported with nothing mapped by hand.
#include <gtest/gtest.h>

#include <map>

#include "QStringPrinter.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvHeaderMapping.h"
#include "exchange/CsvReader.h"
#include "platform/Cp932.h"

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

// The 95 titles of Outlook's Japanese contact export, in its order and spelling.
const char kOutlookHeader[] =
    "\"肩書き\",\"名\",\"ミドル ネーム\",\"姓\",\"敬称\",\"会社名\","
    "\"部署\",\"役職\",\"番地 (会社)\",\"住所 2 (会社)\",\"住所 3 (会社)\",\"市町村 (会社)\","
    "\"都道府県 (会社)\",\"郵便番号 (会社)\",\"国 (会社)/地域\",\"番地 (自宅)\",\"住所 2 "
    "(自宅)\",\"住所 3 (自宅)\","
    "\"市町村 (自宅)\",\"都道府県 (自宅)\",\"郵便番号 (自宅)\",\"国 (自宅)/地域\",\"番地 "
    "(その他)\",\"住所 2 (その他)\","
    "\"住所 3 (その他)\",\"市町村 (その他)\",\"都道府県 (その他)\",\"郵便番号 (その他)\",\"国 "
    "(その他)/地域\",\"秘書の電話\","
    "\"会社 FAX\",\"会社電話\",\"会社電話 2\",\"コールバック\",\"自動車電話\",\"会社代表電話\","
    "\"自宅 FAX\",\"自宅電話\",\"自宅電話 2\",\"ISDN\",\"携帯電話\",\"その他の FAX\","
    "\"その他の電話\",\"ポケットベル\",\"通常の電話\",\"無線電話\",\"TTY/TDD\",\"テレックス\","
    "\"ID 番号\",\"Web "
    "ページ\",\"アカウント\",\"イニシャル\",\"インターネット空き時間情報\",\"キーワード\","
    "\"その他住所私書箱\",\"ディレクトリ "
    "サーバー\",\"プライベート\",\"マネージャー\",\"メモ\",\"ユーザー 1\","
    "\"ユーザー 2\",\"ユーザー 3\",\"ユーザー 4\",\"会社 "
    "ID\",\"会社住所私書箱\",\"会社名フリガナ\","
    "\"記念日\",\"経費情報\",\"言語\",\"参照事項\",\"子供\",\"支払い条件\","
    "\"事業所\",\"自宅住所私書箱\",\"趣味\",\"場所\",\"職業\",\"姓フリガナ\","
    "\"性別\",\"誕生日\",\"電子メール "
    "アドレス\",\"電子メールの種類\",\"電子メール表示名\",\"電子メール 2 アドレス\","
    "\"電子メール 2 の種類\",\"電子メール 2 表示名\",\"電子メール 3 アドレス\",\"電子メール 3 "
    "の種類\",\"電子メール 3 表示名\",\"配偶者\","
    "\"秘書の氏名\",\"秘密度\",\"分類\",\"名前フリガナ\",\"優先度\"";

// A CSV line of the header's width with the named columns filled.
QString OutlookRow(const std::map<QString, QString>& values) {
    const QStringList titles = SplitCsvFields(QString::fromUtf8(kOutlookHeader));
    QStringList fields;
    for (const QString& t : titles) {
        const auto it = values.find(t);
        QString v = it == values.end() ? QString() : it->second;
        fields << u'"' + v.replace(u'"', QStringLiteral("\"\"")) + u'"';
    }
    return fields.join(u',');
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

TEST(CsvHeaderMapping, OutlooksOwnExportInCp932KeepsReadingsSecondLinesMobileAndCategories) {
    const QString header = QString::fromUtf8(kOutlookHeader);
    ASSERT_EQ(SplitCsvFields(header).size(), 95);
    const QString row = OutlookRow({
        {"名", "一郎"},
        {"姓", "佐藤"},
        {"敬称", "様"},
        {"姓フリガナ", "さとう"},
        {"名前フリガナ", "イチロウ"},
        {"会社名", "瀬戸内工業株式会社"},
        {"会社名フリガナ", "せとうちこうぎょう"},
        {"番地 (会社)", "基町6-78"},
        {"住所 2 (会社)", "基町センタービル"},
        {"住所 3 (会社)", "5階"},
        {"市町村 (会社)", "広島市中区"},
        {"都道府県 (会社)", "広島県"},
        {"郵便番号 (会社)", "7300011"},
        {"番地 (自宅)", "本町2-7-10"},
        {"住所 2 (自宅)", "本町ハイツ301"},
        {"市町村 (自宅)", "仙台市青葉区"},
        {"都道府県 (自宅)", "宮城県"},
        {"郵便番号 (自宅)", "980-0014"},
        {"会社電話", "082-221-5500"},
        {"会社 FAX", "082-221-5501"},
        {"携帯電話", "090-1111-2222"},
        {"誕生日", "0/0/00"},
        {"性別", "男性"},
        {"電子メール アドレス", "sato@example.jp"},
        {"分類", "友人;仕事"},
    });
    // As Outlook writes it: CP932 bytes, CR LF, every field quoted.
    const QByteArray bytes = EncodeCp932(header + "\r\n" + row + "\r\n");
    THeaderProposal p;
    const TUserInfoList book = ImportWithProposal(SplitCsvRecords(DecodeCsvFile(bytes)), &p);
    EXPECT_EQ(p.Layout, QString("Outlook"));
    ASSERT_EQ(book.Count(), 1);
    const TUserInfo& r = *book.Item(0);
    EXPECT_EQ(r.PersonalFullName(), QString("佐藤 一郎"));
    EXPECT_EQ(r.PersonalFullNameKana(), QString("サトウ イチロウ"));
    EXPECT_EQ(r.OfficeKana, QString("セトウチコウギョウ"));
    EXPECT_EQ(r.PerSonalAddress_1, QString("宮城県仙台市青葉区本町2-7-10"));
    EXPECT_EQ(r.PerSonalAddress_2, QString("本町ハイツ301"));
    EXPECT_EQ(r.OfficeAddress_2, QString("基町センタービル 5階"));
    EXPECT_EQ(r.OfficeFullZip(), QString("730-0011"));
    // No home number: the mobile is the first; fax numbers come after the others.
    EXPECT_EQ(r.PerSonalTel_1, QString("090-1111-2222"));
    EXPECT_EQ(r.OfficeTel_1, QString("082-221-5500"));
    EXPECT_EQ(r.OfficeTel_2, QString("082-221-5501"));
    EXPECT_EQ(r.PerSonalMail_1, QString("sato@example.jp"));
    EXPECT_EQ(r.CommonCategory_1, QString("友人"));
    EXPECT_EQ(r.CommonCategory_2, QString("仕事"));
    // Outlook's "0/0/00" is no birthday.
    EXPECT_FALSE(r.HasBirthday());
    EXPECT_TRUE(r.CommonUseTypePersonal);
}

TEST(CsvHeaderMapping, GoogleLabelsPutEachValueOnItsSide) {
    // Google Contacts' current export header, its numbered columns labelled.
    const QString header = QStringLiteral(
        "First Name,Middle Name,Last Name,Phonetic First Name,Phonetic Middle Name,"
        "Phonetic Last Name,Name Prefix,Name Suffix,Nickname,File As,Organization Name,"
        "Organization Title,Organization Department,Birthday,Notes,Photo,Labels,"
        "E-mail 1 - Label,E-mail 1 - Value,E-mail 2 - Label,E-mail 2 - Value,"
        "Phone 1 - Label,Phone 1 - Value,Phone 2 - Label,Phone 2 - Value,"
        "Address 1 - Label,Address 1 - Formatted,Address 1 - Street,Address 1 - City,"
        "Address 1 - PO Box,Address 1 - Region,Address 1 - Postal Code,Address 1 - Country,"
        "Address 1 - Extended Address,Address 2 - Label,Address 2 - Formatted,"
        "Address 2 - Street,Address 2 - City,Address 2 - PO Box,Address 2 - Region,"
        "Address 2 - Postal Code,Address 2 - Country,Address 2 - Extended Address");
    const QStringList rows = {
        // Work first, then home: each goes to its side, whatever its number.
        "花子,,鈴木,はなこ,,すずき,,,,,株式会社サンプル,課長,営業部,--03-15,,,"
        "* myContacts ::: 友人 ::: 仕事,* Work,suzuki@corp.example.co.jp,Home,hanako@example.com,"
        "Work,03-5555-0000,Mobile,090-8765-4321,"
        "Work,,丸の内2-7-2,千代田区,,東京都,1000005,日本,,"
        "Home,,千代田1-1,千代田区,,東京都,100-0001,日本,パレス101",
        // Only a work address (labelled in Japanese): printed on the office side.
        "一郎,,佐藤,いちろう,,さとう,,,,,瀬戸内工業,,,1960-04-01,,,* myContacts,"
        ",,,,会社,082-221-5500,,,会社,,基町6-78,広島市中区,,広島県,730-0011,,,"
        ",,,,,,,,",
    };
    THeaderProposal p;
    const TUserInfoList book = ImportWithProposal(QStringList{header} + rows, &p);
    EXPECT_EQ(p.Layout, QString("Googleコンタクト"));
    ASSERT_EQ(book.Count(), 2);
    const TUserInfo& h = *book.Item(0);
    EXPECT_EQ(h.PersonalFullNameKana(), QString("スズキ ハナコ"));
    EXPECT_EQ(h.PerSonalMail_1, QString("hanako@example.com"));
    EXPECT_EQ(h.OfficeMail_1, QString("suzuki@corp.example.co.jp"));
    EXPECT_EQ(h.PerSonalTel_1, QString("090-8765-4321"));
    EXPECT_EQ(h.OfficeTel_1, QString("03-5555-0000"));
    EXPECT_EQ(h.PerSonalAddress_1, QString("東京都千代田区千代田1-1"));
    EXPECT_EQ(h.PerSonalAddress_2, QString("パレス101"));
    EXPECT_EQ(h.PersonalFullZip(), QString("100-0001"));
    EXPECT_EQ(h.OfficeAddress_1, QString("東京都千代田区丸の内2-7-2"));
    EXPECT_EQ(h.OfficeFullZip(), QString("100-0005"));
    EXPECT_EQ(h.CommonCategory_1, QString("友人"));
    EXPECT_EQ(h.CommonCategory_2, QString("仕事"));
    EXPECT_FALSE(h.HasBirthday());  // "--03-15" has no year
    EXPECT_TRUE(h.CommonUseTypePersonal);
    const TUserInfo& w = *book.Item(1);
    EXPECT_EQ(w.OfficeAddress_1, QString("広島県広島市中区基町6-78"));
    EXPECT_EQ(w.OfficeTel_1, QString("082-221-5500"));
    EXPECT_EQ(w.PerSonalAddress_1, QString());
    EXPECT_FALSE(w.CommonUseTypePersonal);
    EXPECT_EQ(w.CommonCategory_1, QString());
    EXPECT_EQ(w.CommonBirthday.date(), QDate(1960, 4, 1));
}

TEST(CsvHeaderMapping, HagakiDesignKitAndPlainListsWithJointNamesAndCategories) {
    const QString kit = QStringLiteral(
        "氏名(姓),氏名(名),郵便番号(自宅欄),自宅住所(都道府県),自宅住所(市区町村),自宅住所(番地等),"
        "自宅住所(建物名),敬称,連名1(姓:自宅欄),連名1(名:自宅欄),連名1(姓名:自宅欄),"
        "連名1(敬称:自宅欄),カテゴリ,送受履歴,デザインキット住所ID\r\n"
        "山田,太郎,1500002,東京都,渋谷区,渋谷2-1-1,渋谷ハイツ5F,様,山田,花子,山田 花子,様,"
        "親戚,,12\r\n");
    THeaderProposal p;
    TUserInfoList book = ImportWithProposal(SplitCsvRecords(kit), &p);
    EXPECT_EQ(p.Layout, QString("はがきデザインキット"));
    ASSERT_EQ(book.Count(), 1);
    EXPECT_EQ(book.Item(0)->PersonalFullName(), QString("山田 太郎"));
    EXPECT_EQ(book.Item(0)->PersonalFullZip(), QString("150-0002"));
    EXPECT_EQ(book.Item(0)->PerSonalAddress_1, QString("東京都渋谷区渋谷2-1-1"));
    EXPECT_EQ(book.Item(0)->PerSonalAddress_2, QString("渋谷ハイツ5F"));
    EXPECT_EQ(book.Item(0)->CommonJointNameObj_1.PrintName, QString("花子"));
    EXPECT_EQ(book.Item(0)->CommonCategory_1, QString("親戚"));

    const QString plain = QStringLiteral(
        "氏名,ふりがな,郵便番号,住所,電話,携帯電話,分類\r\n"
        "佐藤 次郎,さとう "
        "じろう,１２３４５６７,大阪府大阪市北区梅田1-1,,080-0000-1111,友人,仕事\r\n");
    book = ImportWithProposal(SplitCsvRecords(plain), &p);
    EXPECT_EQ(p.Layout, QString("住所録"));
    ASSERT_EQ(book.Count(), 1);
    EXPECT_EQ(book.Item(0)->PersonalFullNameKana(), QString("サトウ ジロウ"));
    EXPECT_EQ(book.Item(0)->PersonalFullZip(), QString("123-4567"));
    EXPECT_EQ(book.Item(0)->PerSonalTel_1, QString("080-0000-1111"));
    EXPECT_EQ(book.Item(0)->CommonCategory_1, QString("友人"));
}

TEST(CsvHeaderMapping, DescriptionNamesEachDestinationAndItsColumns) {
    const QStringList header = {"姓", "名", "郵便番号 (自宅)", "会社名"};
    const auto p = ProposeCsvMapping(header);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(DescribeProposal(*p, header), QStringList({"個人郵便番号 ← 郵便番号 (自宅)",
                                                         "会社名 ← 会社名", "個人名前 ← 姓 + 名"}));
}
