// The address list: columns, sorting, tabs, filters, selection, print marks and deleting.
#include <QCollator>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTabBar>
#include <QTableView>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "AppFixture.h"
#include "app/AddressListColumns.h"
#include "tests/support/FieldSamples.h"
#include "model/ListFile.h"
#include "platform/Clock.h"

namespace q2test {
namespace {

using q2::TThSex;

TEST(AddressListColumns, CaptionsAndWidths) {
    EXPECT_EQ(q2::ColumnCaption(0), "印刷");
    EXPECT_EQ(q2::ColumnCaption(1), "フリガナ");
    EXPECT_EQ(q2::ColumnCaption(15), "フリガナ");
    EXPECT_EQ(q2::ColumnCaption(21), "会社電話/FAX");
    EXPECT_EQ(q2::ColumnCaption(27), "連名１");
    EXPECT_EQ(q2::ColumnCaption(34), "連名４敬称");
    EXPECT_EQ(q2::ColumnCaption(40), "差込4");
    EXPECT_EQ(q2::ColumnCaption(43), "備考");
    EXPECT_EQ(q2::ColumnWidth(0), 60);
    EXPECT_EQ(q2::ColumnWidth(12), 125);
    EXPECT_EQ(q2::ColumnWidth(13), 0);
    EXPECT_EQ(q2::ColumnWidth(14), 0);
    EXPECT_EQ(q2::ColumnWidth(15), 300);
    EXPECT_EQ(q2::ColumnWidth(43), 400);
}

// Stored settings name columns by number: the order must not move.
TEST(AddressListColumns, EveryColumnsCaptionAndText) {
    q2::SetNowForTesting(QDateTime(kFieldSampleToday, QTime(12, 0)));
    struct Column {
        const char* caption;
        const char* text;
    };
    const Column columns[q2::kAddressListColumnCount] = {
        {"印刷", "●"},
        {"フリガナ", "ヤマダ タロウ"},
        {"名前", "山田 太郎"},
        {"敬称", "様"},
        {"郵便番号", "263-0023"},
        {"住所１", "千葉県千葉市稲毛区"},
        {"住所２", "緑町1-1"},
        {"電話", "043-111"},
        {"電話/FAX", "043-222"},
        {"メール１", "a@home.jp"},
        {"メール２", "b@home.jp"},
        {"HP", "http://home.jp/"},
        {"生年月日", "1980/06/16"},
        {"年齢", "43"},
        {"性別", "女性"},
        {"フリガナ", "ミドリショウジ"},
        {"会社名", "緑商事"},
        {"会社郵便番号", "100-0005"},
        {"会社住所１", "東京都千代田区"},
        {"会社住所２", "丸の内1-1"},
        {"会社電話", "03-333"},
        {"会社電話/FAX", "03-444"},
        {"会社メール１", "c@work.jp"},
        {"会社メール２", "d@work.jp"},
        {"会社HP", "http://work.jp/"},
        {"部署", "営業部"},
        {"役職", "課長"},
        {"連名１", "一郎"},
        {"連名１敬称", "様"},
        {"連名２", "花子"},
        {"連名２敬称", "殿"},
        {"連名３", "次郎"},
        {"連名３敬称", "くん"},
        {"連名４", "三郎"},
        {"連名４敬称", "ちゃん"},
        {"分類１", "友達"},
        {"分類２", "仕事"},
        {"差込1", "差込A"},
        {"差込2", "差込B"},
        {"差込3", "差込C"},
        {"差込4", "差込D"},
        {"印刷住所", "会社用"},
        {"登録日", "2023/12/01"},
        {"備考", "一行目\r\n二行目"},
    };
    const q2::TUserInfo r = DistinctRecord();
    for (int c = 0; c < q2::kAddressListColumnCount; ++c) {
        EXPECT_EQ(q2::ColumnCaption(c), QString::fromUtf8(columns[c].caption)) << c;
        EXPECT_EQ(q2::ColumnText(r, c), QString::fromUtf8(columns[c].text)) << c;
    }
    for (int c : {-1, q2::kAddressListColumnCount}) {
        EXPECT_EQ(q2::ColumnCaption(c), "");
        EXPECT_EQ(q2::ColumnText(r, c), "");
        EXPECT_EQ(q2::AddressListColumnField(c), nullptr);
    }
    q2::SetNowForTesting(std::nullopt);
}

TEST(AddressListColumns, TextsOfARecord) {
    // The user's regional format must not leak into the list.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    q2::SetNowForTesting(QDateTime(QDate(2024, 4, 4), QTime(12, 0)));
    q2::TUserInfo r;
    r.PerSonalKana_1 = "ヤマダ";
    r.PerSonalKana_2 = "タロウ";
    r.PerSonalName_1 = "山田";
    r.PerSonalName_2 = "太郎";
    r.PerSonalZip_1 = "100";
    r.PerSonalZip_2 = "0001";
    r.CommonBirthday = q2::MakeDateTime(QDate(1980, 4, 5));
    r.CommonRegistDate = q2::MakeDateTime(QDate(2023, 12, 1));
    r.PersonalSex = TThSex::tsFemale;
    r.CommonPrintCheck = true;
    r.CommonUseTypePersonal = true;
    r.CommonJointNameObj_3.PrintName = "花子";
    r.CommonJointNameObj_3.HonorificTitle = "様";
    r.CommonInsertStr_4 = "差込";
    struct Cell {
        int column;
        const char* text;
    };
    const Cell cells[] = {
        {0, "●"},           {1, "ヤマダ タロウ"}, {2, "山田 太郎"}, {4, "100-0001"},
        {12, "1980/04/05"}, {13, "43"},           {14, "女性"},     {31, "花子"},
        {32, "様"},         {40, "差込"},         {41, "個人用"},   {42, "2023/12/01"},
    };
    for (const Cell& c : cells)
        EXPECT_EQ(q2::ColumnText(r, c.column), QString::fromUtf8(c.text)) << c.column;
    r.CommonPrintCheck = false;
    r.CommonUseTypePersonal = false;
    r.PersonalSex = TThSex::tsNone;
    EXPECT_EQ(q2::ColumnText(r, 0), "");
    EXPECT_EQ(q2::ColumnText(r, 41), "会社用");
    EXPECT_EQ(q2::ColumnText(r, 14), "未設定");
    // The file's zero date means no birthday: no age of 124 in the list.
    r.CommonBirthday = q2::ZeroDateTime();
    EXPECT_EQ(q2::ColumnText(r, 13), "");
    q2::SetNowForTesting(std::nullopt);
    QLocale::setDefault(QLocale::system());
}

// Sorts records made by `make` by one column and returns their memo texts,
// which name each record.
template <typename Make>
QStringList SortedTags(int column, bool ascending, int n, Make make) {
    std::vector<std::unique_ptr<q2::TUserInfo>> owned;
    q2::TDisplayList list;
    for (int i = 0; i < n; ++i) {
        owned.push_back(std::make_unique<q2::TUserInfo>());
        make(*owned.back(), i);
        owned.back()->CommonMemo = QString::number(i);
        list.push_back(owned.back().get());
    }
    q2::SortDisplayList(list, column, ascending);
    QStringList tags;
    for (const q2::TUserInfo* r : list) tags << r->CommonMemo;
    return tags;
}

TEST(SortDisplayList, KeysOfEachKind) {
    // Booleans: false before true.
    EXPECT_EQ(SortedTags(0, true, 3, [](q2::TUserInfo& r, int i) { r.CommonPrintCheck = i != 1; }),
              QStringList({"1", "0", "2"}));
    // Sex: female, male, not set.
    const TThSex sexes[] = {TThSex::tsNone, TThSex::tsMale, TThSex::tsFemale};
    EXPECT_EQ(SortedTags(14, true, 3, [&](q2::TUserInfo& r, int i) { r.PersonalSex = sexes[i]; }),
              QStringList({"2", "1", "0"}));
    // Dates in date order, ages as numbers (9 before 10).
    const QDate days[] = {QDate(2001, 1, 2), QDate(1999, 12, 31), QDate(2001, 1, 1)};
    EXPECT_EQ(SortedTags(
                  42, true, 3,
                  [&](q2::TUserInfo& r, int i) { r.CommonRegistDate = q2::MakeDateTime(days[i]); }),
              QStringList({"1", "2", "0"}));
    q2::SetNowForTesting(QDateTime(QDate(2024, 6, 1), QTime(0, 0)));
    const int ages[] = {10, 9, 100};
    EXPECT_EQ(SortedTags(13, true, 3,
                         [&](q2::TUserInfo& r, int i) {
                             r.CommonBirthday = q2::MakeDateTime(QDate(2024 - ages[i], 1, 1));
                         }),
              QStringList({"1", "0", "2"}));
    // No birthday sorts before every age, not as the oldest.
    EXPECT_EQ(SortedTags(13, true, 3,
                         [&](q2::TUserInfo& r, int i) {
                             r.CommonBirthday = i == 1 ? q2::ZeroDateTime()
                                                       : q2::MakeDateTime(QDate(2024 - ages[i], 1, 1));
                         }),
              QStringList({"1", "0", "2"}));
    q2::SetNowForTesting(std::nullopt);
    // Texts: case-insensitive, kana in the order of the syllabary whatever the script.
    const char* mails[] = {"b@x", "A@x", "a@y", "C@x"};
    EXPECT_EQ(SortedTags(
                  9, true, 4,
                  [&](q2::TUserInfo& r, int i) { r.PerSonalMail_1 = QString::fromUtf8(mails[i]); }),
              QStringList({"1", "2", "0", "3"}));
    const char* kana[] = {"サトウ", "あべ", "カトウ", "ｲｼｲ"};
    EXPECT_EQ(
        SortedTags(1, true, 4,
                   [&](q2::TUserInfo& r, int i) { r.PerSonalKana_1 = QString::fromUtf8(kana[i]); }),
        QStringList({"1", "3", "2", "0"}));
    // Descending is the reverse.
    EXPECT_EQ(
        SortedTags(1, false, 4,
                   [&](q2::TUserInfo& r, int i) { r.PerSonalKana_1 = QString::fromUtf8(kana[i]); }),
        QStringList({"0", "2", "3", "1"}));
}

// Names and company names sort in 50音 order of their readings; kanji code
// points would give 中村, 山田, 木村, 藤井, 青山.
TEST(SortDisplayList, NamesGoByTheirReading) {
    struct Person {
        const char *name1, *name2, *kana1, *kana2;
    };
    const Person people[] = {
        {"木村", "", "キムラ", ""},
        {"藤井", "", "フジイ", ""},
        {"中村", "", "ナカムラ", ""},
        {"青山", "", "あおやま", ""},
        {"山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ"},
        {"山台", "", "ヤマダイ", ""},
        {"佐藤", "", "", ""},
        {"伊藤", "", "", ""},
        {"山田", "一郎", "ヤマダ", "タロウ"},
    };
    // Hiragana and half-width readings sort with katakana; the family reading
    // comes first (ヤマダ タロウ before ヤマダイ); equal readings go by name;
    // records without a reading follow, by name.
    const QStringList expected = {"青山 ",     "木村 ", "中村 ", "藤井 ", "山田 一郎",
                                  "山田 太郎", "山台 ", "伊藤 ", "佐藤 "};
    auto sorted = [&](int column, bool ascending) {
        std::vector<q2::TUserInfo> owned(std::size(people));
        q2::TDisplayList list;
        for (size_t i = 0; i < owned.size(); ++i) {
            q2::TUserInfo& r = owned[i];
            r.PerSonalName_1 = QString::fromUtf8(people[i].name1);
            r.PerSonalName_2 = QString::fromUtf8(people[i].name2);
            r.PerSonalKana_1 = QString::fromUtf8(people[i].kana1);
            r.PerSonalKana_2 = QString::fromUtf8(people[i].kana2);
            r.OfficeName = r.PersonalFullName();
            r.OfficeKana = r.PerSonalKana_1 + r.PerSonalKana_2;
            list.push_back(&r);
        }
        q2::SortDisplayList(list, column, ascending);
        QStringList names;
        for (const q2::TUserInfo* r : list) names << r->PersonalFullName();
        return names;
    };
    for (int column : {1, 2}) {
        SCOPED_TRACE(column);
        EXPECT_EQ(sorted(column, true), expected);
        QStringList reversed = expected;
        std::reverse(reversed.begin(), reversed.end());
        EXPECT_EQ(sorted(column, false), reversed);
    }
    // Company readings are one text: ヤマダイ and ヤマダタロウ compare letter by letter.
    QStringList offices = expected;
    offices.swapItemsAt(4, 6);
    offices.swapItemsAt(5, 6);
    EXPECT_EQ(sorted(15, true), offices);
    EXPECT_EQ(sorted(16, true), offices);
}

TEST_F(AppTest, SampleBookFillsEveryReadingRow) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(QStringLiteral(Q2_SOURCE_DIR "/data/sample.QT2"));
    ASSERT_EQ(m.Session.Book.Count(), 30);
    EXPECT_TRUE(prompter.shown.isEmpty());
    for (int tab = 1; tab <= 12; ++tab) {
        m.ClickTab(tab);
        EXPECT_FALSE(m.DisplayList.empty()) << "tab " << tab;
    }
    int offices = 0, joint = 0, history = 0;
    for (int i = 0; i < m.Session.Book.Count(); ++i) {
        const q2::TUserInfo& r = *m.Session.Book.Item(i);
        offices += !r.OfficeName.isEmpty();
        joint += !r.CommonJointNameObj_1.PrintName.isEmpty();
        history += r.CommonHistoryObjectList.Count() > 0;
        EXPECT_TRUE(r.PerSonalZip_1.isEmpty() ||
                    r.PerSonalZip_1.size() + r.PerSonalZip_2.size() == 7);
    }
    EXPECT_GE(offices, 5);
    EXPECT_GE(joint, 3);
    EXPECT_GE(history, 3);
}

class AddressListWindow : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(q2::SaveListFile(q2::GetCategory1Path(), {"友達", "仕事関係", "友達 "}));
        ASSERT_TRUE(q2::SaveListFile(q2::GetCategory2Path(), {"男", "女"}));
        book_ = WriteBook("list.QT2", {
                                          {"カトウ", "加藤", "友達", "男", TThSex::tsMale},
                                          {"あおき", "青木", "仕事関係", "女", TThSex::tsFemale},
                                          {"ｶﾞﾓｳ", "蒲生", "友達 ", "", TThSex::tsNone},
                                          {"ヴィエラ", "ヴィエラ", "友達", "女", TThSex::tsFemale},
                                          {"", "名無し", "", "", TThSex::tsNone},
                                          {"Ａｎｄｏ", "安藤", "仕事関係", "男", TThSex::tsMale},
                                          {"ｍｏｒｉ", "森", "友達", "", TThSex::tsMale},
                                          {"がもう", "蒲生二", "友達", "女", TThSex::tsFemale},
                                      });
    }
    q2::TFormMain& StartWithBook() {
        q2::TFormMain& m = Start();
        m.OpenCommandLineFile(book_);
        return m;
    }
    QString book_;
};

