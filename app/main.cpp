// velmora3: the Quintaro2 address book.
#include <QApplication>

#include "app/StartUp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return q2::RunProgram(app, args);
}
