// Refreshing the postal code data over HTTP: from Japan Post's published
// files (the default) or from an update server with version.txt and zip.dat.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace q2 {

// Every byte below 0x20 becomes CR LF; other bytes stay.
QByteArray NormalizeLineBreaks(QByteArrayView text);
// Lines ended by CR, LF or CR LF; a last line without break is kept.
QList<QByteArray> SplitLines(QByteArrayView text);
// True when the server's key sorts above ours, byte by byte (a proper
// prefix sorts first).
bool IsNewerVersion(const QByteArray& currentKey, const QByteArray& serverKey);

struct TZipVersion {
    bool Read = false;     // false when the file could not be read
    QByteArray Key;        // line 1, CP932
    QString DisplayText;   // line 2
};
TZipVersion ReadZipVersion(const QString& path);

// The base URL of the update server: config.ini [COMMON] UPDATE_SERVER.
QString UpdateServerUrl(const QString& configPath);
QString DefaultUpdateServerUrl();

// One HTTP client for the check and the download: the headers, cookies and
// proxy of the update dialog.
class TZipHttpClient {
public:
    QString BaseUrl;    // "http://host[:port]" or "https://…"
    QString ProxyHost;  // empty: no proxy
    int ProxyPort = 0;

    // Progress: bytes received and the total when the server says it (else 0).
    using Progress = std::function<void(qint64 received, qint64 total)>;
    // GET BaseUrl + path; false on any failure (no connection, error status).
    // lastModified, when given, receives the server's Last-Modified (invalid
    // when it sent none).
    bool Get(const QString& path, QByteArray* body, const Progress& progress = {},
             QString* error = nullptr, QDateTime* lastModified = nullptr);
    // HEAD BaseUrl + path: only the Last-Modified time.
    bool Head(const QString& path, QDateTime* lastModified, QString* error = nullptr);

private:
    bool Perform(const QString& path, bool head, QByteArray* body, const Progress& progress,
                 QString* error, QDateTime* lastModified);
    QByteArray cookies_;  // the cookie engine's state, carried between requests
};

enum class TZipDownloadResult { Updated, DownloadFailed, WriteFailed };

// Fetches both files and, only when both arrived and the data is postal data,
// replaces the data file and then the version file, each atomically.
TZipDownloadResult DownloadZipData(TZipHttpClient& client, const QString& versionPath,
                                   const QString& dataPath,
                                   const TZipHttpClient::Progress& progress = {});

// True when the bytes hold at least one line of seven digits and a comma.
bool LooksLikePostalData(QByteArrayView data);

enum class TZipSource { JapanPost, Server };

// Where the update comes from: config.ini [COMMON] UPDATE_SOURCE ("japanpost",
// the default, or "server"), JAPANPOST_BASE, KEN_ALL_PATH, JIGYOSYO_PATH and
// UPDATE_SERVER.
struct TZipSourceSettings {
    TZipSource Source = TZipSource::JapanPost;
    QString BaseUrl;  // of the chosen source, without a trailing "/"
    QString KenAllPath;
    QString JigyosyoPath;
    // A conversion with fewer residential lines is no complete data set.
    int MinResidentialLines = 100000;
};
// source, when given, overrides UPDATE_SOURCE.
TZipSourceSettings ReadZipSourceSettings(const QString& configPath,
                                         std::optional<TZipSource> source = {});
void SaveZipSource(const QString& configPath, TZipSource source);
QString DefaultJapanPostUrl();
// The business codes converted with the data, beside zip.dat: "zip/nonumber.txt".
QString ZipNoNumberPath(const QString& dataPath);

// The version key and display text of Japan Post data published at `time`:
// "yyyyMMddhhmmss" and "yyyy/MM/dd日本郵便公開データ", Japan time.
TZipVersion JapanPostVersion(const QDateTime& time);

// The update's messages to the user.
QString ZipCheckFailedMessage();
QString ZipDownloadFailedMessage();
QString ZipWriteFailedMessage();

enum class TZipCheckResult { Newer, Current, Failed };
// Asks the source whether its data sorts above currentKey: the Last-Modified
// of both files, or the server's version.txt.
TZipCheckResult CheckZipUpdate(TZipHttpClient& client, const TZipSourceSettings& source,
                               const QByteArray& currentKey);

// Fetches and, for Japan Post, unpacks and converts the data; replaces zip.dat,
// then the business-code list (Japan Post only), then version.txt, and only when
// everything arrived and converted. reason, when given, says why it failed.
TZipDownloadResult DownloadZipUpdate(TZipHttpClient& client, const TZipSourceSettings& source,
                                     const QString& versionPath, const QString& dataPath,
                                     const QString& noNumberPath,
                                     const TZipHttpClient::Progress& progress = {},
                                     QString* reason = nullptr);

}  // namespace q2
