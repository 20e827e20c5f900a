// q2tool update-zip and check-zip: the postal data update without a window,
// and the book review that follows it.
#include "Command.h"
#include "model/DataPaths.h"
#include "model/ListFile.h"
#include "model/UserInfoList.h"
#include "platform/DataFolder.h"
#include "zip/ZipReview.h"
#include "zip/ZipUpdate.h"

namespace q2tool {
namespace {

using namespace q2;

// Messages are written for a message box; a terminal wants plain line ends.
QString ForTerminal(QString text) { return text.replace(QLatin1String("\r\n"), QLatin1String("\n")); }

// Prints a failed update's message and the reason; the exit code.
int ReportFailure(TZipDownloadResult result, const QString& reason) {
    PrintError(ForTerminal(ZipUpdateFailureMessage(result, reason)));
    // The full message already names the reason of the others.
    if (result == TZipDownloadResult::DownloadFailed && !reason.isEmpty())
        PrintError(ForTerminal(reason));
    if (result == TZipDownloadResult::NotFound)
        PrintError(
            QStringLiteral("ダウンロードしたファイルからは update-zip --from KEN_ALL.ZIP "
                           "JIGYOSYO.ZIP で更新できます"));
    return kFailure;
}

int UpdateZip(const QStringList& argsIn) {
    QStringList args = argsIn;
    // "--from FILE…": every argument up to the next option.
    QStringList files;
    const qsizetype fromAt = args.indexOf(QStringLiteral("--from"));
    if (fromAt >= 0) {
        args.removeAt(fromAt);
        while (fromAt < args.size() && !args[fromAt].startsWith(QLatin1String("--")))
            files << args.takeAt(fromAt);
        if (files.isEmpty()) return PrintError(Commands()["update-zip"].Usage), kUsage;
    }
    const qsizetype sourceAt = args.indexOf(QStringLiteral("--source"));
    const QString source = TakeOption(args, QStringLiteral("--source"));
    const qsizetype baseAt = args.indexOf(QStringLiteral("--base"));
    QString base = TakeOption(args, QStringLiteral("--base"));
    const bool badSource = sourceAt >= 0 && source != QLatin1String("japanpost") &&
                           source != QLatin1String("server");
    const bool badBase = baseAt >= 0 && !base.startsWith(QLatin1String("http://")) &&
                         !base.startsWith(QLatin1String("https://"));
    if (!args.isEmpty() || badSource || badBase ||
        (!files.isEmpty() && (sourceAt >= 0 || baseAt >= 0)))
        return PrintError(Commands()["update-zip"].Usage), kUsage;

    EnsureDataFolder();
    CopyMissingDefaults({QStringLiteral("zip/zip.dat"), QStringLiteral("zip/version.txt")});
    if (!files.isEmpty()) {
        QString reason;
        const TZipDownloadResult r =
            UpdateZipFromFiles(files, ReadZipSourceSettings(GetConfigPath()), GetZipVersionPath(),
                               GetZipDataPath(), ZipNoNumberPath(GetZipDataPath()), &reason);
        if (r != TZipDownloadResult::Updated) {
            if (r == TZipDownloadResult::WriteFailed) return ReportFailure(r, reason);
            PrintError(ForTerminal(reason));
            return kFailure;
        }
        PrintOut(QStringLiteral("新しい郵便番号データをインストールしました：") +
                 ReadZipVersion(GetZipVersionPath()).DisplayText);
        return kOk;
    }
    std::optional<TZipSource> chosen;
    if (!source.isEmpty())
        chosen = source == QLatin1String("server") ? TZipSource::Server : TZipSource::JapanPost;
    TZipSourceSettings settings = ReadZipSourceSettings(GetConfigPath(), chosen);
    if (!base.isEmpty()) {
        while (base.endsWith(QLatin1Char('/'))) base.chop(1);
        settings.BaseUrl = base;
    }
    // The dialog's proxy, as the user last left it.
    const TProxySetting proxy = LoadProxyFile(GetProxyPath());
    TZipHttpClient client;
    client.ProxyHost = proxy.Host.trimmed();
    client.ProxyPort = proxy.Port.trimmed().toInt();

    const TZipVersion current = ReadZipVersion(GetZipVersionPath());
    switch (CheckZipUpdate(client, settings, current.Key)) {
        case TZipCheckResult::Failed:
            PrintError(ForTerminal(ZipCheckFailedMessage()));
            return kFailure;
        case TZipCheckResult::NotFound:
            return ReportFailure(TZipDownloadResult::NotFound, QString());
        case TZipCheckResult::Current:
            PrintOut(QStringLiteral("郵便番号データは最新です：") + current.DisplayText);
            return kOk;
        case TZipCheckResult::Newer:
            break;
    }
    QString reason;
    const TZipDownloadResult r =
        DownloadZipUpdate(client, settings, GetZipVersionPath(), GetZipDataPath(),
                          ZipNoNumberPath(GetZipDataPath()), {}, &reason);
    if (r != TZipDownloadResult::Updated) return ReportFailure(r, reason);
    PrintOut(QStringLiteral("新しい郵便番号データをインストールしました：") +
             ReadZipVersion(GetZipVersionPath()).DisplayText);
    return kOk;
}

int CheckZip(const QStringList& argsIn) {
    QStringList args = argsIn;
    const QString password = TakePassword(args);
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return PrintError(Commands()["check-zip"].Usage), kUsage;
    TUserInfoList book;
    if (!LoadBookFile(args[0], password, book)) return kFailure;
    EnsureDataFolder();
    CopyMissingDefaults({QStringLiteral("zip/zip.dat")});
    TZipIndex data;
    if (!data.Load(GetZipDataPath())) {
        PrintError(QStringLiteral("ファイル %1 を開けません").arg(GetZipDataPath()));
        return kFailure;
    }
    for (const TZipFinding& f : ReviewBook(book, data)) PrintOut(FindingLine(*book.Item(f.Record), f));
    return kOk;
}

const Registrar updateZip(
    QStringLiteral("update-zip"),
    {QStringLiteral(
         "update-zip [--source japanpost|server] [--base URL] | --from KEN_ALL.ZIP JIGYOSYO.ZIP   "
         "fetch new postal data, or install Japan Post's files (ZIP or CSV, either edition)"),
     UpdateZip});
const Registrar checkZip(
    QStringLiteral("check-zip"),
    {QStringLiteral("check-zip BOOK.QT2 [--password P|-]   records that no longer fit the postal data"),
     CheckZip});

}  // namespace
}  // namespace q2tool
