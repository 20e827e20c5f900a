// Postal data update: HTTP through libcurl, files replaced only as a whole.
#include "ZipUpdate.h"

#include <curl/curl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Cp932.h"
#include "platform/ProfileFile.h"
#include "platform/SafeFile.h"
#include "zip/JapanPostData.h"
#include "zip/JapanPostSite.h"

namespace q2 {
namespace {

const char kVersionPath[] = "/liveupdate/zipcode/version.txt";
const char kDataPath[] = "/liveupdate/zipcode/zip.dat";

struct Transfer {
    QByteArray* body;
    QIODevice* file;
    qint64 maxBytes;
    qint64 received = 0;
    bool tooLarge = false;
    bool writeFailed = false;
    const TZipHttpClient::Progress* progress;
};

// Counts every byte: a server may announce no length, or a false one.
size_t OnData(char* data, size_t size, size_t n, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const qint64 bytes = qint64(size * n);
    if (t->received + bytes > t->maxBytes) {
        t->tooLarge = true;
        return 0;  // aborts the transfer
    }
    t->received += bytes;
    if (t->file) {
        if (t->file->write(data, bytes) != bytes) {
            t->writeFailed = true;
            return 0;
        }
    } else {
        t->body->append(data, qsizetype(bytes));
    }
    return size * n;
}

int OnProgress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    if (t->progress && *t->progress) (*t->progress)(now, total);
    return 0;
}

void InitCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

QByteArray JoinLines(const QList<QByteArray>& lines) {
    QByteArray out;
    qsizetype size = 0;
    for (const QByteArray& l : lines) size += l.size() + 2;
    out.reserve(size);
    for (const QByteArray& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

}  // namespace

QByteArray NormalizeLineBreaks(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20) out += "\r\n";
        else out += c;
    }
    return out;
}

QList<QByteArray> SplitLines(QByteArrayView text) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.append(text.sliced(start, i - start).toByteArray());
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(text.sliced(start).toByteArray());
    return lines;
}

bool IsNewerVersion(const QByteArray& currentKey, const QByteArray& serverKey) {
    // QByteArray compares bytes as unsigned, and a proper prefix sorts first.
    return currentKey < serverKey;
}

TZipVersion ReadZipVersion(const QString& path) {
    TZipVersion v;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return v;
    const QList<QByteArray> lines = SplitLines(f.readAll());
    v.Read = true;
    if (lines.size() > 0) v.Key = lines[0];
    if (lines.size() > 1) v.DisplayText = DecodeCp932(lines[1]);
    return v;
}

QString DefaultUpdateServerUrl() { return QStringLiteral("http://update.zabelle.jp"); }

QString UpdateServerUrl(const QString& configPath) {
    QString url = ProfileFile(configPath).ReadString(QStringLiteral("COMMON"),
                                                    QStringLiteral("UPDATE_SERVER"), QString());
    if (!url.startsWith(QLatin1String("http://")) && !url.startsWith(QLatin1String("https://")))
        url = DefaultUpdateServerUrl();
    while (url.endsWith(QLatin1Char('/'))) url.chop(1);
    return url;
}

TZipHttpReply TZipHttpClient::Fetch(const QString& path, QByteArray* body, qint64 maxBytes,
                                    const Progress& progress) {
    return Perform(path, false, body, nullptr, maxBytes, progress);
}

TZipHttpReply TZipHttpClient::FetchToFile(const QString& path, QIODevice* file, qint64 maxBytes,
                                          const Progress& progress) {
    QByteArray unused;
    return Perform(path, false, &unused, file, maxBytes, progress);
}

TZipHttpReply TZipHttpClient::HeadReply(const QString& path) {
    QByteArray body;
    return Perform(path, true, &body, nullptr, kMaxPageBytes, {});
}

