// The search predicate: ranges, rows and every operator's rule.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "exchange/SearchConditions.h"
#include "model/DataPaths.h"
#include "model/ListFile.h"
#include "platform/Cp932.h"
#include "tests/support/FieldSamples.h"

using namespace q2;

namespace {

const QDate kToday(2024, 6, 1);

TSearchSettings One(int topic, const QString& op, const QString& operand, int range = 0) {
    TSearchSettings s;
    s.Range = range;
    s.Rows[0] = {true, topic, operand, op};
    return s;
}

bool Hit(const TSearchSettings& s, const TUserInfo& r, int row = 1) {
    return TSearchMatcher(s, kToday).Matches(r, row);
}

TUserInfo Named(const QString& family, const QString& given) {
    TUserInfo r;
    r.PerSonalName_1 = family;
    r.PerSonalName_2 = given;
    return r;
}

TUserInfo BornOn(QDate d) {
    TUserInfo r;
    r.CommonBirthday = MakeDateTime(d);
    return r;
}

constexpr int kName = 2, kMail1 = 9, kBirthday = 12, kAge = 13, kMemo = 43;

}  // namespace

TEST(SearchMatcher, RangeAgainstReadingRow) {
    const TUserInfo yamada = Named("山田", "太郎");
    const auto s = One(kName, SearchOp::Contains, "田", 2);
    EXPECT_TRUE(Hit(s, yamada, 2));
    EXPECT_FALSE(Hit(s, yamada, 8));
    EXPECT_FALSE(Hit(One(kName, SearchOp::Contains, "木", 2), yamada, 2));
    TSearchSettings none;
    none.Range = kSearchRangeNone;
    EXPECT_FALSE(Hit(none, yamada, 1));
    TSearchSettings all;  // range 0 and no row in use: everything
    EXPECT_TRUE(Hit(all, yamada, 12));
}

TEST(SearchMatcher, OperatorTable) {
    using namespace SearchOp;
    TUserInfo mail;
    mail.PerSonalMail_1 = "xabc.jp";
    const TUserInfo yamada = Named("山田", "太郎");
    TUserInfo memo;
    memo.CommonMemo = "会議 メモ";
    struct Case {
        const char* name;
        const TUserInfo* record;
        int topic;
        const QString* op;
        const char* operand;
        bool hit;
    };
    const Case cases[] = {
        {"equal ignores the joining space", &yamada, kName, &Equals, "山田太郎", true},
        {"full-width space in the operand", &yamada, kName, &Equals, "山田　太郎", true},
        {"differs", &yamada, kName, &Differs, "山田太郎", false},
        {"contains ignores letter case", &mail, kMail1, &Contains, "ABC", true},
        {"starts with is case significant", &mail, kMail1, &StartsWith, "XABC", false},
        {"starts with, same case", &mail, kMail1, &StartsWith, "xabc", true},
        {"starts with empty", &mail, kMail1, &StartsWith, "", true},
        {"starts with longer than text", &mail, kMail1, &StartsWith, "xabc.jp.x", false},
        {"ends with ignores case", &mail, kMail1, &EndsWith, ".JP", true},
        {"ends with empty", &mail, kMail1, &EndsWith, "", false},
        {"ends with longer", &mail, kMail1, &EndsWith, "axabc.jp", false},
        {"equal ignores case", &mail, kMail1, &Equals, "XABC.JP", true},
        {"contains empty never", &memo, kMemo, &Contains, "", false},
        {"not contains empty always", &memo, kMemo, &NotContains, "", true},
        {"contains across removed space", &memo, kMemo, &Contains, "議メ", true},
        {"not contains", &memo, kMemo, &NotContains, "議", false},
        {"greater", &yamada, kName, &Greater, "山", true},
        {"less", &yamada, kName, &Less, "山田太郎x", true},
        {"unknown operator text", &yamada, kName, nullptr, "山", false},
    };
    const QString unknown = QStringLiteral("を含むデータ");  // full-width: not an operator
    for (const auto& c : cases)
        EXPECT_EQ(
            Hit(One(c.topic, c.op ? *c.op : unknown, QString::fromUtf8(c.operand)), *c.record),
            c.hit)
            << c.name;
}

