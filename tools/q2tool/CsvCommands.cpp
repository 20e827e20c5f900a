// q2tool export-csv and import-csv: the export and import dialogs' work without a window.
#include <QFile>
#include <QFileInfo>

#include "Command.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/CsvReader.h"
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
    TUserInfoList book;
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

int ImportCsv(const QStringList& argsIn) {
    QStringList args = argsIn;
    const bool skipFirst = TakeFlag(args, QStringLiteral("--skip-first"));
    const QString password = TakePassword(args);
    const QString map = TakeOption(args, QStringLiteral("--map"));
    if (args.size() != 2 || map.isEmpty())
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
    MarkLineBreaks(records);
    // Columns beyond the widest record can only be a mistake.
    TImportMapping mapping;
    QString error;
    if (!ParseImportMapping(map.split(u','), &mapping, &error, WidestCsvRecord(records))) {
        PrintError(error);
        return kUsage;
    }

    if (IsSameFile(args[0], args[1])) {
        PrintError(QStringLiteral("取り込むファイル %1 と住所録 %2 は同じファイルです").arg(args[0], args[1]));
        return kFailure;
    }
    TBookLock lock;
    if (!LockBookForWriting(args[1], QStringLiteral("import-csv"), lock)) return kFailure;
    TUserInfoList book;
    if (CheckUserFile(args[1]) != FileProblem::Missing) {
        if (!LoadBookFile(args[1], password, book)) return kFailure;
    } else if (!password.isEmpty()) {
        book.HasPassword = true;
        book.Password = password;
    }
    TImportOptions options;
    options.SkipFirstRecord = skipFirst;
    const int added = ImportRecords(records, mapping, options, book);
    // A UTF-8 file can hold characters the book file cannot.
    const int unencodable = static_cast<int>(book.FindUnencodable().size());
    if (unencodable > 0)
        PrintError(QStringLiteral("CP932 で表せない文字を含む項目が %1 個あり、「?」で保存しました")
                       .arg(unencodable));
    if (SaveProblem p; !book.SaveToFile(args[1], &p)) {
        PrintError(SaveFailureMessage(p, args[1]));
        return kFailure;
    }
    PrintOut(QStringLiteral("%1件の追加を完了しました").arg(added));
    return kOk;
}

const Registrar exportCsv(
    QStringLiteral("export-csv"),
    {QStringLiteral("export-csv BOOK.QT2 OUT.csv [--header] [--columns 1,2,…] [--utf8] "
                    "[--password P|-] [--force]   the CSV export"),
     ExportCsv});
const Registrar importCsv(
    QStringLiteral("import-csv"),
    {QStringLiteral("import-csv IN.csv BOOK.QT2 --map 0=個人名前,3=個人住所１,… [--skip-first] "
                    "[--password P|-]   appends CSV records to a book"),
     ImportCsv});

}  // namespace
}  // namespace q2tool
