// New Year's card marks: the season a dated entry counts for, ticking and
// unticking, marking a print run, counting, and the marks in the book file.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "model/NewYearSeason.h"
#include "model/UserInfoList.h"
#include "platform/Prompter.h"

using namespace q2;

namespace {

const QDate kDecember(2026, 12, 10);  // "today" while the 2027 cards are written

THistoryObject Entry(const char* date, const char* title, const char* content = "") {
    return {ParseDate(QString::fromLatin1(date)), QString::fromUtf8(title),
            QString::fromUtf8(content)};
}

TUserInfo Person(const char* name, std::initializer_list<THistoryObject> history) {
    TUserInfo r;
    r.PerSonalName_1 = QString::fromUtf8(name);
    for (const THistoryObject& h : history) r.CommonHistoryObjectList.Add(h);
    return r;
}

}  // namespace

TEST(NewYearSeason, AMarkCountsForTheSeasonItsDateFallsIn) {
    struct Case {
        const char* date;
        int season;
    };
    const Case cases[] = {
        {"2027/01/05", 2027}, {"2026/11/20", 2027}, {"2026/10/31", 2026},
        {"2026/11/01", 2027}, {"2027/10/31", 2027}, {"2027/11/01", 2028},
    };
    for (const Case& c : cases) {
        const TUserInfo r = Person("山田", {Entry(c.date, "年賀状受取")});
        for (int season : {c.season - 1, c.season, c.season + 1})
            EXPECT_EQ(HasSeasonMark(r, TSeasonMark::Received, season), season == c.season)
                << c.date << " season " << season;
    }
    EXPECT_EQ(SeasonOf(QDate()), 0);
    EXPECT_EQ(SeasonFirstDay(2027), QDate(2026, 11, 1));
    EXPECT_EQ(SeasonLastDay(2027), QDate(2027, 10, 31));
}

TEST(NewYearSeason, OnlyTheExactTitleIsAMark) {
    const TUserInfo r =
        Person("山田", {Entry("2026/12/01", "年賀状送付 "), Entry("2026/12/02", "年賀"),
                        Entry("2026/12/03", "喪中"), Entry("2026/12/04", "送付", "年賀状受取")});
    for (TSeasonMark m : kSeasonMarks) EXPECT_FALSE(HasSeasonMark(r, m, 2027));
}

TEST(NewYearSeason, DefaultSeasonIsTheComingNewYearFromNovemberOn) {
    EXPECT_EQ(DefaultSeason(kDecember), 2027);
    EXPECT_EQ(DefaultSeason(QDate(2027, 1, 3)), 2027);
    EXPECT_EQ(DefaultSeason(QDate(2026, 10, 31)), 2026);
    EXPECT_EQ(SeasonCaption(2027), QStringLiteral("2027年 年賀状"));
}

TEST(NewYearSeason, TickingAddsExactlyOneEntryAndUntickingRemovesIt) {
    TUserInfo r = Person("山田", {Entry("2025/12/20", "年賀状送付"), Entry("2026/05/01", "転居")});
    const THistoryObjectList before = r.CommonHistoryObjectList;

    EXPECT_TRUE(SetSeasonMark(r, TSeasonMark::Sent, 2027, true, kDecember));
    ASSERT_EQ(r.CommonHistoryObjectList.Count(), 3);
    EXPECT_EQ(r.CommonHistoryObjectList.Item(2),
              (THistoryObject{kDecember, QStringLiteral("年賀状送付"), QString()}));
    EXPECT_FALSE(SetSeasonMark(r, TSeasonMark::Sent, 2027, true, kDecember));
    EXPECT_EQ(r.CommonHistoryObjectList.Count(), 3);

    // Unticking leaves last season's mark and the other entries alone.
    EXPECT_TRUE(SetSeasonMark(r, TSeasonMark::Sent, 2027, false, kDecember));
    EXPECT_EQ(r.CommonHistoryObjectList, before);
    EXPECT_FALSE(SetSeasonMark(r, TSeasonMark::Sent, 2027, false, kDecember));
    EXPECT_EQ(r.CommonHistoryObjectList, before);
}

TEST(NewYearSeason, AMarkTickedForAnotherSeasonIsDatedInThatSeason) {
    TUserInfo r;
    SetSeasonMark(r, TSeasonMark::Received, 2026, true, kDecember);
    SetSeasonMark(r, TSeasonMark::Mourning, 2028, true, kDecember);
    EXPECT_EQ(r.CommonHistoryObjectList.Item(0).HistoryDate, QDate(2026, 1, 1));
    EXPECT_EQ(r.CommonHistoryObjectList.Item(1).HistoryDate, QDate(2028, 1, 1));
    EXPECT_TRUE(HasSeasonMark(r, TSeasonMark::Received, 2026));
    EXPECT_TRUE(HasSeasonMark(r, TSeasonMark::Mourning, 2028));
}

TEST(NewYearSeason, UntickingClearsEntriesTypedTwiceByHand) {
    TUserInfo r = Person(
        "山田", {Entry("2027/01/02", "年賀状受取", "写真入り"), Entry("2027/01/07", "年賀状受取")});
    EXPECT_TRUE(SetSeasonMark(r, TSeasonMark::Received, 2027, false, kDecember));
    EXPECT_EQ(r.CommonHistoryObjectList.Count(), 0);
}

