// Subcommands of q2tool register themselves here, one source file each.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

namespace q2 {
class TBookLock;
class TUserInfoList;
}

namespace q2tool {

// Exit codes: 0 success, 1 failure, 2 usage error.
constexpr int kOk = 0, kFailure = 1, kUsage = 2;

struct Command {
    QString Usage;  // one line, shown by --help
    std::function<int(const QStringList& args)> Run;
};

std::map<QString, Command>& Commands();

struct Registrar {
    Registrar(const QString& name, Command command) { Commands()[name] = std::move(command); }
};

// Messages on standard error and output on standard output, in UTF-8.
void PrintError(const QString& text);
void PrintOut(const QString& text);
void PrintOutBytes(const QByteArray& bytes);

// Reads "--name value" from args, removing both; empty when absent.
QString TakeOption(QStringList& args, const QString& name);
bool TakeFlag(QStringList& args, const QString& name);

// The book password: "--password P", or "--password -" for the first line of
// standard input, or else the environment variable Q2_PASSWORD. The last two
// keep it out of the process list and the shell history; the first one gets
// a warning on standard error.
QString TakePassword(QStringList& args);

// Takes the lock of the book `path` that the command `command` is about to
// read, change and write; false after a message on standard error when
// another writer held it for the whole wait.
bool LockBookForWriting(const QString& path, const QString& command, q2::TBookLock& lock);

// Every command that writes a file the user named asks this first: the
// output must not be one of the files the command reads (same device and
// inode), nor an existing file unless "--force" was given. False after a
// message on standard error.
bool MayWriteOutput(const QString& out, const QStringList& inputs, bool force);

// Loads a book the user named: a file check, its password, then the load;
// false after a message on standard error.
bool LoadBookFile(const QString& path, const QString& password, q2::TUserInfoList& book);

}  // namespace q2tool
