// Program start and the message loop.
#include "app/StartUp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

#include "app/FileHandOver.h"
#include "app/FormMain.h"
#include "app/MessageBoxPrompter.h"
#include "app/ProgramWindows.h"
#include "app/ToolbarIcons.h"
#include "platform/Prompter.h"
#include "platform/SingleInstance.h"

namespace q2 {

bool AcquireSingleInstance(SingleInstanceLock& lock) {
    if (lock.TryAcquire()) return true;
    GetPrompter().Inform(QStringLiteral("既に起動しています"));
    return false;
}

namespace {
std::function<void(TFormMain&)> dialogInstaller;
}

void SetDialogInstaller(std::function<void(TFormMain&)> install) {
    dialogInstaller = std::move(install);
}

QTranslator* InstallQtJapanese(QApplication& app) {
    // One translator for the whole run; it must outlive every dialog.
    static QTranslator qtJapanese;
    if (!qtJapanese.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return app.installTranslator(&qtJapanese) ? &qtJapanese : nullptr;
}

int RunProgram(QApplication& app, const QStringList& args) {
    // Before the first box, so that even "既に起動しています" has Japanese buttons.
    InstallQtJapanese(app);
    SingleInstanceLock lock;
    const QString socketName = HandOverSocketName(lock.FilePath());
    const QString file = args.value(0);
    if (!lock.TryAcquire()) {
        // The running program opens the file, or just comes to the front.
        if (HandOverToRunningProgram(socketName, file)) return 0;
        // The program's title is not set yet: this box carries the
        // executable's name.
        MessageBoxPrompter early(QCoreApplication::applicationName());
        ScopedPrompter scope(early);
        if (!AcquireSingleInstance(lock)) return 1;
    }
    // The lock is held until the process ends.

    MessageBoxPrompter prompter(QStringLiteral("Quintaro2"));
    ScopedPrompter scope(prompter);
    ChooseIconTheme();
    // The installed program icon (hicolor "quintaro2"); run from the build
    // tree, the address book picture of the toolbar.
    app.setWindowIcon(QIcon::fromTheme(QStringLiteral("quintaro2"),
                                       QIcon(QStringLiteral(":/icons/address-add.svg"))));

    TProgramWindows windows;
    TFormMain& main = windows.FormMain();
    if (dialogInstaller) dialogInstaller(main);
    // Placed before anything is asked, so that a file password prompt shown
    // ahead of the window is centred on it as well.
    if (const QScreen* screen = main.screen()) main.FitToScreen(screen->availableGeometry());
    QObject::connect(&main, &TFormMain::ProgramEndRequested, &app,
                     [] { QCoreApplication::exit(0); });

    TFileHandOverServer handOver;
    QObject::connect(&handOver, &TFileHandOverServer::Received, &main,
                     [&main](const QString& path) { main.TakeHandOver(path); });
    handOver.Listen(socketName);

    if (!args.isEmpty() && !args.first().isEmpty()) main.OpenCommandLineFile(args.first());
    if (main.ProgramEnded()) return 0;

    main.show();
    const int status = app.exec();
    return main.ProgramEnded() ? 0 : status;
}

}  // namespace q2
