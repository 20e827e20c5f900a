// Refreshing the postal code data from the update server over HTTP.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

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
    bool Get(const QString& path, QByteArray* body, const Progress& progress = {},
             QString* error = nullptr);

private:
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

}  // namespace q2
