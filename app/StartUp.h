// The program's start: one instance only, the windows, the command-line file
// and the message loop.
#pragma once

#include <functional>

#include <QStringList>

class QApplication;
class QTranslator;

namespace q2 {

class SingleInstanceLock;
class TFormMain;

// False, after telling the user "既に起動しています", when another running
// copy holds the lock.
bool AcquireSingleInstance(SingleInstanceLock& lock);

// Makes Qt's own dialogs (file chooser, print dialog, standard buttons) speak
// Japanese. Null when Qt's Japanese translation is not installed.
QTranslator* InstallQtJapanese(QApplication& app);

// Called once the windows exist, before anything is shown: the program
// plugs its dialogs into the main window here.
void SetDialogInstaller(std::function<void(TFormMain&)> install);

// Runs velmora3 to its end; `args` are the command-line arguments after the
// program name. Returns the process's exit status.
int RunProgram(QApplication& app, const QStringList& args);

}  // namespace q2