bool TZipHttpClient::Get(const QString& path, QByteArray* body, const Progress& progress,
                         QString* error, QDateTime* lastModified) {
    const TZipHttpReply r = Fetch(path, body, kMaxServerDataBytes, progress);
    if (error) *error = r.Error;
    if (lastModified) *lastModified = r.LastModified;
    return r.Ok;
}

bool TZipHttpClient::Head(const QString& path, QDateTime* lastModified, QString* error) {
    const TZipHttpReply r = HeadReply(path);
    if (error) *error = r.Error;
    if (lastModified) *lastModified = r.LastModified;
    return r.Ok;
}

TZipHttpReply TZipHttpClient::Perform(const QString& path, bool head, QByteArray* body,
                                      QIODevice* file, qint64 maxBytes, const Progress& progress) {
    InitCurl();
    TZipHttpReply reply;
    body->clear();
    CURL* curl = curl_easy_init();
    if (!curl) return reply;
    const QByteArray url = (BaseUrl + path).toUtf8();
    Transfer transfer{body, file, maxBytes, 0, false, false, &progress};
    curl_slist* headers = curl_slist_append(nullptr, "Accept: text/html, */*");
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Mozilla/3.0 (compatible; Indy Library)");
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");  // accept cookies, in memory
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    // An announced length above the limit is refused before the body comes;
    // a HEAD only asks, so any length may be announced.
    if (!head) curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(maxBytes));
    // A moved file may answer with a redirect; only to HTTP(S), and not in circles.
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FILETIME, 1L);
    if (head) curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    // A dead server must not hang the dialog for ever: give up on connecting
    // after 30 s and on a transfer that stalls for a minute.
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
    const QByteArray proxy = ProxyHost.toUtf8();
    if (!ProxyHost.isEmpty() && ProxyPort != 0) {
        curl_easy_setopt(curl, CURLOPT_PROXY, proxy.constData());
        curl_easy_setopt(curl, CURLOPT_PROXYPORT, long(ProxyPort));
    } else {
        curl_easy_setopt(curl, CURLOPT_PROXY, "");  // no proxy, whatever the environment says
    }
    for (const QByteArray& line : SplitLines(cookies_))
        curl_easy_setopt(curl, CURLOPT_COOKIELIST, line.constData());
    const CURLcode rc = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.Status);
    curl_off_t filetime = -1;
    if (rc == CURLE_OK && curl_easy_getinfo(curl, CURLINFO_FILETIME_T, &filetime) == CURLE_OK &&
        filetime >= 0)
        reply.LastModified = QDateTime::fromSecsSinceEpoch(qint64(filetime), Qt::UTC);
    curl_slist* jar = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_COOKIELIST, &jar) == CURLE_OK) {
        cookies_.clear();
        for (curl_slist* c = jar; c; c = c->next) cookies_ += QByteArray(c->data) + '\n';
        curl_slist_free_all(jar);
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    reply.TooLarge = transfer.tooLarge || rc == CURLE_FILESIZE_EXCEEDED;
    reply.Ok = rc == CURLE_OK;
    if (!reply.Ok) {
        reply.Error = transfer.writeFailed
                          ? QStringLiteral("the temporary file could not be written")
                          : QString::fromUtf8(curl_easy_strerror(rc));
        body->clear();
    }
    return reply;
}

bool LooksLikePostalData(QByteArrayView data) {
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = start;
        while (end < data.size() && data[end] != '\r' && data[end] != '\n') ++end;
        if (end - start >= 8) {
            bool ok = data[start + 7] == ',';
            for (int i = 0; i < 7 && ok; ++i) ok = data[start + i] >= '0' && data[start + i] <= '9';
            if (ok) return true;
        }
        start = end + 1;
    }
    return false;
}