TEST(SearchMatcher, NoMatchStartsOnASecondByte) {
    // "ア" is 83 41, "A" is 41: the second byte must not be taken for the letter.
    TUserInfo r;
    r.PerSonalMail_1 = "ア";
    EXPECT_FALSE(Hit(One(kMail1, SearchOp::Contains, "A"), r));
    EXPECT_FALSE(Hit(One(kMail1, SearchOp::Contains, "a"), r));
    EXPECT_FALSE(Hit(One(kMail1, SearchOp::EndsWith, "A"), r));
    r.PerSonalMail_1 = "アA";
    EXPECT_TRUE(Hit(One(kMail1, SearchOp::EndsWith, "a"), r));
    EXPECT_TRUE(Hit(One(kMail1, SearchOp::Contains, "a"), r));
    // "ａ" (82 81) and "Ａ" (82 60): second bytes are never folded.
    r.PerSonalMail_1 = "ａ";
    EXPECT_FALSE(Hit(One(kMail1, SearchOp::Equals, "Ａ"), r));
}

TEST(SearchMatcher, AgesAndDatesCompareAsTexts) {
    using namespace SearchOp;
    const TUserInfo age20 = BornOn(QDate(2004, 6, 1)), age21 = BornOn(QDate(2003, 5, 1)),
                    age100 = BornOn(QDate(1924, 1, 1));
    EXPECT_FALSE(Hit(One(kAge, Greater, "20"), age20));
    EXPECT_TRUE(Hit(One(kAge, Greater, "20"), age21));
    EXPECT_TRUE(Hit(One(kAge, Greater, "20"), age100));  // "100" > "020"
    EXPECT_TRUE(Hit(One(kAge, Equals, "20"), age20));
    // Full-width digits stay as typed and compare as text: "０" sorts after digits.
    EXPECT_FALSE(Hit(One(kAge, Greater, "２０"), age100));
    EXPECT_TRUE(Hit(One(kAge, Less, "２０"), age100));

    const TUserInfo april = BornOn(QDate(1980, 4, 30)), jan2 = BornOn(QDate(1980, 1, 2));
    EXPECT_TRUE(Hit(One(kBirthday, InMonth, "4"), april));
    EXPECT_FALSE(Hit(One(kBirthday, InMonth, "4"), jan2));
    EXPECT_FALSE(Hit(One(kBirthday, InMonth, "四"), april));
    EXPECT_FALSE(Hit(One(kBirthday, InMonth, ""), april));
    EXPECT_FALSE(Hit(One(kName, InMonth, "4"), april));  // no date text
    EXPECT_TRUE(Hit(One(kBirthday, Greater, "1980/01/01"), jan2));
    // "1980/01/02" against "1980/1/2": '0' < '1' decides.
    EXPECT_FALSE(Hit(One(kBirthday, Greater, "1980/1/2"), jan2));
    EXPECT_TRUE(Hit(One(kBirthday, Less, "1980/1/2"), jan2));
}

TEST(SearchMatcher, RowsCombineWithAnd) {
    TSearchSettings s = One(kName, SearchOp::Contains, "山田");
    s.Rows[1] = {true, kName, "太郎", SearchOp::EndsWith};
    s.Rows[2] = {false, kName, "鈴木", SearchOp::Equals};  // off: ignored
    EXPECT_TRUE(Hit(s, Named("山田", "太郎")));
    EXPECT_FALSE(Hit(s, Named("山田", "花子")));
    s.Rows[2].Use = true;
    EXPECT_FALSE(Hit(s, Named("山田", "太郎")));
}

TEST(SearchTopicText, DerivedTopics) {
    TUserInfo r;
    r.CommonPrintCheck = true;
    r.PersonalSex = TThSex::tsFemale;
    r.CommonBirthday = MakeDateTime(QDate(2020, 6, 2));
    EXPECT_EQ(SearchTopicText(r, 0, kToday), QString("印刷する"));
    EXPECT_EQ(SearchTopicText(r, 13, kToday), QString("003"));
    EXPECT_EQ(SearchTopicText(r, 14, kToday), QString("女性"));
    EXPECT_EQ(SearchTopicText(r, 41, kToday), QString("会社用"));
    EXPECT_EQ(SearchTopicText(r, 12, kToday), QString("2020/06/02"));
    EXPECT_EQ(SearchTopicText(r, 4, kToday), QString(" "));
}

