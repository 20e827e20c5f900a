// Postal data update: HTTP through libcurl, files replaced only as a whole.
#include "ZipUpdate.h"

#include <curl/curl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Cp932.h"
#include "zip/JapanPostData.h"
#include "platform/ProfileFile.h"

namespace q2 {
namespace {

const char kVersionPath[] = "/liveupdate/zipcode/version.txt";
const char kDataPath[] = "/liveupdate/zipcode/zip.dat";

struct Transfer {
    QByteArray* body;
    const TZipHttpClient::Progress* progress;
};

size_t OnData(char* data, size_t size, size_t n, void* user) {
    auto* t = static_cast<Transfer*>(user);
    t->body->append(data, qsizetype(size * n));
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

bool TZipHttpClient::Get(const QString& path, QByteArray* body, const Progress& progress,
                         QString* error, QDateTime* lastModified) {
    return Perform(path, false, body, progress, error, lastModified);
}

bool TZipHttpClient::Head(const QString& path, QDateTime* lastModified, QString* error) {
    QByteArray body;
    return Perform(path, true, &body, {}, error, lastModified);
}

bool TZipHttpClient::Perform(const QString& path, bool head, QByteArray* body,
                             const Progress& progress, QString* error, QDateTime* lastModified) {
    InitCurl();
    body->clear();
    if (lastModified) *lastModified = QDateTime();
    CURL* curl = curl_easy_init();
    if (!curl) return false;
    const QByteArray url = (BaseUrl + path).toUtf8();
    Transfer transfer{body, &progress};
    curl_slist* headers = curl_slist_append(nullptr, "Accept: text/html, */*");
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Mozilla/3.0 (compatible; Indy Library)");
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");  // accept cookies, in memory
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
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
    curl_off_t filetime = -1;
    if (rc == CURLE_OK && lastModified &&
        curl_easy_getinfo(curl, CURLINFO_FILETIME_T, &filetime) == CURLE_OK && filetime >= 0)
        *lastModified = QDateTime::fromSecsSinceEpoch(qint64(filetime), Qt::UTC);
    curl_slist* jar = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_COOKIELIST, &jar) == CURLE_OK) {
        cookies_.clear();
        for (curl_slist* c = jar; c; c = c->next) cookies_ += QByteArray(c->data) + '\n';
        curl_slist_free_all(jar);
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    if (rc != CURLE_OK) {
        if (error) *error = QString::fromUtf8(curl_easy_strerror(rc));
        body->clear();
        return false;
    }
    return true;
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

TZipDownloadResult DownloadZipData(TZipHttpClient& client, const QString& versionPath,
                                   const QString& dataPath,
                                   const TZipHttpClient::Progress& progress) {
    QByteArray version, data;
    if (!client.Get(QString::fromLatin1(kVersionPath), &version) ||
        !client.Get(QString::fromLatin1(kDataPath), &data, progress))
        return TZipDownloadResult::DownloadFailed;
    const QList<QByteArray> versionLines = SplitLines(NormalizeLineBreaks(version));
    if (versionLines.isEmpty() || versionLines[0].isEmpty() || !LooksLikePostalData(data))
        return TZipDownloadResult::DownloadFailed;

    QDir().mkpath(QFileInfo(dataPath).absolutePath());
    QSaveFile dataFile(dataPath), versionFile(versionPath);
    const QByteArray dataBytes = JoinLines(SplitLines(data));
    const QByteArray versionBytes = JoinLines(versionLines);
    if (!dataFile.open(QIODevice::WriteOnly) || !versionFile.open(QIODevice::WriteOnly) ||
        dataFile.write(dataBytes) != dataBytes.size() ||
        versionFile.write(versionBytes) != versionBytes.size()) {
        dataFile.cancelWriting();
        versionFile.cancelWriting();
        return TZipDownloadResult::WriteFailed;
    }
    // Data first, key last: a new key is never seen over old data.
    if (!dataFile.commit()) {
        versionFile.cancelWriting();
        return TZipDownloadResult::WriteFailed;
    }
    return versionFile.commit() ? TZipDownloadResult::Updated : TZipDownloadResult::WriteFailed;
}

QString ZipNoNumberPath(const QString& dataPath) {
    return QFileInfo(dataPath).absolutePath() + QStringLiteral("/nonumber.txt");
}

QString DefaultJapanPostUrl() { return QStringLiteral("https://www.post.japanpost.jp"); }

TZipSourceSettings ReadZipSourceSettings(const QString& configPath,
                                         std::optional<TZipSource> source) {
    const ProfileFile ini(configPath);
    const QString section = QStringLiteral("COMMON");
    TZipSourceSettings s;
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
    auto path = [&](const char* key, const char* fallback) {
        QString p = ini.ReadString(section, QString::fromLatin1(key), QString()).trimmed();
        if (p.isEmpty()) p = QString::fromLatin1(fallback);
        if (!p.startsWith(QLatin1Char('/'))) p.prepend(QLatin1Char('/'));
        return p;
    };
    s.KenAllPath = path("KEN_ALL_PATH", "/zipcode/dl/kogaki/zip/ken_all.zip");
    s.JigyosyoPath = path("JIGYOSYO_PATH", "/zipcode/dl/jigyosyo/zip/jigyosyo.zip");
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

TZipVersion JapanPostVersion(const QDateTime& time) {
    const QDateTime japan = time.toOffsetFromUtc(9 * 3600);
    TZipVersion v;
    v.Read = true;
    v.Key = japan.toString(QStringLiteral("yyyyMMddhhmmss")).toLatin1();
    v.DisplayText = japan.toString(QStringLiteral("yyyy/MM/dd")) + QStringLiteral("日本郵便公開データ");
    return v;
}

TZipCheckResult CheckZipUpdate(TZipHttpClient& client, const TZipSourceSettings& source,
                               const QByteArray& currentKey) {
    client.BaseUrl = source.BaseUrl;
    QByteArray serverKey;
    if (source.Source == TZipSource::Server) {
        QByteArray body;
        if (!client.Get(QString::fromLatin1(kVersionPath), &body)) return TZipCheckResult::Failed;
        const QList<QByteArray> lines = SplitLines(NormalizeLineBreaks(body));
        if (!lines.isEmpty()) serverKey = lines[0];
    } else {
        // Without a date there is nothing to compare: that is no answer either.
        QDateTime ken, jig;
        if (!client.Head(source.KenAllPath, &ken) || !ken.isValid() ||
            !client.Head(source.JigyosyoPath, &jig) || !jig.isValid())
            return TZipCheckResult::Failed;
        serverKey = JapanPostVersion(std::max(ken, jig)).Key;
    }
    return IsNewerVersion(currentKey, serverKey) ? TZipCheckResult::Newer : TZipCheckResult::Current;
}

namespace {

struct FileImage {
    QString path;
    QByteArray bytes;
};

// Writes every file to a temporary file first and commits them in the order
// given, so that a failure before the first commit leaves all of them as they were.
TZipDownloadResult ReplaceFiles(const std::vector<FileImage>& files) {
    std::vector<std::unique_ptr<QSaveFile>> saves;
    for (const FileImage& f : files) {
        QDir().mkpath(QFileInfo(f.path).absolutePath());
        auto save = std::make_unique<QSaveFile>(f.path);
        if (!save->open(QIODevice::WriteOnly) || save->write(f.bytes) != f.bytes.size()) {
            save->cancelWriting();
            for (auto& s : saves) s->cancelWriting();
            return TZipDownloadResult::WriteFailed;
        }
        saves.push_back(std::move(save));
    }
    for (std::size_t i = 0; i < saves.size(); ++i) {
        if (!saves[i]->commit()) {
            for (std::size_t j = i + 1; j < saves.size(); ++j) saves[j]->cancelWriting();
            return TZipDownloadResult::WriteFailed;
        }
    }
    return TZipDownloadResult::Updated;
}

TZipDownloadResult Fail(QString* reason, const QString& text) {
    if (reason) *reason = text;
    return TZipDownloadResult::DownloadFailed;
}

}  // namespace

TZipDownloadResult DownloadZipUpdate(TZipHttpClient& client, const TZipSourceSettings& source,
                                     const QString& versionPath, const QString& dataPath,
                                     const QString& noNumberPath,
                                     const TZipHttpClient::Progress& progress, QString* reason) {
    client.BaseUrl = source.BaseUrl;
    if (source.Source == TZipSource::Server)
        return DownloadZipData(client, versionPath, dataPath, progress);

    QByteArray kenZip, jigZip;
    QDateTime kenTime, jigTime;
    QString error;
    // Progress counts the bytes of both files, the second after the first.
    if (!client.Get(source.KenAllPath, &kenZip, progress, &error, &kenTime))
        return Fail(reason, source.KenAllPath + QStringLiteral(": ") + error);
    const qint64 first = kenZip.size();
    const TZipHttpClient::Progress second = [&](qint64 received, qint64 total) {
        if (progress) progress(first + received, total > 0 ? first + total : 0);
    };
    if (!client.Get(source.JigyosyoPath, &jigZip, second, &error, &jigTime))
        return Fail(reason, source.JigyosyoPath + QStringLiteral(": ") + error);

    QByteArray kenCsv, jigCsv;
    if (!UnpackCsv(kenZip, &kenCsv, &error))
        return Fail(reason, source.KenAllPath + QStringLiteral(": ") + error);
    kenZip.clear();
    if (!UnpackCsv(jigZip, &jigCsv, &error))
        return Fail(reason, source.JigyosyoPath + QStringLiteral(": ") + error);
    jigZip.clear();
    TJapanPostData data;
    if (!ConvertJapanPost(kenCsv, jigCsv, &data, &error)) return Fail(reason, error);
    if (data.ResidentialLines == 0 || data.ResidentialLines < source.MinResidentialLines)
        return Fail(reason, QStringLiteral("%1 residential lines, fewer than %2")
                                .arg(data.ResidentialLines).arg(source.MinResidentialLines));
    if (data.BusinessLines == 0) return Fail(reason, QStringLiteral("no business lines"));

    const QDateTime published =
        kenTime.isValid() || jigTime.isValid() ? std::max(kenTime, jigTime)
                                               : QDateTime::currentDateTimeUtc();
    const TZipVersion version = JapanPostVersion(published);
    const QByteArray versionBytes =
        version.Key + "\r\n" + EncodeCp932(version.DisplayText) + "\r\n";
    // Data first, key last: a new key is never seen over old data.
    return ReplaceFiles({{dataPath, data.ZipDat},
                         {noNumberPath, data.NoNumber},
                         {versionPath, versionBytes}});
}

}  // namespace q2
