// The review of a book after new postal data: what is found, what is
// suggested, and the dialog that applies it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "ReviewFixture.h"
#include "platform/Cp932.h"
#include "platform/Prompter.h"
#include "zip/FormZipReview.h"
#include "zip/ZipReview.h"

using namespace q2;
namespace fx = q2::review_fixture;

TEST(ZipReview, FindsVanishedRenamedAndMovedCodesWithTheirSuggestions) {
    QTemporaryDir dir;
    ASSERT_TRUE(fx::WriteData(dir.filePath("zip.dat")));
    TZipIndex data;
    ASSERT_TRUE(data.Load(dir.filePath("zip.dat")));
    TUserInfoList book;
    fx::FillBook(book);
    fx::AddRecord(book, "伊藤", "四郎", "", "", "どこか");                       // no code: not checked
    fx::AddRecord(book, "渡辺", "五郎", "100", "0013", "");                      // no address to compare
    fx::AddRecord(book, "小林", "六郎", "４３０", "０９４６", "浜松市中区元城町１"); // full-width, no prefecture

    const QList<TZipFinding> found = ReviewBook(book, data);
    struct Expected { int record; TZipFindingKind kind; QStringList suggestions; };
    const Expected expected[] = {
        {0, TZipFindingKind::Vanished, {"〒100-0013　東京都千代田区霞が関１－１"}},
        {1, TZipFindingKind::TownChanged, {"〒430-0946　静岡県浜松市中央区元城町１０３－２"}},
        {2, TZipFindingKind::CodeMoved,
         {"〒100-0005　東京都千代田区丸の内２－７－３", "〒100-0004　東京都千代田区大手町２－７－３"}},
        {7, TZipFindingKind::TownChanged, {"〒430-0946　浜松市中央区元城町１"}},
    };
    ASSERT_EQ(found.size(), std::size(expected));
    for (int i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(found[i].Record, expected[i].record);
        EXPECT_EQ(found[i].Kind, expected[i].kind);
        QStringList texts;
        for (const TZipSuggestion& s : found[i].Suggestions) texts << s.Text();
        EXPECT_EQ(texts, expected[i].suggestions);
    }
}

// The index's keys: a town found with and without its prefecture, the first
// code of a text shared by several, the codes' towns in the file's order, and
// a prefecture-less name of towns in two prefectures that finds neither.
TEST(ZipReview, IndexFindsTownsByTheirLongestText) {
    QTemporaryDir dir;
    QFile f(dir.filePath("zip.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(EncodeCp932(u"1830000,東京都府中市\r\n"
                        u"1000013,東京都千代田区霞が関\n"
                        u"1000099,東京都千代田区霞が関\n"
                        u"not a line\n"
                        u"7260000,広島県府中市\n"
                        u"1000013,東京都千代田区霞が関一丁目\n"
                        u"0600000,北海道"));
    f.close();
    TZipIndex data;
    ASSERT_TRUE(data.Load(f.fileName()));
    struct Case {
        const char16_t* address;
        const char* code;
        qsizetype length;
    };
    const Case cases[] = {
        {u"東京都府中市宮町１", "1830000", 6},
        {u"府中市宮町１", "", 0},
        {u"千代田区霞が関１－１", "1000013", 7},
        {u"東京都千代田区霞が関一丁目１", "1000013", 13},
        {u"北海道札幌市", "0600000", 3},
        {u"霞が関", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.address).toStdString());
        const TZipIndex::Match m = data.LongestPrefix(QString::fromUtf16(c.address));
        EXPECT_EQ(m.Code, QString::fromLatin1(c.code));
        EXPECT_EQ(m.Length, c.length);
    }
    EXPECT_EQ(data.TextsOf(u"1000013"),
              QStringList({"東京都千代田区霞が関", "東京都千代田区霞が関一丁目"}));
    EXPECT_EQ(data.TextsOf(u"1830000"), QStringList({"東京都府中市"}));
    EXPECT_TRUE(data.TextsOf(u"9999999").isEmpty());
    EXPECT_FALSE(data.Load(dir.filePath("missing.dat")));
}