TEST(SearchTopicChoices, OperatorsSuggestionsAndModes) {
    using namespace SearchOp;
    using M = OperandInputMode;
    EXPECT_EQ(SearchTopics().size(), kSearchTopicCount);
    EXPECT_EQ(SearchTopicChoices(0).Operators, QStringList({Equals, Differs}));
    EXPECT_EQ(SearchTopicChoices(12).Operators, QStringList({Greater, Equals, Less, InMonth}));
    EXPECT_EQ(SearchTopicChoices(12).Suggestions, QStringList({QString()}));
    EXPECT_TRUE(SearchTopicChoices(13).Suggestions.isEmpty());
    EXPECT_EQ(SearchTopicChoices(14).InputMode, M::Unchanged);
    EXPECT_EQ(SearchTopicChoices(44).Operators, QStringList({Contains, NotContains}));
    EXPECT_EQ(SearchTopicChoices(2).Operators,
              QStringList({Contains, StartsWith, EndsWith, Equals, Differs, NotContains}));
    const struct {
        int topic;
        M mode;
    } modes[] = {{1, M::FullKatakana}, {15, M::FullKatakana}, {4, M::Off},  {7, M::Off},
                 {11, M::Off},         {17, M::Off},          {24, M::Off}, {25, M::Hiragana},
                 {42, M::Off},         {2, M::Hiragana}};
    for (const auto& m : modes) EXPECT_EQ(SearchTopicChoices(m.topic).InputMode, m.mode) << m.topic;
}

TEST(SearchTopicChoices, CategoryListReadWhenChosen) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    ASSERT_TRUE(SaveListFile(GetCategory1Path(), {"友人", "仕事"}) ||
                (QDir().mkpath(QFileInfo(GetCategory1Path()).path()) &&
                 SaveListFile(GetCategory1Path(), {"友人", "仕事"})));
    EXPECT_EQ(SearchTopicChoices(35).Suggestions, QStringList({"友人", "仕事"}));
    SaveListFile(GetCategory1Path(), {"家族"});
    EXPECT_EQ(SearchTopicChoices(35).Suggestions, QStringList({"家族"}));
    EXPECT_EQ(SearchTopicChoices(35).Operators, QStringList({SearchOp::Equals, SearchOp::Differs}));
}

TEST(SearchMatcher, ReadyNewYearCardConditions) {
    // Season 2027: "last year" is the 2026 season (November 2025 to October 2026).
    auto person = [](const char* name, std::initializer_list<std::pair<const char*, const char*>> h) {
        TUserInfo r = Named(QString::fromUtf8(name), QString());
        for (const auto& [date, title] : h)
            r.CommonHistoryObjectList.Add(
                {ParseDate(QString::fromLatin1(date)), QString::fromUtf8(title), QString()});
        return r;
    };
    const TUserInfo people[] = {
        person("受取", {{"2026/01/04", "年賀状受取"}}),
        person("送付", {{"2025/12/20", "年賀状送付"}}),
        person("受取喪中", {{"2026/01/04", "年賀状受取"}, {"2026/11/20", "喪中欠礼"}}),
        person("記録なし", {}),
        person("一昨年", {{"2025/01/04", "年賀状受取"}, {"2025/11/15", "喪中欠礼"}}),
    };
    struct Case {
        bool received, sent, exceptMourning;
        int season;
        const char* hits;  // one letter per person: x hit, . no hit
    };
    const Case cases[] = {
        {true, false, false, 2027, "x.x.."},  {false, true, false, 2027, ".x..."},
        {true, true, false, 2027, "xxx.."},   {false, false, true, 2027, "xx.xx"},
        {true, false, true, 2027, "x...."},   {true, true, true, 2027, "xx..."},
        {true, false, false, 2026, "....x"},  {false, false, true, 2026, "xxxx."},
        {false, false, false, 2027, "xxxxx"},
    };
    for (const Case& c : cases) {
        TSearchSettings s;
        s.Season = {c.received, c.sent, c.exceptMourning, c.season};
        QString hits;
        for (const TUserInfo& r : people) hits += Hit(s, r) ? u'x' : u'.';
        EXPECT_EQ(hits, QString::fromLatin1(c.hits))
            << c.received << c.sent << c.exceptMourning << " " << c.season;
    }
    // Together with a condition row, both must hold.
    TSearchSettings s = One(kName, SearchOp::Contains, "取");
    s.Season = {false, false, true, 2027};
    EXPECT_TRUE(Hit(s, people[0]));
    EXPECT_FALSE(Hit(s, people[2]));
    EXPECT_FALSE(Hit(s, people[1]));
}

