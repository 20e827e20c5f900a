// velmora3: the Quintaro2 address book.
#include <QApplication>

#include "app/DialogWiring.h"
#include "app/StartUp.h"
#include "platform/FileName.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(Q2_VERSION));
    // File names as the bytes they are: Qt's own decoding loses those that are not UTF-8.
    QStringList args = q2::DecodeArguments(argc, argv);
    q2::SetDialogInstaller(q2::InstallDialogs);
    return q2::RunProgram(app, args);
}
