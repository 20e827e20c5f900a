// q2tool import-vcard and export-vcard: vCard files in and out of a book.
#include <QFile>
#include <QFileInfo>

#include "Command.h"
#include "exchange/ImportDuplicates.h"
#include "exchange/VcardImport.h"
#include "exchange/VcardUid.h"
#include "exchange/VcardWriter.h"
#include "model/UserInfoList.h"
#include "platform/BookLock.h"
#include "platform/Clock.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"

namespace q2tool {

// In CsvCommands.cpp: "--duplicates add|skip|update".
bool TakeDuplicateAction(QStringList& args, q2::TDuplicateAction* action);

namespace {

using namespace q2;

int ImportVcard(const QStringList& argsIn) {
    QStringList args = argsIn;
    const QString password = TakePassword(args);
    const bool noPrint = TakeFlag(args, QStringLiteral("--no-print"));
    TDuplicateAction duplicates = TDuplicateAction::Add;
    const bool knownAction = TakeDuplicateAction(args, &duplicates);
    if (args.size() != 2 || !knownAction)
        return PrintError(Commands()["import-vcard"].Usage), kUsage;
    QByteArray bytes;
    if (const FileProblem p = ReadUserFile(args[0], &bytes); p != FileProblem::None) {
        PrintError(FileProblemMessage(p, args[0]));
        return kFailure;
    }
    TVcardImport cards = ConvertVcards(bytes, MakeDateTime(Now()));
    if (cards.Records.empty()) {
        PrintError(QStringLiteral("ファイル %1 には取り込むデータがありません").arg(args[0]));
        return kFailure;
    }
    if (IsSameFile(args[0], args[1])) {
        PrintError(QStringLiteral("取り込むファイル %1 と住所録 %2 は同じファイルです").arg(args[0], args[1]));
        return kFailure;
    }
    TBookLock lock;
    if (!LockBookForWriting(args[1], QStringLiteral("import-vcard"), lock)) return kFailure;
    // The process ends soon after, and freeing a large book's millions of
    // strings one by one would cost more than the work: the book is left to
    // the operating system, as create does.
    TUserInfoList& book = *new TUserInfoList;
    if (CheckUserFile(args[1]) != FileProblem::Missing) {
        if (!LoadBookFile(args[1], password, book)) return kFailure;
    } else if (!password.isEmpty()) {
        book.HasPassword = true;
        book.Password = password;
    }
    if (noPrint) SetPrintMarkOfOtherCards(cards, false);
    const std::vector<TDuplicate> found = FindDuplicates(cards.Records, book);
    const TImportSummary summary =
        ApplyImport(std::move(cards.Records), found,
                    std::vector<TDuplicateAction>(found.size(), duplicates), book);
    const int unencodable = static_cast<int>(book.FindUnencodable().size());
    if (unencodable > 0)
        PrintError(QStringLiteral("CP932 で表せない文字を含む項目が %1 個あり、「?」で保存しました")
                       .arg(unencodable));
    if (SaveProblem p; !book.SaveToFile(args[1], &p)) {
        PrintError(SaveFailureMessage(p, args[1]));
        return kFailure;
    }
    if (!cards.Skipped.isEmpty())
        PrintError(QStringLiteral("取り込まなかった項目: ") + SkippedSummary(cards.Skipped));
    PrintOut(ImportSummaryMessage(summary));
    return kOk;
}

int ExportVcard(const QStringList& argsIn) {
    QStringList args = argsIn;
    const QString password = TakePassword(args);
    const QString versionText = TakeOption(args, QStringLiteral("--version"));
    const bool force = TakeFlag(args, QStringLiteral("--force"));
    TVcardVersion version = TVcardVersion::V30;
    if (args.size() != 2 || (!versionText.isEmpty() && !ParseVcardVersion(versionText, &version)))
        return PrintError(Commands()["export-vcard"].Usage), kUsage;
    if (!MayWriteOutput(args[1], {args[0]}, force)) return kFailure;
    TUserInfoList book;
    if (!LoadBookFile(args[0], password, book)) return kFailure;
    if (book.Count() == 0) {
        PrintError(QStringLiteral("エクスポート対象がありません"));
        return kFailure;
    }
    TVcardUidStore uids;
    const QStringList assigned = uids.Assign(book);
    if (const SaveProblem p = WriteFileSafely(args[1], ComposeVcards(book, version, {}, assigned));
        p != SaveProblem::None) {
        PrintError(CannotCreateMessage(p, args[1]));
        return kFailure;
    }
    // Without the file the next export would give every card a new UID.
    if (!uids.Save())
        PrintError(QStringLiteral("UID の記録 %1 を保存できませんでした").arg(VcardUidPath()));
    PrintOut(QStringLiteral("%1件の出力を完了しました").arg(book.Count()));
    return kOk;
}

const Registrar importVcard(
    QStringLiteral("import-vcard"),
    {QStringLiteral("import-vcard IN.vcf BOOK.QT2 [--duplicates add|skip|update] [--no-print] "
                    "[--password P|-]   appends one record per card"),
     ImportVcard});
const Registrar exportVcard(
    QStringLiteral("export-vcard"),
    {QStringLiteral("export-vcard BOOK.QT2 OUT.vcf [--version 3.0|4.0] [--password P|-] [--force]   "
                    "every record as a vCard (UTF-8), each with its UID"),
     ExportVcard});

}  // namespace
}  // namespace q2tool