// Stored search settings name topics by number: the order must not move.
TEST(SearchTopics, EveryTopicsCaptionAndText) {
    struct Topic {
        const char* caption;
        const char* text;
    };
    const Topic topics[kSearchTopicCount] = {
        {"印刷チェック", "印刷する"},
        {"個人フリガナ", "ヤマダ タロウ"},
        {"個人名前", "山田 太郎"},
        {"個人敬称", "様"},
        {"個人郵便番号", "263-0023"},
        {"個人住所１", "千葉県千葉市稲毛区"},
        {"個人住所２", "緑町1-1"},
        {"個人電話", "043-111"},
        {"個人電話/FAX", "043-222"},
        {"個人メール１", "a@home.jp"},
        {"個人メール２", "b@home.jp"},
        {"個人HP", "http://home.jp/"},
        {"生年月日", "1980/06/16"},
        {"年齢", "043"},
        {"性別", "女性"},
        {"会社フリガナ", "ミドリショウジ"},
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
        {"差込１", "差込A"},
        {"差込２", "差込B"},
        {"差込３", "差込C"},
        {"差込４", "差込D"},
        {"印刷住所", "会社用"},
        {"登録日", "2023/12/01"},
        {"備考", "一行目\r\n二行目"},
        {"履歴", "[日付]2024/01/02[項目]年賀状[内容]送付"},
    };
    ASSERT_EQ(SearchTopics().size(), kSearchTopicCount);
    const TUserInfo r = q2test::DistinctRecord();
    for (int t = 0; t < kSearchTopicCount; ++t) {
        EXPECT_EQ(SearchTopics()[t], QString::fromUtf8(topics[t].caption)) << t;
        EXPECT_EQ(SearchTopicText(r, t, q2test::kFieldSampleToday),
                  QString::fromUtf8(topics[t].text))
            << t;
    }
    EXPECT_EQ(SearchTopicText(r, kSearchTopicCount, kToday), "");
}

TEST(SearchTopicChoices, EveryTopic) {
    using namespace SearchOp;
    using M = OperandInputMode;
    const QStringList text = {Contains, StartsWith, EndsWith, Equals, Differs, NotContains};
    const QStringList equal = {Equals, Differs}, contains = {Contains, NotContains};
    const QStringList ordered = {Greater, Equals, Less}, month = {Greater, Equals, Less, InMonth};
    const QStringList blank = {QString()}, none;
    const QStringList print = {"印刷する", "印刷しない"}, sex = {"未設定", "男性", "女性"},
                      use = {"個人用", "会社用"};
    const QStringList category1 = LoadListFile(GetCategory1Path());
    const QStringList category2 = LoadListFile(GetCategory2Path());
    struct Choices {
        const QStringList& operators;
        const QStringList& suggestions;
        M mode;
    };
    const M H = M::Hiragana, K = M::FullKatakana, O = M::Off;
    const Choices choices[kSearchTopicCount] = {
        {equal, print, H},      {text, blank, K},     {text, blank, H},     {text, blank, H},
        {text, blank, O},       {text, blank, H},     {text, blank, H},     {text, blank, O},
        {text, blank, O},       {text, blank, O},     {text, blank, O},     {text, blank, O},
        {month, blank, O},      {ordered, none, O},   {equal, sex, M::Unchanged},
        {text, blank, K},       {text, blank, H},     {text, blank, O},     {text, blank, H},
        {text, blank, H},       {text, blank, O},     {text, blank, O},     {text, blank, O},
        {text, blank, O},       {text, blank, O},     {text, blank, H},     {text, blank, H},
        {text, blank, H},       {text, blank, H},     {text, blank, H},     {text, blank, H},
        {text, blank, H},       {text, blank, H},     {text, blank, H},     {text, blank, H},
        {equal, category1, H},  {equal, category2, H}, {text, blank, H},    {text, blank, H},
        {text, blank, H},       {text, blank, H},     {equal, use, H},      {ordered, none, O},
        {contains, blank, H},   {contains, none, H},
    };
    for (int t = 0; t < kSearchTopicCount; ++t) {
        const TSearchTopicChoices c = SearchTopicChoices(t);
        EXPECT_EQ(c.Operators, choices[t].operators) << t;
        EXPECT_EQ(c.Suggestions, choices[t].suggestions) << t;
        EXPECT_EQ(c.InputMode, choices[t].mode) << t;
    }
}

// The matcher reads a topic's text its own way for speed; "equals" must still
// hit every record on the text the topic shows.
TEST(SearchMatcher, EqualsHitsEveryTopicsOwnText) {
    TUserInfo blank;
    for (const TUserInfo& r : {q2test::DistinctRecord(), q2test::EdgeRecord(), blank}) {
        for (int t = 0; t < kSearchTopicCount; ++t) {
            const QString text = SearchTopicText(r, t, kToday);
            EXPECT_TRUE(Hit(One(t, SearchOp::Equals, text), r)) << t << " " << text.toStdString();
        }
    }
}

