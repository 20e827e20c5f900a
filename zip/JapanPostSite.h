// Finding Japan Post's postal code files on its download pages when they have
// moved: the pages have linked every download for years, the paths have not
// stayed.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace q2 {

class TZipHttpClient;

// The page every download has been linked from.
QString JapanPostTopPage();

// The targets of the page's links (href), resolved against the page's address,
// in the order they appear.
QList<QUrl> PageLinks(QByteArrayView html, const QUrl& page);

// Reads the top page and the download pages it links to, at most a few
// requests deep and never off the client's host, and gives the path of the
// first link whose file name is wantedNames[0] (letter case ignored), else of
// the first link with one of the other names. skipPath, the path that just
// failed, does not count. Empty when no page links to such a file.
QString FindJapanPostFile(TZipHttpClient& client, const QStringList& wantedNames,
                          const QString& skipPath = QString());

}  // namespace q2
