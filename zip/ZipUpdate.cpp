// Postal data update: HTTP through libcurl, files replaced only as a whole.
#include "ZipUpdate.h"

#include <curl/curl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <mutex>

#include "platform/Cp932.h"
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
                         QString* error) {
    InitCurl();
    body->clear();
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

}  // namespace q2
