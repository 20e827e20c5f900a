// The search predicate: ranges, rows and every operator's rule.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "exchange/SearchConditions.h"
#include "model/DataPaths.h"
#include "model/ListFile.h"
#include "platform/Cp932.h"

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