// Many write the prefecture and city on line 1 and the town on line 2: the
// review reads both, suggests over both, and leaves a building on line 2 alone.
TEST(ZipReview, ReadsATownThatRunsOnIntoLineTwo) {
    QTemporaryDir dir;
    ASSERT_TRUE(fx::WriteData(dir.filePath("zip.dat")));
    TZipIndex data;
    ASSERT_TRUE(data.Load(dir.filePath("zip.dat")));
    struct Case {
        const char* zip1;
        const char* zip2;
        const char* line1;
        const char* line2;
        bool office;
        int kind;  // -1: fits
        const char* line1After;
        const char* line2After;  // with the first suggestion applied
    };
    const Case cases[] = {
        {"100", "0013", "東京都千代田区", "霞が関１－１", false, -1, "", ""},
        {"100", "0013", "東京都千代田区霞が関１－１", "霞が関ビル３階", false, -1, "", ""},
        {"100", "0013", "", "東京都千代田区霞が関１－１", true, -1, "", ""},
        {"430", "0946", "静岡県浜松市", "中区元城町１０３－２", false,
         int(TZipFindingKind::TownChanged), "静岡県浜松市", "中央区元城町１０３－２"},
        {"100", "0004", "東京都千代田区", "丸の内２－７－３　丸ビル", true,
         int(TZipFindingKind::CodeMoved), "東京都千代田区", "丸の内２－７－３　丸ビル"},
        {"999", "9999", "", "東京都千代田区霞が関１－１", false, int(TZipFindingKind::Vanished), "",
         "東京都千代田区霞が関１－１"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line1) + "|" + c.line2);
        TUserInfoList book;
        fx::AddRecord(book, "山田", "太郎", c.zip1, c.zip2, c.line1, c.office);
        TUserInfo& r = *book.Item(0);
        (c.office ? r.OfficeAddress_2 : r.PerSonalAddress_2) = QString::fromUtf8(c.line2);
        const QList<TZipFinding> found = ReviewBook(book, data);
        if (c.kind < 0) {
            EXPECT_TRUE(found.isEmpty());
            continue;
        }
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(int(found[0].Kind), c.kind);
        EXPECT_EQ(found[0].Address, QString::fromUtf8(c.line1) + QString::fromUtf8(c.line2));
        ASSERT_FALSE(found[0].Suggestions.isEmpty());
        ApplySuggestion(r, c.office, found[0].Suggestions[0]);
        EXPECT_EQ(c.office ? r.OfficeAddress_1 : r.PerSonalAddress_1,
                  QString::fromUtf8(c.line1After));
        EXPECT_EQ(c.office ? r.OfficeAddress_2 : r.PerSonalAddress_2,
                  QString::fromUtf8(c.line2After));
        EXPECT_TRUE(ReviewBook(book, data).isEmpty());
    }
}

TEST(ZipReview, RewritesTheTownAndKeepsTheRest) {
    struct Case { const char* address; const char* entry; const char* rewritten; };
    const Case cases[] = {
        {"静岡県浜松市中区元城町１０３－２", "静岡県浜松市中央区元城町", "静岡県浜松市中央区元城町１０３－２"},
        {"北海道札幌市北区北七条西５丁目", "北海道札幌市北区北八条西", "北海道札幌市北区北八条西５丁目"},
        {"東京都千代田区旧町１－２　ビル３階", "東京都千代田区新町", "東京都千代田区新町１－２　ビル３階"},
        // The city's name inside the new town is not taken for the old town's end.
        {"東京都千代田区丸の内１", "東京都千代田区千代田", "東京都千代田区千代田１"},
        {"千代田区旧町", "東京都千代田区新町", "千代田区新町"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RewriteAddress(QString::fromUtf8(c.address), QString::fromUtf8(c.entry)),
                  QString::fromUtf8(c.rewritten))
            << c.address;
}

TEST(FormZipReview, ListsTheFindingsAndAppliesTheChosenSuggestion) {
    QTemporaryDir dir;
    ASSERT_TRUE(fx::WriteData(dir.filePath("zip.dat")));
    TUserInfoList book;
    fx::FillBook(book);
    ScriptedPrompter prompter;
    ScopedPrompter scope(prompter);
    TFormZipReview form(book);
    QList<TUserInfo*> applied;
    form.OnApplied = [&](TUserInfo& r, const TUserInfo&) { applied.append(&r); };
    ASSERT_TRUE(form.Review(dir.filePath("zip.dat")));
    prompter.answers = {true};
    EXPECT_TRUE(form.Offer());
    EXPECT_EQ(prompter.asked, QStringList{QStringLiteral(
        "新しい郵便番号データと一致しない住所が住所録に3件あります。\r\n住所録の確認を行いますか？")});
    form.show();
    ASSERT_EQ(form.LVFindings->rowCount(), 3);
    EXPECT_EQ(form.LVFindings->item(1, 0)->text(), QStringLiteral("鈴木 花子"));
    EXPECT_EQ(form.LVFindings->item(1, 4)->text(), QStringLiteral("住所が郵便番号の町域と一致しません"));

    // The moved code: take the second choice, the address rewritten onto the code's town.
    auto* choice = qobject_cast<QComboBox*>(form.LVFindings->cellWidget(2, 5));
    ASSERT_TRUE(choice);
    ASSERT_EQ(choice->count(), 2);
    choice->setCurrentIndex(1);
    form.LVFindings->selectRow(2);
    form.BtnApply->click();
    const TUserInfo& sato = *book.Item(2);
    EXPECT_EQ(sato.PerSonalZip_1 + sato.PerSonalZip_2, QStringLiteral("1000004"));
    EXPECT_EQ(sato.PerSonalAddress_1, QStringLiteral("東京都千代田区大手町２－７－３"));
    EXPECT_EQ(applied, QList<TUserInfo*>{book.Item(2)});
    EXPECT_TRUE(form.Applied(2));
    EXPECT_FALSE(form.BtnApply->isEnabled());  // once only

    // The vanished code takes the code of its address; the renamed ward is left.
    form.ApplyRow(0);
    EXPECT_EQ(book.Item(0)->PerSonalZip_1 + book.Item(0)->PerSonalZip_2, QStringLiteral("1000013"));
    EXPECT_EQ(book.Item(0)->PerSonalAddress_1, QStringLiteral("東京都千代田区霞が関１－１"));
    EXPECT_EQ(book.Item(1)->PerSonalAddress_1, QStringLiteral("静岡県浜松市中区元城町１０３－２"));
    EXPECT_EQ(form.AppliedCount(), 2);

    // After applying, the book fits the data but for what was left.
    TZipIndex data;
    ASSERT_TRUE(data.Load(dir.filePath("zip.dat")));
    EXPECT_EQ(ReviewBook(book, data).size(), 1);
}
