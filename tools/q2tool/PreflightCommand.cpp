// q2tool preflight: the findings before printing the marked records or
// mailing every record of a book, one tab-separated line each.
#include <QFileInfo>
#include <QPrinter>

#include "Command.h"
#include "PieceOptions.h"
#include "mail/MailTemplate.h"
#include "model/DataPaths.h"
#include "model/UserInfoList.h"
#include "platform/DataFolder.h"
#include "preflight/Preflight.h"
#include "zip/ZipReview.h"

namespace q2tool {
namespace {

using namespace q2;

int Preflight(const QStringList& argsIn) {
    QStringList args = argsIn;
    const QString usage = Commands()["preflight"].Usage;
    const bool hasMail = args.contains(QStringLiteral("--mail"));
    const QString mailTemplate = TakeOption(args, QStringLiteral("--mail"));
    const bool print = TakeFlag(args, QStringLiteral("--print"));
    const TPieceOptions piece = TakePieceOptions(args);
    const QString printer = TakeOption(args, QStringLiteral("--printer"));
    const QString password = TakePassword(args);
    if (args.size() != 1 || (hasMail && (mailTemplate.isEmpty() || print || piece.Any() || !printer.isEmpty())))
        return PrintError(usage), kUsage;

    TPrintSettings st = LoadPrintSettings(GetConfigPath());
    if (const auto failed = ApplyPieceOptions(piece, st)) return *failed;

    const QString path = args[0];
    TUserInfoList book;
    if (!LoadBookFile(path, password, book)) return kFailure;

    // The checked list and, for each of its rows, the record's index in the book.
    QList<const TUserInfo*> records;
    QList<int> bookIndex;
    for (int i = 0; i < book.Count(); ++i) {
        if (!hasMail && !book.Item(i)->CommonPrintCheck) continue;
        records << book.Item(i);
        bookIndex << i;
    }

    QList<TPreflightFinding> findings;
    if (hasMail) {
        TMailTemplate mail;
        if (!LoadMailTemplate(mailTemplate, &mail)) {
            PrintError(QStringLiteral("テンプレートファイル %1 を開けません").arg(mailTemplate));
            return kFailure;
        }
        findings = CheckMail(records, mail.Subject, mail.Body);
    } else {
        EnsureDataFolder();
        CopyMissingDefaults({QStringLiteral("zip/zip.dat")});
        TZipIndex zip;
        const bool haveZip = zip.Load(GetZipDataPath());
        if (!haveZip)
            PrintError(QStringLiteral("ファイル %1 を開けないため、郵便番号は確かめていません").arg(GetZipDataPath()));
        TPieceSetup setup = MakePieceSetup(st, std::nullopt, nullptr);
        QPrinter device(QPrinter::HighResolution);
        if (!printer.isEmpty())
            if (const auto failed = OpenPrinter(printer, device, setup)) return *failed;
        findings = CheckPrint(records, setup, {haveZip ? &zip : nullptr});
    }
    for (const TPreflightFinding& f : findings)
        PrintOut(PreflightLine(f, f.Record < 0 ? -1 : bookIndex[f.Record]));
    return HasFault(findings) ? kFailure : kOk;
}

const Registrar preflight(
    QStringLiteral("preflight"),
    {QStringLiteral("preflight BOOK.QT2 [--print [--kind N] [--horizontal] [--barcode] [--font NAME] [--mode N] [--printer QUEUE] | "
                    "--mail TEMPLATE.mtl] [--password P|-]   what will go wrong before printing or mailing"),
     Preflight});

}  // namespace
}  // namespace q2tool