namespace {

QString ZipFolderOf(const QString& dataPath) {
    return QFileInfo(dataPath).absolutePath();
}

// A response is received into a temporary file beside the data it may
// replace, never into memory; the file goes when this object does.
struct DownloadFile {
    explicit DownloadFile(const QString& dataPath)
        : file(ZipFolderOf(dataPath) + QStringLiteral("/download-XXXXXX.part")) {}
    // What a killed update left behind. A file another update is still
    // writing goes only by name: that update keeps its open descriptor.
    static void RemoveStale(const QString& dataPath) {
        QDir folder(ZipFolderOf(dataPath));
        for (const QString& name :
             folder.entryList({QStringLiteral("download-*.part")}, QDir::Files | QDir::Hidden))
            folder.remove(name);
    }
    bool Open() { return file.open(); }
    // The bytes received, read back once the transfer stayed within its limit.
    QByteArray Bytes() {
        file.flush();
        file.seek(0);
        return file.readAll();
    }
    QTemporaryFile file;
};

TZipDownloadResult Fail(QString* reason, const QString& text,
                        TZipDownloadResult result = TZipDownloadResult::DownloadFailed) {
    if (reason) *reason = text;
    return result;
}

// A reply that failed, as a result and its reason.
TZipDownloadResult ReplyFailure(const TZipHttpReply& r, const QString& path, QString* reason) {
    if (r.TooLarge) return Fail(reason, path, TZipDownloadResult::TooLarge);
    return Fail(reason, path + QStringLiteral(": ") + r.Error);
}

struct FileImage {
    QString path;
    QByteArray bytes;
};

// Replaces the files one by one in the order given, each atomically; the
// first failure stops, with the reason in the user's words.
TZipDownloadResult ReplaceFiles(const std::vector<FileImage>& files, QString* reason) {
    for (const FileImage& f : files) {
        QDir().mkpath(QFileInfo(f.path).absolutePath());
        const SaveProblem problem = WriteFileSafely(f.path, f.bytes);
        if (problem != SaveProblem::None)
            return Fail(reason, SaveProblemReason(problem, f.path),
                        TZipDownloadResult::WriteFailed);
    }
    return TZipDownloadResult::Updated;
}

}  // namespace

TZipDownloadResult DownloadZipData(TZipHttpClient& client, const QString& versionPath,
                                   const QString& dataPath,
                                   const TZipHttpClient::Progress& progress, QString* reason) {
    QByteArray version;
    const TZipHttpReply v =
        client.Fetch(QString::fromLatin1(kVersionPath), &version, kMaxPageBytes);
    if (!v.Ok) return ReplyFailure(v, QString::fromLatin1(kVersionPath), reason);
    QDir().mkpath(ZipFolderOf(dataPath));
    DownloadFile::RemoveStale(dataPath);
    DownloadFile download(dataPath);
    if (!download.Open())
        return Fail(reason, SaveProblemReason(SaveProblemFromErrno(errno), ZipFolderOf(dataPath)),
                    TZipDownloadResult::WriteFailed);
    const TZipHttpReply d = client.FetchToFile(QString::fromLatin1(kDataPath), &download.file,
                                               kMaxServerDataBytes, progress);
    if (!d.Ok) return ReplyFailure(d, QString::fromLatin1(kDataPath), reason);
    const QByteArray data = download.Bytes();
    const QList<QByteArray> versionLines = SplitLines(NormalizeLineBreaks(version));
    if (versionLines.isEmpty() || versionLines[0].isEmpty() || !LooksLikePostalData(data))
        return Fail(reason, QStringLiteral("no postal data"));
    // Data first, key last: a new key is never seen over old data.
    return ReplaceFiles(
        {{dataPath, JoinLines(SplitLines(data))}, {versionPath, JoinLines(versionLines)}}, reason);
}

QString ZipNoNumberPath(const QString& dataPath) {
    return QFileInfo(dataPath).absolutePath() + QStringLiteral("/nonumber.txt");
}

