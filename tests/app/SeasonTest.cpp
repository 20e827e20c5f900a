// The New Year's card season in the main window: the chooser, the list's
// season columns and the editor's check boxes, on a real book file.
#include <QCheckBox>
#include <QHeaderView>
#include <QTableView>
#include <QTableWidget>

#include "AppFixture.h"
#include "QStringPrinter.h"
#include "app/RecordEditor.h"
#include "app/SeasonColumns.h"
#include "app/SeasonMarksWidget.h"
#include "model/NewYearSeason.h"
#include "platform/Clock.h"

namespace q2test {
namespace {

class Season : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        q2::SetNowForTesting(QDateTime(QDate(2026, 12, 10), QTime(20, 0)));
    }
    void TearDown() override {
        q2::SetNowForTesting(std::nullopt);
        AppTest::TearDown();
    }

    // 青木 received a card last season and was sent one this season; 伊藤 is
    // in mourning this season; 上野 has nothing.
    q2::TFormMain& StartWithBook() {
        q2::TUserInfoList book;
        auto add = [&book](const char* kana, const char* name,
                           std::initializer_list<q2::THistoryObject> history) {
            auto r = MakeRecord({kana, name});
            for (const q2::THistoryObject& h : history) r->CommonHistoryObjectList.Add(h);
            book.Add(std::move(r));
        };
        add("アオキ", "青木",
            {{QDate(2026, 1, 3), "年賀状受取", ""}, {QDate(2026, 12, 5), "年賀状送付", ""}});
        add("イトウ", "伊藤", {{QDate(2026, 11, 20), "喪中欠礼", ""}});
        add("ウエノ", "上野", {{QDate(2026, 4, 1), "転居", "大阪へ"}});
        const QString path = Path("season.QT2");
        EXPECT_TRUE(book.SaveToFile(path));
        q2::TFormMain& m = Start();
        m.OpenCommandLineFile(path);
        return m;
    }

    // The season columns as the view shows them, left to right: caption and
    // the cells of each row, "●" as x and empty as ".".
    static QStringList SeasonColumns(q2::TFormMain& m) {
        QStringList out;
        const QHeaderView* header = m.LVAddressList->horizontalHeader();
        const QAbstractItemModel* model = m.LVAddressList->model();
        for (int v = q2::kSeasonColumnsVisualStart;
             v < q2::kSeasonColumnsVisualStart + q2::kSeasonColumnCount; ++v) {
            const int c = header->logicalIndex(v);
            QString line = model->headerData(c, Qt::Horizontal).toString() + QLatin1Char(' ');
            for (int row = 0; row < model->rowCount(); ++row)
                line += model->index(row, c).data().toString() == QStringLiteral("●") ? u'x' : u'.';
            out << line;
        }
        return out;
    }
};

TEST_F(Season, ChooserStartsOnTheComingNewYear) {
    q2::TFormMain& m = Start();
    EXPECT_EQ(m.SeasonChooser->currentText(), "2027年 年賀状");
    EXPECT_EQ(m.RecordEditor->SeasonMarks->title(), "2027年 年賀状");
    for (QCheckBox* box : m.RecordEditor->SeasonMarks->CBSeasonMark)
        EXPECT_FALSE(box->isEnabled());  // no record shown
}

TEST_F(Season, ListShowsTheChosenAndThePreviousSeasonAfterTheName) {
    q2::TFormMain& m = StartWithBook();
    m.SortAscending = false;
    m.SortByColumn(1);  // by reading, ascending
    ASSERT_EQ(Names(m.DisplayList), QStringList({"青木", "伊藤", "上野"}));
    EXPECT_EQ(m.LVAddressList->horizontalHeader()->logicalIndex(2), 2);  // 名前
    EXPECT_EQ(SeasonColumns(m), QStringList({"2027送 x..", "2027受 ...", "2027喪 .x.", "2026送 ...",
                                             "2026受 x..", "2026喪 ..."}));
    m.SeasonChooser->SetSeason(2026);
    EXPECT_EQ(SeasonColumns(m), QStringList({"2026送 ...", "2026受 x..", "2026喪 ...", "2025送 ...",
                                             "2025受 ...", "2025喪 ..."}));
    EXPECT_EQ(m.RecordEditor->SeasonMarks->title(), "2026年 年賀状");
}

TEST_F(Season, SeasonColumnsSortMarkedRowsTogether) {
    q2::TFormMain& m = StartWithBook();
    const int mourning = q2::kFirstSeasonColumn + 2;
    m.SortByColumn(mourning);  // the shared flag turns: descending, marked first
    EXPECT_EQ(Names(m.DisplayList).first(), "伊藤");
    m.SortByColumn(mourning);
    EXPECT_EQ(Names(m.DisplayList).last(), "伊藤");
    EXPECT_EQ(m.LVAddressList->horizontalHeader()->sortIndicatorSection(), mourning);
}

