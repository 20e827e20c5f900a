// Takes the New Year's card screenshots for docs/screenshots: the list with
// the season columns, the editor's check boxes and the search dialog's ready
// conditions, on the sample book with a few marks added. Not a test.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPixmap>
#include <QScrollArea>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/FormMain.h"
#include "app/ProgramWindows.h"
#include "app/RecordEditor.h"
#include "app/SeasonMarksWidget.h"
#include "app/ToolbarIcons.h"
#include "exchange/FormSearch.h"
#include "model/NewYearSeason.h"
#include "platform/Clock.h"
#include "tests/support/Screenshot.h"

namespace {

bool Shoot(QWidget& w, const QString& path) { return q2test::ShootWidget(w, path, 200); }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QStringLiteral(Q2_SOURCE_DIR "/docs/screenshots");
    QDir().mkpath(out);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    q2::ChooseIconTheme();
    // December: the 2027 cards are being written.
    q2::SetNowForTesting(QDateTime(QDate(2026, 12, 10), QTime(20, 0)));

    q2::TProgramWindows windows;
    q2::TFormMain& main = windows.FormMain();
    main.OpenCommandLineFile(QStringLiteral(Q2_SOURCE_DIR "/data/sample.QT2"));
    // Marks on every other record: received last season, sent this season,
    // and one family in mourning.
    for (int i = 0; i < main.Session.Book.Count(); ++i) {
        q2::TUserInfo& r = *main.Session.Book.Item(i);
        if (i % 2 == 0)
            q2::SetSeasonMark(r, q2::TSeasonMark::Received, 2026, true, QDate(2026, 1, 4));
        if (i % 4 == 0) q2::SetSeasonMark(r, q2::TSeasonMark::Sent, 2027, true, q2::Today());
        if (i % 3 == 0)
            q2::SetSeasonMark(r, q2::TSeasonMark::Sent, 2026, true, QDate(2025, 12, 20));
        if (i == 3)
            q2::SetSeasonMark(r, q2::TSeasonMark::Mourning, 2027, true, QDate(2026, 11, 18));
    }
    main.LVAddressList->viewport()->update();
    main.resize(1400, 760);
    main.show();
    if (!QTest::qWaitForWindowExposed(&main)) return 1;
    main.SelectRows({3});
    bool ok = Shoot(main, out + QStringLiteral("/season-list.png"));

    // The editor scrolled to its card marks.
    if (auto* scroll = main.findChild<QScrollArea*>(QStringLiteral("ScrollRecordEditor")))
        scroll->ensureWidgetVisible(main.RecordEditor->SeasonMarks, 0, 120);
    ok = Shoot(main, out + QStringLiteral("/season-editor.png")) && ok;

    q2::TFormSearch search;
    search.SetSeason(2027);
    search.CBSeasonCondition[0]->setChecked(true);
    search.CBSeasonCondition[1]->setChecked(true);
    search.CBSeasonCondition[2]->setChecked(true);
    search.show();
    if (!QTest::qWaitForWindowExposed(&search)) return 1;
    ok = Shoot(search, out + QStringLiteral("/season-search.png")) && ok;
    return ok ? 0 : 1;
}