QString DefaultJapanPostUrl() { return QStringLiteral("https://www.post.japanpost.jp"); }
QString DefaultKenAllPath() {
    return QStringLiteral("/service/search/zipcode/download/kogaki/zip/ken_all.zip");
}
QString DefaultJigyosyoPath() {
    return QStringLiteral("/service/search/zipcode/download/office/zip/jigyosyo.zip");
}

TZipSourceSettings ReadZipSourceSettings(const QString& configPath,
                                         std::optional<TZipSource> source) {
    const ProfileFile ini(configPath);
    const QString section = QStringLiteral("COMMON");
    TZipSourceSettings s;
    s.ConfigPath = configPath;
    const QString named = ini.ReadString(section, QStringLiteral("UPDATE_SOURCE"), QString());
    s.Source = source ? *source
               : named.trimmed().compare(QLatin1String("server"), Qt::CaseInsensitive) == 0
                   ? TZipSource::Server
                   : TZipSource::JapanPost;
    if (s.Source == TZipSource::Server) {
        s.BaseUrl = UpdateServerUrl(configPath);
    } else {
        s.BaseUrl = ini.ReadString(section, QStringLiteral("JAPANPOST_BASE"), QString()).trimmed();
        if (!s.BaseUrl.startsWith(QLatin1String("http://")) &&
            !s.BaseUrl.startsWith(QLatin1String("https://")))
            s.BaseUrl = DefaultJapanPostUrl();
        while (s.BaseUrl.endsWith(QLatin1Char('/'))) s.BaseUrl.chop(1);
    }
    // The paths of earlier releases' defaults have answered 404 since Japan
    // Post moved its downloads: a stored one counts as not set.
    auto path = [&](const char* key, const QString& fallback, const char* oldDefault) {
        QString p = ini.ReadString(section, QString::fromLatin1(key), QString()).trimmed();
        if (!p.isEmpty() && !p.startsWith(QLatin1Char('/'))) p.prepend(QLatin1Char('/'));
        if (p.isEmpty() || p == QLatin1String(oldDefault)) p = fallback;
        return p;
    };
    s.KenAllPath = path("KEN_ALL_PATH", DefaultKenAllPath(), "/zipcode/dl/kogaki/zip/ken_all.zip");
    s.JigyosyoPath =
        path("JIGYOSYO_PATH", DefaultJigyosyoPath(), "/zipcode/dl/jigyosyo/zip/jigyosyo.zip");
    return s;
}

void SaveZipSource(const QString& configPath, TZipSource source) {
    ProfileFile(configPath).WriteString(
        QStringLiteral("COMMON"), QStringLiteral("UPDATE_SOURCE"),
        source == TZipSource::Server ? QStringLiteral("server") : QStringLiteral("japanpost"));
}

QString ZipCheckFailedMessage() {
    return QStringLiteral(
        "更新データを確認できませんでした。\r\nインターネット接続がされているか確認して下さい。\r\n"
        "セキュリティソフトを使っている場合はそちらも確認してください。");
}

QString ZipDownloadFailedMessage() {
    return QStringLiteral(
        "更新データの取得に失敗しました。\r\nインターネット接続がされているか確認してください。\r\n"
        "セキュリティソフトを使っている場合はそちらも確認してください。");
}

QString ZipWriteFailedMessage() {
    return QStringLiteral("郵便番号データを保存できませんでした。元のデータをそのまま使用します。");
}

QString ZipNotFoundMessage() {
    return QStringLiteral("日本郵便のサイトで郵便番号データのファイルが見つかりませんでした");
}

