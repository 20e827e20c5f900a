// q2tool: the command-line companion of the address book.
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "Command.h"
#include "model/UserInfoList.h"
#include "platform/BookLock.h"
#include "platform/FileName.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"

namespace q2tool {

std::map<QString, Command>& Commands() {
    static std::map<QString, Command> commands;
    return commands;
}

void PrintError(const QString& text) {
    // A file name in the text comes out as the bytes it is.
    std::fprintf(stderr, "%s\n", q2::EncodeFileName(text).constData());
}

void PrintOut(const QString& text) {
    std::fprintf(stdout, "%s\n", q2::EncodeFileName(text).constData());
}

void PrintOutBytes(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
}

QString TakeOption(QStringList& args, const QString& name) {
    const qsizetype i = args.indexOf(name);
    if (i < 0 || i + 1 >= args.size()) return QString();
    const QString value = args[i + 1];
    args.remove(i, 2);
    return value;
}

bool TakeFlag(QStringList& args, const QString& name) {
    return args.removeAll(name) > 0;
}

QString TakePassword(QStringList& args) {
    const QString value = TakeOption(args, QStringLiteral("--password"));
    if (value == QLatin1String("-")) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) return QString();
        QByteArray line = in.readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        return QString::fromUtf8(line);
    }
    if (!value.isEmpty()) {
        PrintError(QStringLiteral("警告: --password に書いたパスワードは、このコンピューターの他の"
                                  "利用者にもプロセスの一覧で見えます。--password - (標準入力の"
                                  "1行目) か環境変数 Q2_PASSWORD を使ってください"));
        return value;
    }
    return qEnvironmentVariable("Q2_PASSWORD");
}

bool LockBookForWriting(const QString& path, const QString& command, q2::TBookLock& lock) {
    if (lock.Acquire(path, QStringLiteral("q2tool ") + command) != q2::TBookLock::TState::Busy)
        return true;
    PrintError(lock.BusyMessage(path));
    return false;
}

bool MayWriteOutput(const QString& out, const QStringList& inputs, bool force) {
    for (const QString& in : inputs) {
        if (q2::IsSameFile(out, in)) {
            PrintError(QStringLiteral("出力先 %1 は読み込むファイル %2 と同じファイルのため"
                                      "書き込みません")
                           .arg(out, in));
            return false;
        }
    }
    // A link that points nowhere would also be replaced: it counts as there.
    if (!force && q2::PathExists(out)) {
        PrintError(QStringLiteral("出力先 %1 は既にあります。上書きするには --force を付けてください")
                       .arg(out));
        return false;
    }
    return true;
}

bool LoadBookFile(const QString& path, const QString& password, q2::TUserInfoList& book) {
    using namespace q2;
    if (const FileProblem p = CheckUserFile(path); p != FileProblem::None) {
        PrintError(FileProblemMessage(p, path));
        return false;
    }
    const QString stored = TUserInfoList::ReadPassword(path);
    if (!stored.isEmpty() && stored != password) {
        PrintError(password.isEmpty()
                       ? QStringLiteral("パスワードを入力してください (--password, Q2_PASSWORD)")
                       : QStringLiteral("パスワードが違います"));
        return false;
    }
    FileProblem problem = FileProblem::None;
    if (!book.LoadFromFile(path, &problem)) {
        PrintError(problem != FileProblem::None
                       ? FileProblemMessage(problem, path)
                       : QStringLiteral("指定されたファイルは、破損しているか本ソフト用のファイルでは"
                                        "ないため開けません"));
        return false;
    }
    return true;
}

}  // namespace q2tool

namespace {

void PrintHelp() {
    std::fprintf(stdout, "usage: q2tool COMMAND [ARGS]\n\ncommands:\n");
    for (const auto& [name, cmd] : q2tool::Commands())
        std::fprintf(stdout, "  q2tool %s\n", cmd.Usage.toUtf8().constData());
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing commands need fonts, which need a GUI application; the offscreen
    // platform serves when there is no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // File names as the bytes they are: Qt's own decoding loses those that are not UTF-8.
    QStringList args = q2::DecodeArguments(argc, argv);
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h")) {
        PrintHelp();
        return args.isEmpty() ? q2tool::kUsage : q2tool::kOk;
    }
    const auto it = q2tool::Commands().find(args[0]);
    if (it == q2tool::Commands().end()) {
        q2tool::PrintError(QStringLiteral("unknown command: ") + args[0]);
        PrintHelp();
        return q2tool::kUsage;
    }
    return it->second.Run(args.mid(1));
}