TEST_F(AddressListWindow, TabsListTheirReadingRows) {
    q2::TFormMain& m = StartWithBook();
    EXPECT_EQ(m.DisplayList.size(), 8u);
    EXPECT_EQ(m.LblPrintCount->text(), "8/8件該当");
    m.ClickTab(2);  // カ
    EXPECT_EQ(m.TCAddressList->currentIndex(), 2);
    QStringList ka = Names(m.DisplayList);
    std::sort(ka.begin(), ka.end());
    QStringList expected{"加藤", "蒲生", "蒲生二"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ka, expected);
    EXPECT_EQ(m.LblPrintCount->text(), "3/8件該当");
    m.ClickTab(12);  // 他: ヴ, the empty reading and full-width lower case
    QStringList other = Names(m.DisplayList);
    std::sort(other.begin(), other.end());
    expected = QStringList{"ヴィエラ", "名無し", "森"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(other, expected);
    m.ClickTab(11);
    EXPECT_EQ(Names(m.DisplayList), QStringList({"安藤"}));
    m.ClickTab(1);
    EXPECT_EQ(Names(m.DisplayList), QStringList({"青木"}));
    // Every refresh sorts by reading, ascending.
    m.ClickTab(0);
    EXPECT_TRUE(m.SortAscending);
    EXPECT_EQ(m.DisplayList.back()->PerSonalName_1, "名無し");
    // The search tab waits for the search dialog.
    EXPECT_FALSE(m.TCAddressList->isTabEnabled(q2::TFormMain::kTabSearch));
}

TEST_F(AddressListWindow, SearchTabAsksTheSearchDialog) {
    q2::TFormMain& m = StartWithBook();
    m.ClickTab(2);
    const q2::TDisplayList before = m.DisplayList;
    bool ok = false;
    QList<int> rows;
    m.SetSearchDialog([&] { return ok; },
                      [&](const q2::TUserInfo& r, int row) {
                          rows << row;
                          return r.PersonalSex == TThSex::tsMale;
                      });
    ASSERT_TRUE(m.TCAddressList->isTabEnabled(q2::TFormMain::kTabSearch));
    m.ClickTab(q2::TFormMain::kTabSearch);  // cancelled: the rows stay
    EXPECT_EQ(m.DisplayList, before);
    ok = true;
    m.ClickTab(q2::TFormMain::kTabSearch);  // pressed again while selected
    EXPECT_EQ(m.DisplayList.size(), 3u);
    EXPECT_EQ(rows.size(), 8);
    EXPECT_TRUE(rows.contains(2) && rows.contains(11) && rows.contains(12));
}

TEST_F(AddressListWindow, ToolbarHasElevenCaptionedButtonsWithPictures) {
    QIcon::setThemeName(QString());  // no desktop theme: the program's own pictures
    q2::TFormMain& m = Start();
    const QList<QToolButton*> buttons =
        m.findChildren<QToolButton*>(QRegularExpression("^[pP]ngBtn"));
    EXPECT_EQ(buttons.size(), 11);
    for (const QToolButton* b : buttons) {
        EXPECT_FALSE(b->text().isEmpty()) << b->objectName().toStdString();
        EXPECT_FALSE(b->icon().pixmap(32, 32).isNull()) << b->objectName().toStdString();
    }
    // Only what works is enabled.
    for (const QToolButton* b :
         {m.pngBtnOpen, m.pngBtnSave, m.pngBtnNew, m.pngBtnAddAddress, m.pngBtnAddSender})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    for (const QToolButton* b :
         {m.pngBtnConfig, m.PngBtnDirectMail, m.pngBtnImport, m.PngBtnZipUpdate})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

TEST_F(AddressListWindow, CategoryFiltersMatchExactlyOnEveryTab) {
    q2::TFormMain& m = StartWithBook();
    EXPECT_EQ(m.CBDisplayCategory_1->itemText(0), "指定なし");
    EXPECT_EQ(m.CBDisplayCategory_1->count(), 4);
    EXPECT_EQ(m.CBDisplayCategory_2->count(), 3);
    m.CBDisplayCategory_1->setCurrentIndex(1);  // 友達, not "友達 "
    QStringList names = Names(m.DisplayList);
    std::sort(names.begin(), names.end());
    QStringList expected{"加藤", "ヴィエラ", "森", "蒲生二"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(m.LblPrintCount->text(), "4/8件該当");
    m.ClickTab(2);
    names = Names(m.DisplayList);
    std::sort(names.begin(), names.end());
    expected = QStringList{"加藤", "蒲生二"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    m.CBDisplayCategory_2->setCurrentIndex(2);  // 女
    EXPECT_EQ(Names(m.DisplayList), QStringList({"蒲生二"}));
    m.CBDisplayCategory_1->setCurrentIndex(0);
    m.CBDisplayCategory_2->setCurrentIndex(0);
    EXPECT_EQ(m.DisplayList.size(), 3u);
}

TEST_F(AddressListWindow, HeaderClicksFlipOneSharedDirection) {
    q2::TFormMain& m = StartWithBook();
    m.ClickTab(0);
    ASSERT_TRUE(m.SortAscending);
    auto byName = [&] {
        QStringList n;
        for (const q2::TUserInfo* r : m.DisplayList) n << r->PersonalFullName();
        return n;
    };
    m.SortByColumn(2);  // 名前: descending first
    EXPECT_FALSE(m.SortAscending);
    QStringList first = byName();
    m.SortByColumn(2);
    EXPECT_TRUE(m.SortAscending);
    QStringList second = byName();
    std::reverse(second.begin(), second.end());
    EXPECT_EQ(first, second);
    EXPECT_EQ(m.LVAddressList->horizontalHeader()->sortIndicatorSection(), 2);

    m.SortByColumn(14);  // 性別: the shared flag makes this descending
    m.SortByColumn(14);
    QStringList sexes;
    for (int row = 0; row < int(m.DisplayList.size()); ++row)
        sexes << m.LVAddressList->model()->index(row, 14).data().toString();
    EXPECT_EQ(sexes,
              QStringList({"女性", "女性", "女性", "男性", "男性", "男性", "未設定", "未設定"}));
}

TEST_F(AddressListWindow, OpensInTheOrderItsHeaderShows) {
    // Book order is 加藤, 青木, …: the first view must already be sorted.
    // Latin readings (Ａｎｄｏ, ｍｏｒｉ) come before kana, no reading last.
    q2::TFormMain& m = StartWithBook();
    QHeaderView* header = m.LVAddressList->horizontalHeader();
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(Names(m.DisplayList),
              QStringList({"安藤", "森", "青木", "ヴィエラ", "加藤", "蒲生", "蒲生二", "名無し"}));
}

TEST_F(AddressListWindow, SortKeepsTheCurrentRecordSelected) {
    q2::TFormMain& m = StartWithBook();
    m.SelectRows({3});
    q2::TUserInfo* current = m.CurrentRecord;
    ASSERT_NE(current, nullptr);
    m.SortByColumn(2);
    EXPECT_EQ(m.CurrentRecord, current);
    ASSERT_EQ(m.SelectedRows().size(), 1);
    EXPECT_EQ(m.DisplayList[m.SelectedRows().first()], current);
}

TEST_F(AddressListWindow, SelectionSetsTheCurrentRecordAndThePopupCommands) {
    q2::TFormMain& m = StartWithBook();
    EXPECT_FALSE(m.PopDelAddress->isEnabled());
    m.SelectRows({1, 4});
    EXPECT_EQ(m.CurrentRecord, m.DisplayList[4]);  // the row selected last
    EXPECT_TRUE(m.PopDelAddress->isEnabled());
    EXPECT_TRUE(m.PopPrintCheck->isEnabled());
    m.SelectRows({});
    EXPECT_EQ(m.CurrentRecord, nullptr);
    EXPECT_FALSE(m.PopPrintNotCheck->isEnabled());
    m.SelectRows({2});
    m.ClickTab(2);  // a refresh drops the selection and the current record
    EXPECT_EQ(m.CurrentRecord, nullptr);
}

TEST_F(AddressListWindow, PrintMarksOnAndOffForTheSelectedRows) {
    q2::TFormMain& m = StartWithBook();
    m.SelectRows({0, 2});
    m.PopPrintCheckClick();
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(m.LVAddressList->model()->index(0, 0).data().toString(), "●");
    EXPECT_EQ(m.LVAddressList->model()->index(1, 0).data().toString(), "");
    EXPECT_TRUE(m.DisplayList[2]->CommonPrintCheck);
    m.SelectRows({0});
    m.PopPrintNotCheckClick();
    EXPECT_FALSE(m.DisplayList[0]->CommonPrintCheck);
    EXPECT_TRUE(m.DisplayList[2]->CommonPrintCheck);
}

TEST_F(AddressListWindow, DeletingThreeRowsAfterYes) {
    q2::TFormMain& m = StartWithBook();
    m.SelectRows({0, 2, 5});
    QStringList doomed{m.DisplayList[0]->PerSonalName_1, m.DisplayList[2]->PerSonalName_1,
                       m.DisplayList[5]->PerSonalName_1};
    prompter.answers = {false};
    m.PopDelAddressClick();
    EXPECT_EQ(m.Session.Book.Count(), 8);
    EXPECT_TRUE(m.Session.Saved());

    m.SelectRows({0, 2, 5});
    prompter.answers = {true};
    m.PopDelAddressClick();
    EXPECT_EQ(prompter.asked,
              QStringList({"選択中の住所を削除しますか？", "選択中の住所を削除しますか？"}));
    EXPECT_EQ(m.Session.Book.Count(), 5);
    EXPECT_EQ(m.DisplayList.size(), 5u);
    EXPECT_EQ(m.LblPrintCount->text(), "5/5件該当");
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(m.CurrentRecord, nullptr);
    for (int i = 0; i < m.Session.Book.Count(); ++i) {
        EXPECT_FALSE(doomed.contains(m.Session.Book.Item(i)->PerSonalName_1));
        // Unsorted after deleting: the remaining rows in book order.
        EXPECT_EQ(m.DisplayList[i], m.Session.Book.Item(i));
    }
}

TEST_F(AddressListWindow, KeyboardDrivesTheWindow) {
    q2::TFormMain& m = StartWithBook();
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    m.LVAddressList->setFocus();
    m.LVAddressList->setCurrentIndex(m.LVAddressList->model()->index(0, 0));
    QTest::keyClick(m.LVAddressList, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(m.LVAddressList, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(m.SelectedRows(), QList<int>({0, 1, 2}));
    prompter.answers = {true};
    QTest::keyClick(m.LVAddressList, Qt::Key_Delete);
    EXPECT_EQ(m.Session.Book.Count(), 5);
    QTest::keyClick(&m, Qt::Key_O, Qt::ControlModifier);  // Saved is false: asked first
    // 名前を付けて保存 is the save with the dialog (Ctrl+S writes in place).
    QTest::keyClick(&m, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&m, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(
        prompter.asked.mid(1),
        QStringList(
            {"現在の住所録は変更されています。別の住所録を開く前に保存しますか？",
             "現在の住所録は変更されています。新規住所録を作成する前に保存しますか？"}));
    EXPECT_EQ(runner.seen, QStringList({"住所録の保存"}));
    QTest::keyClick(m.LVAddressList, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(m.TCAddressList->currentIndex(), 1);
    QTest::keyClick(m.LVAddressList, Qt::Key_PageUp, Qt::ControlModifier);
    QTest::keyClick(m.LVAddressList, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(m.TCAddressList->currentIndex(), 12);  // the disabled search tab is skipped
    m.hide();
}

}  // namespace
}  // namespace q2test