QString ZipUpdateFailureMessage(TZipDownloadResult result, const QString& detail) {
    switch (result) {
        case TZipDownloadResult::Updated:
            return QString();
        case TZipDownloadResult::DownloadFailed:
            return ZipDownloadFailedMessage();
        case TZipDownloadResult::WriteFailed:
            return detail.isEmpty() ? ZipWriteFailedMessage()
                                    : ZipWriteFailedMessage() + QStringLiteral("\r\n") + detail;
        case TZipDownloadResult::TooLarge: {
            const QString name = QFileInfo(detail).fileName();
            const qint64 limit = name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)
                                     ? kMaxZipArchiveBytes
                                 : name == QLatin1String("zip.dat") ? kMaxServerDataBytes
                                                                    : kMaxPageBytes;
            return QStringLiteral(
                       "%1 が上限の %2 MB を超えたため、ダウンロードを中止しました。\r\n"
                       "元のデータをそのまま使用します。")
                .arg(name)
                .arg(limit / (1024 * 1024));
        }
        case TZipDownloadResult::NotFound:
            return ZipNotFoundMessage();
    }
    return QString();
}

TZipVersion JapanPostVersion(const QDateTime& time) {
    const QDateTime japan = time.toOffsetFromUtc(9 * 3600);
    TZipVersion v;
    v.Read = true;
    v.Key = japan.toString(QStringLiteral("yyyyMMddhhmmss")).toLatin1();
    v.DisplayText = japan.toString(QStringLiteral("yyyy/MM/dd")) + QStringLiteral("日本郵便公開データ");
    return v;
}

namespace {

// The names a link to the file of `path` may have: its own first, then the
// other edition of the residential file.
QStringList WantedNames(const QString& path) {
    const QString name = QFileInfo(path).fileName().toLower();
    if (name == QLatin1String("utf_ken_all.zip")) return {name, QStringLiteral("ken_all.zip")};
    if (name == QLatin1String("ken_all.zip")) return {name, QStringLiteral("utf_ken_all.zip")};
    return {name.isEmpty() ? QStringLiteral("jigyosyo.zip") : name};
}

// HEAD on the file, looking for it on the pages when it answers 404.
enum class HeadOutcome { Ok, Failed, NotFound };
HeadOutcome HeadOrFind(TZipHttpClient& client, QString& path, QDateTime* time) {
    TZipHttpReply r = client.HeadReply(path);
    if (!r.Ok && r.Status == 404) {
        const QString found = FindJapanPostFile(client, WantedNames(path), path);
        if (found.isEmpty()) return HeadOutcome::NotFound;
        path = found;
        r = client.HeadReply(path);
    }
    // Without a date there is nothing to compare: that is no answer either.
    if (!r.Ok || !r.LastModified.isValid()) return HeadOutcome::Failed;
    *time = r.LastModified;
    return HeadOutcome::Ok;
}

}  // namespace

TZipCheckResult CheckZipUpdate(TZipHttpClient& client, TZipSourceSettings& source,
                               const QByteArray& currentKey) {
    client.BaseUrl = source.BaseUrl;
    QByteArray serverKey;
    if (source.Source == TZipSource::Server) {
        QByteArray body;
        if (!client.Fetch(QString::fromLatin1(kVersionPath), &body, kMaxPageBytes).Ok)
            return TZipCheckResult::Failed;
        const QList<QByteArray> lines = SplitLines(NormalizeLineBreaks(body));
        if (!lines.isEmpty()) serverKey = lines[0];
    } else {
        QDateTime ken, jig;
        const std::pair<QString*, QDateTime*> files[] = {{&source.KenAllPath, &ken},
                                                         {&source.JigyosyoPath, &jig}};
        for (const auto& [path, time] : files) {
            switch (HeadOrFind(client, *path, time)) {
                case HeadOutcome::Ok:
                    break;
                case HeadOutcome::Failed:
                    return TZipCheckResult::Failed;
                case HeadOutcome::NotFound:
                    return TZipCheckResult::NotFound;
            }
        }
        serverKey = JapanPostVersion(std::max(ken, jig)).Key;
    }
    return IsNewerVersion(currentKey, serverKey) ? TZipCheckResult::Newer : TZipCheckResult::Current;
}