TEST(NewYearSeason, MarkingAPrintRunChangesEachRecordOnceAndCanBeUndone) {
    TUserInfo a = Person("山田", {});
    TUserInfo b = Person("鈴木", {Entry("2026/12/01", "年賀状送付")});  // already marked
    TUserInfo c = Person("佐藤", {Entry("2026/05/01", "転居")});
    const TUserInfo a0 = a, b0 = b, c0 = c;

    const TSeasonMarkChanges changes =
        MarkSeason({&a, &b, &c, &a}, TSeasonMark::Sent, 2027, kDecember);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].Record, &a);
    EXPECT_EQ(changes[1].Record, &c);
    EXPECT_EQ(a.CommonHistoryObjectList.Count(), 1);
    EXPECT_EQ(b, b0);
    EXPECT_EQ(c.CommonHistoryObjectList.Count(), 2);
    const TUserInfo a1 = a, c1 = c;

    UndoSeasonMarks(changes);
    EXPECT_EQ(a, a0);
    EXPECT_EQ(c, c0);
    RedoSeasonMarks(changes);
    EXPECT_EQ(a, a1);
    EXPECT_EQ(c, c1);

    EXPECT_TRUE(MarkSeason({&a, &b, &c}, TSeasonMark::Sent, 2027, kDecember).empty());
}

TEST(NewYearSeason, AfterPrintingTheUserIsAskedOnceForAllPrintedRecords) {
    ScriptedPrompter prompter;
    ScopedPrompter scope{prompter};
    TUserInfo a, b;
    prompter.answers = {false, true};
    EXPECT_TRUE(AskAndMarkSent({&a, &b}, 2027, kDecember).empty());
    EXPECT_EQ(a.CommonHistoryObjectList.Count(), 0);
    const TSeasonMarkChanges changes = AskAndMarkSent({&a, &b}, 2027, kDecember);
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_TRUE(HasSeasonMark(b, TSeasonMark::Sent, 2027));
    EXPECT_EQ(
        prompter.asked,
        QStringList(2, QStringLiteral("印刷した 2 件に今年の「年賀状送付」を記録しますか？")));
    EXPECT_TRUE(AskAndMarkSent({}, 2027, kDecember).empty());
    EXPECT_EQ(prompter.asked.size(), 2);
}

TEST(NewYearSeason, CountsAndTheRecordsToSend) {
    TUserInfoList book;
    struct Row {
        const char* name;
        std::initializer_list<THistoryObject> history;
        bool toSend;
    };
    const Row rows[] = {
        {"受取のみ", {Entry("2026/01/04", "年賀状受取")}, true},
        {"送付のみ", {Entry("2025/12/15", "年賀状送付")}, true},
        {"喪中", {Entry("2026/01/04", "年賀状受取"), Entry("2026/11/20", "喪中欠礼")}, false},
        // Mourning last season does not keep this season's card back.
        {"昨年喪中", {Entry("2025/12/15", "年賀状送付"), Entry("2025/11/10", "喪中欠礼")}, true},
        {"一昨年", {Entry("2025/01/03", "年賀状受取")}, false},
        {"今季済み", {Entry("2026/12/10", "年賀状送付"), Entry("2027/01/02", "年賀状受取")}, false},
        {"記録なし", {}, false},
    };
    for (const Row& row : rows) *book.Add() = Person(row.name, row.history);

    const std::vector<const TUserInfo*> toSend = RecordsToSend(book, 2027);
    std::vector<QString> names;
    for (const TUserInfo* r : toSend) names.push_back(r->PerSonalName_1);
    std::vector<QString> expected;
    for (const Row& row : rows)
        if (row.toSend) expected.push_back(QString::fromUtf8(row.name));
    EXPECT_EQ(names, expected);

    EXPECT_EQ(CountSeason(book, 2027), (TSeasonCounts{1, 1, 1, 3}));
    EXPECT_EQ(CountSeason(book, 2026), (TSeasonCounts{2, 2, 1, 1}));
}

TEST(NewYearSeason, MarksAreOrdinaryHistoryInTheBookFile) {
    // A ticked book and one whose entries were typed by hand are the same file.
    TUserInfoList ticked, typed;
    TUserInfo* r = ticked.Add();
    *r = Person("山田", {Entry("2026/05/01", "転居", "千葉へ")});
    SetSeasonMark(*r, TSeasonMark::Sent, 2027, true, kDecember);
    SetSeasonMark(*r, TSeasonMark::Received, 2027, true, QDate(2027, 1, 5));
    SetSeasonMark(*r, TSeasonMark::Mourning, 2026, true, kDecember);
    *typed.Add() =
        Person("山田", {Entry("2026/05/01", "転居", "千葉へ"), Entry("2026/12/10", "年賀状送付"),
                        Entry("2027/01/05", "年賀状受取"), Entry("2026/01/01", "喪中欠礼")});
    EXPECT_EQ(ticked.ToBytes(), typed.ToBytes());

    // The file keeps history last to first, so a book read back lists it in
    // reverse, and a second pass gives the first file back byte for byte.
    QTemporaryDir dir;
    const QString path = dir.filePath("season.QT2"), again = dir.filePath("again.QT2");
    ASSERT_TRUE(ticked.SaveToFile(path));
    TUserInfoList back;
    ASSERT_TRUE(back.LoadFromFile(path));
    ASSERT_EQ(back.Count(), 1);
    const THistoryObjectList& read = back.Item(0)->CommonHistoryObjectList;
    ASSERT_EQ(read.Count(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(read.Item(i), r->CommonHistoryObjectList.Item(3 - i));
    EXPECT_TRUE(HasSeasonMark(*back.Item(0), TSeasonMark::Sent, 2027));
    EXPECT_TRUE(HasSeasonMark(*back.Item(0), TSeasonMark::Received, 2027));
    EXPECT_TRUE(HasSeasonMark(*back.Item(0), TSeasonMark::Mourning, 2026));
    ASSERT_TRUE(back.SaveToFile(again));
    TUserInfoList twice;
    ASSERT_TRUE(twice.LoadFromFile(again));
    EXPECT_EQ(twice.ToBytes(), ticked.ToBytes());
}
