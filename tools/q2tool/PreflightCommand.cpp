// q2tool preflight: the findings before printing the marked records or
// mailing every record of a book, one tab-separated line each.
#include <QFileInfo>

#include "Command.h"
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
    const QString kind = TakeOption(args, QStringLiteral("--kind"));
    const bool horizontal = TakeFlag(args, QStringLiteral("--horizontal"));
    const bool barcode = TakeFlag(args, QStringLiteral("--barcode"));
    const QString font = TakeOption(args, QStringLiteral("--font"));
    const QString mode = TakeOption(args, QStringLiteral("--mode"));
    const QString password = TakePassword(args);
    const bool printOptions = !kind.isEmpty() || horizontal || barcode || !font.isEmpty() || !mode.isEmpty();
    if (args.size() != 1 || (hasMail && (mailTemplate.isEmpty() || print || printOptions)))
        return PrintError(usage), kUsage;

    TPrintSettings st = LoadPrintSettings(GetConfigPath());
    bool ok = true;
    if (!kind.isEmpty()) {
        const int k = kind.toInt(&ok);
        if (!ok || !PaperKindInfo(k)) return PrintError(QStringLiteral("--kind: 1–10")), kUsage;
        st.Type = 0;
        st.PostcardIndex = k;
    }
    if (horizontal) st.Vertical = false;
    if (!kind.isEmpty() || horizontal) st.Frames = DefaultFrames(st.PostcardIndex, st.Vertical);
    if (barcode) st.PrintCostom = true;
    if (!font.isEmpty()) st.Font = font;
    if (!mode.isEmpty()) {
        const int m = mode.toInt(&ok);
        if (!ok || m < 0 || m > 3) return PrintError(QStringLiteral("--mode: 0–3")), kUsage;
        st.SprintControl = m;
    }

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
        findings = CheckPrint(records, MakePieceSetup(st, std::nullopt, nullptr), {haveZip ? &zip : nullptr});
    }
    for (const TPreflightFinding& f : findings)
        PrintOut(PreflightLine(f, f.Record < 0 ? -1 : bookIndex[f.Record]));
    return HasFault(findings) ? kFailure : kOk;
}

const Registrar preflight(
    QStringLiteral("preflight"),
    {QStringLiteral("preflight BOOK.QT2 [--print [--kind N] [--horizontal] [--barcode] [--font NAME] [--mode N] | "
                    "--mail TEMPLATE.mtl] [--password P|-]   what will go wrong before printing or mailing"),
     Preflight});

}  // namespace
}  // namespace q2tool