namespace {

// Converts the two CSV texts and installs the result: zip.dat, then the
// business-code list, then the version.
TZipDownloadResult InstallJapanPost(const QByteArray& kenCsv, const QByteArray& jigCsv,
                                    const QDateTime& published, const TZipSourceSettings& source,
                                    const QString& versionPath, const QString& dataPath,
                                    const QString& noNumberPath, QString* reason) {
    TJapanPostData data;
    QString error;
    if (!ConvertJapanPost(kenCsv, jigCsv, &data, &error)) return Fail(reason, error);
    if (data.ResidentialLines == 0 || data.ResidentialLines < source.MinResidentialLines)
        return Fail(reason, QStringLiteral("%1 residential lines, fewer than %2")
                                .arg(data.ResidentialLines)
                                .arg(source.MinResidentialLines));
    if (data.BusinessLines == 0) return Fail(reason, QStringLiteral("no business lines"));
    const TZipVersion version =
        JapanPostVersion(published.isValid() ? published : QDateTime::currentDateTimeUtc());
    const QByteArray versionBytes =
        version.Key + "\r\n" + EncodeCp932(version.DisplayText) + "\r\n";
    // Data first, key last: a new key is never seen over old data.
    return ReplaceFiles(
        {{dataPath, data.ZipDat}, {noNumberPath, data.NoNumber}, {versionPath, versionBytes}},
        reason);
}

// Fetches one of Japan Post's ZIPs into a temporary file and unpacks its CSV.
// A 404 or an answer that is no ZIP (the site's "page not found" page) sends
// the search over the download pages; path then holds where it was found.
TZipDownloadResult FetchJapanPostCsv(TZipHttpClient& client, QString& path, const QString& dataPath,
                                     const TZipHttpClient::Progress& progress, QByteArray* csv,
                                     QDateTime* time, qint64* size, QString* reason) {
    QByteArray zip;
    for (int attempt = 0; attempt < 2; ++attempt) {
        DownloadFile download(dataPath);
        if (!download.Open())
            return Fail(reason,
                        SaveProblemReason(SaveProblemFromErrno(errno), ZipFolderOf(dataPath)),
                        TZipDownloadResult::WriteFailed);
        const TZipHttpReply r =
            client.FetchToFile(path, &download.file, kMaxZipArchiveBytes, progress);
        const bool missing = (!r.Ok && r.Status == 404);
        if (!r.Ok && !missing) return ReplyFailure(r, path, reason);
        if (!missing) {
            zip = download.Bytes();
            *time = r.LastModified;
        }
        if (!missing && IsZipArchive(zip)) break;
        if (attempt == 1) return Fail(reason, path + QStringLiteral(": no ZIP"));
        const QString found = FindJapanPostFile(client, WantedNames(path), path);
        if (found.isEmpty()) return Fail(reason, path, TZipDownloadResult::NotFound);
        path = found;
    }
    *size = zip.size();
    QString error;
    if (!UnpackCsv(zip, csv, &error)) return Fail(reason, path + QStringLiteral(": ") + error);
    return TZipDownloadResult::Updated;
}

}  // namespace