TEST_F(Season, TickingAndUntickingInTheEditorGiveExactlyOneHistoryEntry) {
    q2::TFormMain& m = StartWithBook();
    const int row = int(Names(m.DisplayList).indexOf("上野"));
    m.SelectRows({row});
    q2::TRecordEditor& e = *m.RecordEditor;
    QCheckBox* received = e.SeasonMarks->CBSeasonMark[1];
    ASSERT_TRUE(received->isEnabled());
    EXPECT_FALSE(received->isChecked());
    const q2::THistoryObjectList before = m.CurrentRecord->CommonHistoryObjectList;
    EXPECT_TRUE(m.Session.Saved());

    received->click();
    const q2::THistoryObjectList& h = m.CurrentRecord->CommonHistoryObjectList;
    ASSERT_EQ(h.Count(), 2);
    EXPECT_EQ(e.LVHistory->rowCount(), 2);
    EXPECT_EQ(e.LVHistory->item(0, 0)->text(), "2026/12/10");
    EXPECT_EQ(e.LVHistory->item(0, 1)->text(), "年賀状受取");
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(m.LVAddressList->model()->index(row, q2::kFirstSeasonColumn + 1).data().toString(),
              "●");

    received->click();
    EXPECT_EQ(m.CurrentRecord->CommonHistoryObjectList, before);
    EXPECT_EQ(e.LVHistory->rowCount(), 1);
    EXPECT_TRUE(m.LVAddressList->model()
                    ->index(row, q2::kFirstSeasonColumn + 1)
                    .data()
                    .toString()
                    .isEmpty());
}

TEST_F(Season, PrintedRecordsAreMarkedSentInOneUndoableStep) {
    q2::TFormMain& m = StartWithBook();
    q2::TUserInfo* aoki = m.DisplayList[Names(m.DisplayList).indexOf("青木")];
    q2::TUserInfo* ueno = m.DisplayList[Names(m.DisplayList).indexOf("上野")];
    const q2::TUserInfo aokiBefore = *aoki, uenoBefore = *ueno;

    // No: nothing recorded, the book stays saved.
    prompter.answers = {false};
    m.OfferToMarkSent({aoki, ueno});
    EXPECT_EQ(prompter.asked, QStringList({"印刷した 2 件に今年の「年賀状送付」を記録しますか？"}));
    EXPECT_TRUE(m.Session.Saved());

    // Yes: 上野 gets the mark, 青木 already had it.
    prompter.answers = {true};
    m.OfferToMarkSent({aoki, ueno});
    EXPECT_TRUE(q2::HasSeasonMark(*ueno, q2::TSeasonMark::Sent, 2027));
    EXPECT_EQ(*aoki, aokiBefore);
    EXPECT_FALSE(m.Session.Saved());

    m.Undo();
    EXPECT_EQ(*ueno, uenoBefore);
    EXPECT_TRUE(m.Session.Saved());
    m.Redo();
    EXPECT_TRUE(q2::HasSeasonMark(*ueno, q2::TSeasonMark::Sent, 2027));
}

TEST_F(Season, BoxesFollowTheRecordTheSeasonAndTheHistory) {
    q2::TFormMain& m = StartWithBook();
    q2::TRecordEditor& e = *m.RecordEditor;
    auto ticks = [&e] {
        QString out;
        for (QCheckBox* b : e.SeasonMarks->CBSeasonMark) out += b->isChecked() ? u'x' : u'.';
        return out;
    };
    m.SelectRows({int(Names(m.DisplayList).indexOf("青木"))});
    EXPECT_EQ(ticks(), "x..");
    m.SeasonChooser->SetSeason(2026);
    EXPECT_EQ(ticks(), ".x.");
    EXPECT_TRUE(m.Session.Saved());  // showing marks changes nothing
    // A mark deleted as an ordinary history entry unticks its box.
    prompter.answers = {true};
    e.LVHistory->selectRow(int(e.LVHistory->findItems("年賀状受取", Qt::MatchExactly)[0]->row()));
    e.BtnHistoryDelClick();
    EXPECT_EQ(ticks(), "...");
    m.SelectRows({int(Names(m.DisplayList).indexOf("伊藤"))});
    m.SeasonChooser->SetSeason(2027);
    EXPECT_EQ(ticks(), "..x");
    m.SelectRows({});
    EXPECT_EQ(ticks(), "...");
}

}  // namespace
}  // namespace q2test
