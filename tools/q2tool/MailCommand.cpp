// q2tool mail: the bulk mail of a book's records, written as message files to
// look at before it goes, and sent with the data folder's mail settings.
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "Command.h"
#include "mail/MailMessage.h"
#include "mail/MailTemplate.h"
#include "mail/SendMailRun.h"
#include "model/DataPaths.h"
#include "model/UserInfoList.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"
#include "preflight/Preflight.h"

namespace q2tool {
namespace {

using namespace q2;

// The statuses of the run on standard error, as the status window shows them.
class StderrSink : public TSendMailSink {
public:
    void SetStatus(const QString& text) override { PrintError(text); }
    void SetRange(int, int) override {}
    void SetPosition(int) override {}
    bool CancelRequested() override { return false; }
};

bool LoadMailSettings(TthMailConfig* config) {
    const QString path = GetMailConfigPath();
    QByteArray bytes;
    const FileProblem p = ReadUserFile(path, &bytes);
    if (p == FileProblem::Missing) return true;
    if (p != FileProblem::None) {
        PrintError(FileProblemMessage(p, path));
        return false;
    }
    if (!config->FromBytes(bytes)) {
        PrintError(QStringLiteral("設定ファイルが破損しているため設定を読み込めません"));
        return false;
    }
    return true;
}

// The message files of an earlier run: four or more digits and ".eml".
bool IsMessageFileName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{4,}\\.eml$"));
    return pattern.match(name).hasMatch();
}

// An empty or new output folder; with `force`, an earlier run's message files
// are removed so that none of them passes for part of this run.
bool PrepareOutputFolder(const QString& path, bool force) {
    const QFileInfo info(path);
    if (info.exists() && !info.isDir()) {
        PrintError(QStringLiteral("%1 はフォルダではありません").arg(path));
        return false;
    }
    QDir dir(path);
    if (info.exists()) {
        const QStringList entries =
            dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        if (!entries.isEmpty() && !force) {
            PrintError(
                QStringLiteral("フォルダ %1 は空ではありません（--force を付けると書き込みます）")
                    .arg(path));
            return false;
        }
        for (const QString& name : entries)
            if (IsMessageFileName(name) && QFileInfo(dir.filePath(name)).isFile() &&
                !dir.remove(name)) {
                PrintError(QStringLiteral("ファイル %1 を削除できません").arg(dir.filePath(name)));
                return false;
            }
    } else if (!QDir().mkpath(path)) {
        PrintError(QStringLiteral("フォルダ %1 を作成できません").arg(path));
        return false;
    }
    return true;
}

QString MessageFileName(int index) {
    return QStringLiteral("%1.eml").arg(index + 1, 4, 10, QLatin1Char('0'));
}

int Mail(const QStringList& argsIn) {
    QStringList args = argsIn;
    const QString usage = Commands()["mail"].Usage;
    const QString out = TakeOption(args, QStringLiteral("--out"));
    const bool force = TakeFlag(args, QStringLiteral("--force"));
    const bool send = TakeFlag(args, QStringLiteral("--send"));
    const bool goOn = TakeFlag(args, QStringLiteral("--continue"));
    const QString password = TakePassword(args);
    if (args.size() != 2 || (out.isEmpty() && !send) || (force && out.isEmpty()) || (goOn && !send))
        return PrintError(usage), kUsage;

    TMailTemplate mail;
    if (FileProblem p; !LoadMailTemplate(args[1], &mail, &p)) {
        PrintError(FileProblemMessage(p, args[1]));
        return kFailure;
    }
    TUserInfoList book;
    if (!LoadBookFile(args[0], password, book)) return kFailure;
    TthMailConfig config;
    if (!LoadMailSettings(&config)) return kFailure;
    if (!config.IsComplete()) {
        PrintError(
            QStringLiteral("メール送信設定が完了していないため使用できません\n設定ボタンから設定を"
                           "行ってください"));
        return kFailure;
    }

    std::vector<TUserInfo*> records;
    for (int i = 0; i < book.Count(); ++i) records.push_back(book.Item(i));
    if (records.empty()) {
        PrintError(QStringLiteral("送信先がありません"));
        return kFailure;
    }

    // The check the dialog shows before a run; on the command line its
    // findings are listed and a send goes on only with --continue.
    const QList<const TUserInfo*> checked(records.begin(), records.end());
    const QList<TPreflightFinding> findings = CheckMail(checked, mail.Subject, mail.Body);
    for (const TPreflightFinding& f : findings) PrintError(PreflightLine(f, f.Record));

    TSendMailRun run(config, records, mail.Subject, mail.Body);
    if (!out.isEmpty()) {
        if (!PrepareOutputFolder(out, force)) return kFailure;
        // Composed once: the files are the very messages --send hands over.
        std::vector<QByteArray> messages(records.size());
        int written = 0;
        QStringList notWritten;
        for (size_t i = 0; i < records.size(); ++i) {
            const TUserInfo& r = *records[i];
            if (!IsUsableMailAddress(RecipientAddress(r))) {
                notWritten
                    << QStringLiteral("%1 件目 %2").arg(i + 1).arg(r.PersonalFullName().trimmed());
                continue;
            }
            messages[i] = run.ComposeMessage(r);
            const QString file = QDir(out).filePath(MessageFileName(static_cast<int>(i)));
            if (const SaveProblem p = WriteFileSafely(file, messages[i]); p != SaveProblem::None) {
                PrintError(CannotCreateMessage(p, file));
                return kFailure;
            }
            ++written;
        }
        PrintOut(QStringLiteral("%1 件のメールを %2 に書き出しました").arg(written).arg(out));
        if (!notWritten.isEmpty())
            PrintError(
                QStringLiteral("送信先アドレスのない、または使えない %1 件は書き出していません\n")
                    .arg(notWritten.size()) +
                notWritten.join(u'\n'));
        run.UseMessages(std::move(messages));
    }
    if (!send) return kOk;

    if (HasFault(findings) && !goOn) {
        PrintError(
            QStringLiteral("確認で問題が見つかったため送信していません（--continue "
                           "を付けると、このまま続けます）"));
        return kFailure;
    }
    StderrSink sink;
    const TSendMailResult result = run.Execute(sink);
    if (!result.ErrorText.isEmpty()) {
        PrintError(result.ErrorText);
        return kFailure;
    }
    PrintOut(CompletionText(result, records));
    return kOk;
}

const Registrar mail(
    QStringLiteral("mail"),
    {QStringLiteral("mail BOOK.QT2 TEMPLATE.mtl [--out DIR [--force]] [--send [--continue]] "
                    "[--password P|-]   the bulk mail of every record: DIR/NNNN.eml as it would be "
                    "sent, and/or sent with the data folder's mail settings"),
     Mail});

}  // namespace
}  // namespace q2tool
