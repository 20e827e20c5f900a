// The program's start: one instance only, the windows, the command-line file
// and the message loop.
#pragma once

#include <QStringList>

class QApplication;

namespace q2 {

class SingleInstanceLock;

// False, after telling the user "既に起動しています", when another running
// copy holds the lock.
bool AcquireSingleInstance(SingleInstanceLock& lock);

// Runs velmora3 to its end; `args` are the command-line arguments after the
// program name. Returns the process's exit status.
int RunProgram(QApplication& app, const QStringList& args);

}  // namespace q2
