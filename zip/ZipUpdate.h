// Refreshing the postal code data over HTTP: from Japan Post's published
// files (the default) or from an update server with version.txt and zip.dat.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
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

// The most a single response may bring, far above today's files (a ZIP of
// Japan Post about 2 MB, the server's zip.dat about 9 MB): a server that sends
// more is cut off there and nothing it sent is used.
constexpr qint64 kMaxZipArchiveBytes = qint64(64) * 1024 * 1024;
constexpr qint64 kMaxServerDataBytes = qint64(32) * 1024 * 1024;
constexpr qint64 kMaxPageBytes = qint64(4) * 1024 * 1024;

// What one request gave.
struct TZipHttpReply {
    bool Ok = false;         // a 2xx answer that arrived whole and within the limit
    long Status = 0;         // the HTTP status, 0 when none arrived
    bool TooLarge = false;   // the answer passed the limit and was cut off
    QString Error;           // why it failed, in libcurl's words
    QDateTime LastModified;  // invalid when the server sent none
};

// One HTTP client for the check and the download: the headers, cookies and
// proxy of the update dialog.
class TZipHttpClient {
public:
    QString BaseUrl;    // "http://host[:port]" or "https://…"
    QString ProxyHost;  // empty: no proxy
    int ProxyPort = 0;

    // Progress: bytes received and the total when the server says it (else 0).
    using Progress = std::function<void(qint64 received, qint64 total)>;
    // GET BaseUrl + path into memory, at most maxBytes.
    TZipHttpReply Fetch(const QString& path, QByteArray* body, qint64 maxBytes,
                        const Progress& progress = {});
    // GET BaseUrl + path into an open file, at most maxBytes.
    TZipHttpReply FetchToFile(const QString& path, QIODevice* file, qint64 maxBytes,
                              const Progress& progress = {});
    // HEAD BaseUrl + path: the status and the Last-Modified time.
    TZipHttpReply HeadReply(const QString& path);

    // The same as booleans, for callers that need no more.
    bool Get(const QString& path, QByteArray* body, const Progress& progress = {},
             QString* error = nullptr, QDateTime* lastModified = nullptr);
    bool Head(const QString& path, QDateTime* lastModified, QString* error = nullptr);

private:
    TZipHttpReply Perform(const QString& path, bool head, QByteArray* body, QIODevice* file,
                          qint64 maxBytes, const Progress& progress);
    QByteArray cookies_;  // the cookie engine's state, carried between requests
};

enum class TZipDownloadResult {
    Updated,
    DownloadFailed,
    WriteFailed,
    TooLarge,  // a response passed its limit
    NotFound,  // Japan Post's pages link to no file of the name wanted
};

// Fetches both files and, only when both arrived and the data is postal data,
// replaces the data file and then the version file, each atomically.
// reason, when given, says why it failed (for WriteFailed the save problem's
// reason line, for TooLarge the file that was cut off).
TZipDownloadResult DownloadZipData(TZipHttpClient& client, const QString& versionPath,
                                   const QString& dataPath,
                                   const TZipHttpClient::Progress& progress = {},
                                   QString* reason = nullptr);

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
    // Where a path found on Japan Post's pages is remembered; empty: nowhere.
    QString ConfigPath;
    // A conversion with fewer residential lines is no complete data set.
    int MinResidentialLines = 100000;
};
// source, when given, overrides UPDATE_SOURCE.
TZipSourceSettings ReadZipSourceSettings(const QString& configPath,
                                         std::optional<TZipSource> source = {});
void SaveZipSource(const QString& configPath, TZipSource source);
QString DefaultJapanPostUrl();
// Where Japan Post publishes the two files today.
QString DefaultKenAllPath();
QString DefaultJigyosyoPath();
// The business codes converted with the data, beside zip.dat: "zip/nonumber.txt".
QString ZipNoNumberPath(const QString& dataPath);

// The version key and display text of Japan Post data published at `time`:
// "yyyyMMddhhmmss" and "yyyy/MM/dd日本郵便公開データ", Japan time.
TZipVersion JapanPostVersion(const QDateTime& time);

// The update's messages to the user.
QString ZipCheckFailedMessage();
QString ZipDownloadFailedMessage();
QString ZipWriteFailedMessage();
QString ZipNotFoundMessage();
// What a result other than Updated tells the user; detail is the reason the
// update gave (see DownloadZipUpdate).
QString ZipUpdateFailureMessage(TZipDownloadResult result, const QString& detail);

enum class TZipCheckResult { Newer, Current, Failed, NotFound };
// Asks the source whether its data sorts above currentKey: the Last-Modified
// of both files, or the server's version.txt. A Japan Post file that answers
// 404 is looked for on the download pages; source then holds the path found.
TZipCheckResult CheckZipUpdate(TZipHttpClient& client, TZipSourceSettings& source,
                               const QByteArray& currentKey);

// Fetches and, for Japan Post, unpacks and converts the data; replaces zip.dat,
// then the business-code list (Japan Post only), then version.txt, and only when
// everything arrived and converted. reason, when given, says why it failed.
// A Japan Post file that answers 404 or is no ZIP is looked for on the
// download pages; a path found there is remembered in source.ConfigPath once
// the data is installed.
TZipDownloadResult DownloadZipUpdate(TZipHttpClient& client, TZipSourceSettings& source,
                                     const QString& versionPath, const QString& dataPath,
                                     const QString& noNumberPath,
                                     const TZipHttpClient::Progress& progress = {},
                                     QString* reason = nullptr);

// The same conversion, checks and replacement from files the user already has:
// Japan Post's two ZIPs (or the CSV files inside them, either edition), in
// any order. The version is the publication time the files carry.
TZipDownloadResult UpdateZipFromFiles(const QStringList& files, const TZipSourceSettings& source,
                                      const QString& versionPath, const QString& dataPath,
                                      const QString& noNumberPath, QString* reason = nullptr);

}  // namespace q2
