// q2tool export-csv and import-csv: the export and import dialogs' work without a window.
#include <QFile>
#include <QFileInfo>

#include "Command.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvHeaderMapping.h"
#include "exchange/CsvImport.h"
#include "exchange/CsvReader.h"
#include "exchange/ImportDuplicates.h"
#include "model/UserInfoList.h"
#include "platform/BookLock.h"
#include "platform/Clock.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"

namespace q2tool {
namespace {

using namespace q2;

int ExportCsv(const QStringList& argsIn) {
    QStringList args = argsIn;
    const bool header = TakeFlag(args, QStringLiteral("--header"));
    const bool utf8 = TakeFlag(args, QStringLiteral("--utf8"));
    const bool force = TakeFlag(args, QStringLiteral("--force"));
    const QString password = TakePassword(args);
    const QString columns = TakeOption(args, QStringLiteral("--columns"));
    if (args.size() != 2) return PrintError(Commands()["export-csv"].Usage), kUsage;

    TExportOptions options;
    options.Header = header;
    options.Utf8 = utf8;
    QString error;
    if (columns.isEmpty()) {
        for (int c = 0; c < kExportColumnCount; ++c) options.Columns.push_back(c);
    } else if (!ParseExportColumns(columns, &options.Columns, &error)) {
        PrintError(error);
        return kUsage;
    }
    if (options.Columns.empty()) {
        PrintError(QStringLiteral("エクスポートする項目を1つ以上選択してください"));
        return kUsage;
    }
    // The process ends soon after, and freeing a large book's millions of
    // strings one by one would cost more than the work: the book is left to
    // the operating system, as create does.
    TUserInfoList& book = *new TUserInfoList;
    if (!MayWriteOutput(args[1], {args[0]}, force)) return kFailure;
    if (!LoadBookFile(args[0], password, book)) return kFailure;
    if (book.Count() == 0) {
        PrintError(QStringLiteral("エクスポート対象がありません"));
        return kFailure;
    }
    const TExportResult result = ComposeCsv(book, options, Today());
    if (const SaveProblem p = WriteFileSafely(args[1], result.Bytes); p != SaveProblem::None) {
        PrintError(SaveFailureMessage(p, args[1],
                                      QStringLiteral("ファイル %1 を作成できません").arg(args[1])));
        return kFailure;
    }
    if (result.Unencodable > 0)
        PrintError(
            QStringLiteral("CP932 で表せない %1 文字を「?」で出力しました (--utf8 で保持できます)")
                .arg(result.Unencodable));
    PrintOut(QStringLiteral("%1件の出力を完了しました").arg(book.Count()));
    return kOk;
}

}  // namespace

// "--duplicates add|skip|update": what becomes of a record that looks like
// one already in the book or earlier in the file; false for another word.
bool TakeDuplicateAction(QStringList& args, q2::TDuplicateAction* action) {
    const QString word = TakeOption(args, QStringLiteral("--duplicates"));
    if (word.isEmpty() || word == u"add")
        *action = q2::TDuplicateAction::Add;
    else if (word == u"skip")
        *action = q2::TDuplicateAction::Skip;
    else if (word == u"update")
        *action = q2::TDuplicateAction::Update;
    else
        return false;
    return true;
}

namespace {

int ImportCsv(const QStringList& argsIn) {
    QStringList args = argsIn;
    bool skipFirst = TakeFlag(args, QStringLiteral("--skip-first"));
    const bool autoMap = TakeFlag(args, QStringLiteral("--auto"));
    const bool noPrint = TakeFlag(args, QStringLiteral("--no-print"));
    const QString password = TakePassword(args);
    const QString map = TakeOption(args, QStringLiteral("--map"));
    TDuplicateAction duplicates = TDuplicateAction::Add;
    const bool knownAction = TakeDuplicateAction(args, &duplicates);
    if (args.size() != 2 || map.isEmpty() == !autoMap || !knownAction)
        return PrintError(Commands()["import-csv"].Usage), kUsage;

    QByteArray bytes;
    if (const FileProblem p = ReadUserFile(args[0], &bytes); p != FileProblem::None) {
        PrintError(FileProblemMessage(p, args[0]));
        return kFailure;
    }
    const QString noData = QStringLiteral("ファイル %1 には取り込むデータがありません").arg(args[0]);
    QString text;
    if (!DecodeCsvText(bytes, &text)) {
        PrintError(noData);
        return kFailure;
    }
    bytes.clear();
    QStringList records = SplitCsvRecords(text);
    text.clear();
    if (records.isEmpty()) {
        PrintError(noData);
        return kFailure;
    }
    TImportMapping mapping;
    if (autoMap) {
        const QStringList header = SplitCsvFields(records[0]);
        const std::optional<THeaderProposal> proposal = ProposeCsvMapping(header);
        if (!proposal) {
            PrintError(
                QStringLiteral("1行目を見出しとして認識できません。--map で列を指定してください"));
            return kFailure;
        }
        PrintOut(QStringLiteral("1行目を「%1」の見出しと判断しました").arg(proposal->Layout));
        for (const QString& line : DescribeProposal(*proposal, header)) PrintOut(line);
        AppendDerivedColumns(records, *proposal);
        mapping = proposal->Mapping;
        skipFirst = true;
    }
    MarkLineBreaks(records);
    QString error;
    // Columns beyond the widest record can only be a mistake.
    if (!autoMap &&
        !ParseImportMapping(map.split(u','), &mapping, &error, WidestCsvRecord(records))) {
        PrintError(error);
        return kUsage;
    }

    if (IsSameFile(args[0], args[1])) {
        PrintError(QStringLiteral("取り込むファイル %1 と住所録 %2 は同じファイルです").arg(args[0], args[1]));
        return kFailure;
    }
    TBookLock lock;
    if (!LockBookForWriting(args[1], QStringLiteral("import-csv"), lock)) return kFailure;
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
    TImportOptions options;
    options.SkipFirstRecord = skipFirst;
    options.MarkForPrint = !noPrint;
    std::vector<TUserInfo> incoming = ConvertCsvRecords(records, mapping, options);
    const std::vector<TDuplicate> found = FindDuplicates(incoming, book);
    const TImportSummary summary = ApplyImport(
        std::move(incoming), found, std::vector<TDuplicateAction>(found.size(), duplicates), book);
    // A UTF-8 file can hold characters the book file cannot.
    const int unencodable = static_cast<int>(book.FindUnencodable().size());
    if (unencodable > 0)
        PrintError(QStringLiteral("CP932 で表せない文字を含む項目が %1 個あり、「?」で保存しました")
                       .arg(unencodable));
    if (SaveProblem p; !book.SaveToFile(args[1], &p)) {
        PrintError(SaveFailureMessage(p, args[1]));
        return kFailure;
    }
    PrintOut(ImportSummaryMessage(summary));
    return kOk;
}

const Registrar exportCsv(
    QStringLiteral("export-csv"),
    {QStringLiteral("export-csv BOOK.QT2 OUT.csv [--header] [--columns 1,2,…] [--utf8] "
                    "[--password P|-] [--force]   the CSV export"),
     ExportCsv});
const Registrar importCsv(
    QStringLiteral("import-csv"),
    {QStringLiteral(
         "import-csv IN.csv BOOK.QT2 --map 0=個人名前,3=個人住所１,…|--auto [--skip-first] "
         "[--duplicates add|skip|update] [--no-print] [--password P|-]   "
         "appends CSV records to a book (--auto: from the header line)"),
     ImportCsv});

}  // namespace
}  // namespace q2tool
