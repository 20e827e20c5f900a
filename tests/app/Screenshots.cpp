// Takes the main window's screenshots for docs/screenshots: the sample book
// on the "全" tab and on the "カ" tab, the popup menu, the password prompt and
// a record in the editor on both of its pages. With "desktop" after the
// folder: the menu bar open, the help window and the modified title (run with
// a window manager for the title); with "small": the window on a 1024 × 768
// screen; with "print-side": the editor's 印刷面 choice alone; with
// "keyboard": the list in reading order with the focus on the 住所 button of
// a record added on a short window, the about box and an error message.
// Run under a display (xvfb-run); not a test.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/FormHelp.h"
#include "app/FormMain.h"
#include "app/FormAddData.h"
#include "app/FormPasswordAuth.h"
#include "app/MessageBoxPrompter.h"
#include "app/ProgramWindows.h"
#include "app/RecordEditor.h"
#include "app/ToolbarIcons.h"
#include "platform/DialogRunner.h"
#include "tests/support/Screenshot.h"

namespace {

bool Shoot(q2::TFormMain& window, const QString& path, bool withTitle = false) {
    return q2test::ShootWindow(window, path, 300, withTitle);
}

// Shows each dialog instead of running it, takes its picture, and answers
// the quick add with a name.
class ShootingRunner : public q2::DialogRunner {
public:
    explicit ShootingRunner(QString path) : path_(std::move(path)) {}
    int Exec(QDialog& d) override {
        if (auto* add = qobject_cast<q2::TFormAddData*>(&d)) {
            add->EditName_1->setText(QStringLiteral("山田"));
            add->EditName_2->setText(QStringLiteral("花子"));
            add->EditKana_1->setText(QStringLiteral("ヤマダ"));
            add->EditKana_2->setText(QStringLiteral("ハナコ"));
            add->BtnAddClick();
            return add->result();
        }
        d.show();
        ok = q2test::ShootWidget(d, path_, 300);
        d.hide();
        return QDialog::Accepted;
    }
    QString OpenFileName(QWidget*, const q2::FileDialogRequest&) override { return {}; }
    QString SaveFileName(QWidget*, const q2::FileDialogRequest&) override { return {}; }
    bool ok = false;

private:
    QString path_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QStringLiteral(Q2_SOURCE_DIR "/docs/screenshots");
    QDir().mkpath(out);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    q2::ChooseIconTheme();

    q2::TProgramWindows windows;
    q2::TFormMain& main = windows.FormMain();
    main.OpenCommandLineFile(QStringLiteral(Q2_SOURCE_DIR "/data/sample.QT2"));
    const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (mode == QLatin1String("small")) {
        main.FitToScreen(main.screen()->availableGeometry());
        main.show();
        if (!QTest::qWaitForWindowExposed(&main)) return 1;
        main.SelectRows({0});
        return Shoot(main, out + QStringLiteral("/main-window-1024x768.png"), true) ? 0 : 1;
    }
    main.move(0, 0);
    main.show();
    if (!QTest::qWaitForWindowExposed(&main)) return 1;
    if (mode == QLatin1String("print-side")) {
        // The editor alone, as it paints itself (offscreen will do): a company
        // record that prints its office address, shown on its private page.
        for (int i = 0; i < int(main.DisplayList.size()); ++i)
            if (!main.DisplayList[i]->CommonUseTypePersonal) {
                main.SelectRows({i});
                break;
            }
        q2::TRecordEditor& editor = *main.RecordEditor;
        editor.PGPrintType->setCurrentWidget(editor.TabSheetPersonal);
        return q2test::ShootWidget(*main.PanelRecordEditor,
                                   out + QStringLiteral("/record-editor-print-side.png"))
                   ? 0
                   : 1;
    }
    if (mode == QLatin1String("desktop")) {
        // A change not yet saved: "*" after the file's name in the title.
        main.SelectRows({0});
        main.PopPrintCheckClick();
        bool ok = Shoot(main, out + QStringLiteral("/main-window-modified.png"), true);
        QAction* file = main.menuBar()->actions().first();
        main.menuBar()->setActiveAction(file);
        ok = Shoot(main, out + QStringLiteral("/menu-bar-file.png"), true) && ok;
        file->menu()->hide();
        main.ShowHelp();
        main.FormHelp->move(main.geometry().center() - main.FormHelp->rect().center());
        ok = Shoot(main, out + QStringLiteral("/help-window.png"), true) && ok;
        return ok ? 0 : 1;
    }
    if (argc > 2 && QByteArray(argv[2]) == "keyboard") {
        main.resize(1024, 600);
        main.move(0, 0);
        main.show();
        if (!QTest::qWaitForWindowExposed(&main)) return 1;
        ShootingRunner runner(out + QStringLiteral("/about-box.png"));
        q2::SetDialogRunner(&runner);
        main.pngBtnAddAddressClick();  // the postal box of the new record in view
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // on to 住所１
        bool ok = Shoot(main, out + QStringLiteral("/keyboard-address-button.png"));
        main.ShowAbout();
        ok = runner.ok && ok;
        q2::SetDialogRunner(nullptr);
        q2::MessageBoxPrompter prompter(QStringLiteral("Quintaro2"));
        QTimer::singleShot(300, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ok = q2test::ShootWidget(*box, out + QStringLiteral("/error-message.png"), 0) && ok;
                box->close();
            }
        });
        prompter.Inform(QStringLiteral("ファイルの保存に失敗しました"));
        return ok ? 0 : 1;
    }
    main.LVAddressList->setFocus();
    bool ok = Shoot(main, out + QStringLiteral("/main-window-all.png"));
    main.ClickTab(2);
    main.SelectRows({0});
    ok = Shoot(main, out + QStringLiteral("/main-window-ka.png")) && ok;

    // The popup menu over the selected rows.
    main.SelectRows({0, 1});
    const QRect row = main.LVAddressList->visualRect(main.LVAddressList->model()->index(1, 1));
    main.PopupMenuMain->popup(main.LVAddressList->viewport()->mapToGlobal(row.center()));
    ok = Shoot(main, out + QStringLiteral("/main-window-popup.png")) && ok;
    main.PopupMenuMain->hide();

    // The password prompt over the window.
    q2::TFormPasswordAuth& auth = windows.FormPasswordAuth();
    auth.show();
    auth.move(main.geometry().center() - auth.rect().center());
    ok = Shoot(main, out + QStringLiteral("/password-prompt.png")) && ok;
    auth.hide();

    // A record in the editor, on its private and on its office page.
    main.ClickTab(0);
    auto rowOf = [&main](const QString& name) {
        for (int i = 0; i < int(main.DisplayList.size()); ++i)
            if (main.DisplayList[i]->PerSonalName_1 == name) return i;
        return 0;
    };
    q2::TRecordEditor& editor = *main.RecordEditor;
    main.SelectRows({rowOf(QStringLiteral("青山"))});
    editor.PGPrintType->setCurrentWidget(editor.TabSheetPersonal);
    ok = Shoot(main, out + QStringLiteral("/record-editor-personal.png")) && ok;
    main.SelectRows({rowOf(QStringLiteral("株式会社山手ビル管理"))});
    editor.PGPrintType->setCurrentWidget(editor.TabSheetOffice);
    ok = Shoot(main, out + QStringLiteral("/record-editor-office.png")) && ok;
    // The lower part: joint names, categories, picture and history.
    if (auto* scroll = main.findChild<QScrollArea*>(QStringLiteral("ScrollRecordEditor")))
        scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    ok = Shoot(main, out + QStringLiteral("/record-editor-lower.png")) && ok;
    return ok ? 0 : 1;
}