TZipDownloadResult DownloadZipUpdate(TZipHttpClient& client, TZipSourceSettings& source,
                                     const QString& versionPath, const QString& dataPath,
                                     const QString& noNumberPath,
                                     const TZipHttpClient::Progress& progress, QString* reason) {
    client.BaseUrl = source.BaseUrl;
    if (source.Source == TZipSource::Server)
        return DownloadZipData(client, versionPath, dataPath, progress, reason);

    QDir().mkpath(ZipFolderOf(dataPath));
    DownloadFile::RemoveStale(dataPath);
    QByteArray kenCsv, jigCsv;
    QDateTime kenTime, jigTime;
    qint64 first = 0, unused = 0;
    TZipDownloadResult r = FetchJapanPostCsv(client, source.KenAllPath, dataPath, progress, &kenCsv,
                                             &kenTime, &first, reason);
    if (r != TZipDownloadResult::Updated) return r;
    // Progress counts the bytes of both files, the second after the first.
    const TZipHttpClient::Progress second = [&](qint64 received, qint64 total) {
        if (progress) progress(first + received, total > 0 ? first + total : 0);
    };
    r = FetchJapanPostCsv(client, source.JigyosyoPath, dataPath, second, &jigCsv, &jigTime, &unused,
                          reason);
    if (r != TZipDownloadResult::Updated) return r;

    const QDateTime published =
        kenTime.isValid() || jigTime.isValid() ? std::max(kenTime, jigTime) : QDateTime();
    r = InstallJapanPost(kenCsv, jigCsv, published, source, versionPath, dataPath, noNumberPath,
                         reason);
    // Paths found on the pages are kept for the next update, once they gave data.
    if (r == TZipDownloadResult::Updated && !source.ConfigPath.isEmpty()) {
        const TZipSourceSettings stored =
            ReadZipSourceSettings(source.ConfigPath, TZipSource::JapanPost);
        ProfileFile ini(source.ConfigPath);
        if (source.KenAllPath != stored.KenAllPath)
            ini.WriteString(QStringLiteral("COMMON"), QStringLiteral("KEN_ALL_PATH"),
                            source.KenAllPath);
        if (source.JigyosyoPath != stored.JigyosyoPath)
            ini.WriteString(QStringLiteral("COMMON"), QStringLiteral("JIGYOSYO_PATH"),
                            source.JigyosyoPath);
    }
    return r;
}

TZipDownloadResult UpdateZipFromFiles(const QStringList& files, const TZipSourceSettings& source,
                                      const QString& versionPath, const QString& dataPath,
                                      const QString& noNumberPath, QString* reason) {
    QByteArray kenCsv, jigCsv;
    QDateTime published;
    for (const QString& path : files) {
        QFile f(path);
        const QFileInfo info(path);
        if (!info.isFile() || !f.open(QIODevice::ReadOnly))
            return Fail(reason, QStringLiteral("ファイル %1 を開けません").arg(path));
        // An unpacked KEN_ALL.CSV is about 18 MB; the cap keeps a wrong pick
        // (a disk image, a film) out of memory.
        if (f.size() > 256 * 1024 * 1024)
            return Fail(reason,
                        QStringLiteral("ファイル %1 は郵便番号データではありません").arg(path));
        QByteArray bytes = f.readAll();
        QDateTime time = info.lastModified().toUTC();
        QString error;
        if (IsZipArchive(bytes)) {
            QByteArray csv;
            QDateTime entryTime;
            if (!UnpackCsv(bytes, &csv, &error, &entryTime))
                return Fail(reason,
                            QStringLiteral("ファイル %1 は郵便番号データではありません").arg(path) +
                                QStringLiteral("\r\n") + error);
            bytes = std::move(csv);
            // The entry keeps the time Japan Post packed it; the file's own
            // time is only when it was downloaded.
            if (entryTime.isValid()) time = entryTime;
        }
        const int columns = CsvColumnCount(bytes);
        QByteArray* slot = columns == 15 ? &kenCsv : columns == 13 ? &jigCsv : nullptr;
        if (!slot || !slot->isNull())
            return Fail(reason,
                        QStringLiteral("ファイル %1 は郵便番号データではありません").arg(path));
        *slot = std::move(bytes);
        if (!published.isValid() || time > published) published = time;
    }
    if (kenCsv.isNull() || jigCsv.isNull())
        return Fail(reason,
                    QStringLiteral("住所の郵便番号（KEN_ALL）と事業所の個別郵便番号（JIGYOSYO）の"
                                   "両方のファイルを指定してください"));
    QDir().mkpath(ZipFolderOf(dataPath));
    return InstallJapanPost(kenCsv, jigCsv, published, source, versionPath, dataPath, noNumberPath,
                            reason);
}

}  // namespace q2
