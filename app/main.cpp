// velmora3: the Quintaro2 address book.
#include <QApplication>

#include "app/DialogWiring.h"
#include "app/StartUp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(Q2_VERSION));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    q2::SetDialogInstaller(q2::InstallDialogs);
    return q2::RunProgram(app, args);
}
