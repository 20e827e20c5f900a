// Takes the two pictures that show a machine set up by ./test.sh alone: the
// main window with every toolbar picture, and Qt's file chooser in Japanese
// as the open button shows it. Run under a display (xvfb-run); not a test.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cstdio>

#include "app/FormMain.h"
#include "app/ProgramWindows.h"
#include "app/StartUp.h"
#include "app/ToolbarIcons.h"
#include "tests/support/Screenshot.h"

namespace {

bool Shoot(QWidget& window, const QString& path) { return q2test::ShootWindow(window, path, 400); }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QStringLiteral(Q2_SOURCE_DIR "/docs/screenshots");
    QDir().mkpath(out);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    if (!q2::InstallQtJapanese(app)) std::fprintf(stderr, "Qt's Japanese translation is missing\n");
    q2::ChooseIconTheme();
    app.setWindowIcon(QIcon(QStringLiteral(":/icons/address-add.svg")));

    q2::TProgramWindows windows;
    q2::TFormMain& main = windows.FormMain();
    main.OpenCommandLineFile(QStringLiteral(Q2_SOURCE_DIR "/data/sample.QT2"));
    main.move(0, 0);
    main.show();
    if (!QTest::qWaitForWindowExposed(&main)) return 1;
    // A toolbar button without a picture is what a missing image plugin looks like.
    int withoutPicture = 0;
    for (const QToolButton* b : main.findChildren<QToolButton*>())
        if (b->parentWidget() && qobject_cast<QToolBar*>(b->parentWidget()) && b->icon().isNull() &&
            !b->text().isEmpty())
            ++withoutPicture;
    std::printf("toolbar buttons without a picture: %d\n", withoutPicture);
    bool ok = Shoot(main, out + QStringLiteral("/fresh-main-window.png"));

    QFileDialog chooser(&main, QStringLiteral("住所録を開く"), QStringLiteral(Q2_SOURCE_DIR "/data"),
                        QStringLiteral("Quintaro2 ファイル (*.QT2 *.qt2)"));
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.resize(720, 460);
    chooser.show();
    chooser.move(main.geometry().center() - chooser.rect().center());
    if (!QTest::qWaitForWindowExposed(&chooser)) return 1;
    ok = Shoot(chooser, out + QStringLiteral("/file-chooser-ja.png")) && ok;
    return ok && withoutPicture == 0 ? 0 : 1;
}
