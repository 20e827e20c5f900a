// The walk over Japan Post's download pages.
#include "JapanPostSite.h"

#include <QRegularExpression>
#include <QSet>
#include <deque>

#include "zip/ZipUpdate.h"

namespace q2 {
namespace {

// The top page is depth 0, the index pages it links to depth 1, and one more
// level below them; no more pages than this are read in one search.
constexpr int kMaxDepth = 2;
constexpr int kMaxPages = 16;

QString UnescapeHtml(QString s) {
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    s.replace(QLatin1String("&#47;"), QLatin1String("/"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    return s;
}

bool SameHost(const QUrl& a, const QUrl& b) {
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == QLatin1String("https") ? 443 : 80) ==
               b.port(b.scheme() == QLatin1String("https") ? 443 : 80);
}

// A link worth reading for more links: a page of the postal code section.
bool IsDownloadPage(const QUrl& url) {
    const QString path = url.path();
    const bool page = path.endsWith(QLatin1Char('/')) ||
                      path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) ||
                      path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive);
    // The site's menus link to hundreds of pages about other services.
    return page && path.contains(QLatin1String("zipcode"), Qt::CaseInsensitive);
}

QString PathOf(const QUrl& url) {
    QString p = url.path(QUrl::FullyEncoded);
    if (url.hasQuery()) p += QLatin1Char('?') + url.query(QUrl::FullyEncoded);
    return p;
}

}  // namespace

QString JapanPostTopPage() {
    return QStringLiteral("/zipcode/download.html");
}

QList<QUrl> PageLinks(QByteArrayView html, const QUrl& page) {
    static const QRegularExpression href(
        QStringLiteral("\\bhref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>\"']+))"),
        QRegularExpression::CaseInsensitiveOption);
    // Only the ASCII of the links matters: reading the page as Latin-1 keeps
    // every byte whatever the page's encoding.
    const QString text = QString::fromLatin1(html.data(), html.size());
    QList<QUrl> links;
    for (auto it = href.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString target = m.captured(1);
        if (target.isNull()) target = m.captured(2);
        if (target.isNull()) target = m.captured(3);
        target = UnescapeHtml(target.trimmed());
        if (target.isEmpty() || target.startsWith(QLatin1Char('#'))) continue;
        const QUrl url = page.resolved(QUrl(target));
        if (url.isValid()) links.append(url);
    }
    return links;
}

QString FindJapanPostFile(TZipHttpClient& client, const QStringList& wantedNames,
                          const QString& skipPath) {
    const QUrl base(client.BaseUrl + QLatin1Char('/'));
    struct Page {
        QUrl url;
        int depth;
    };
    std::deque<Page> queue{{base.resolved(QUrl(JapanPostTopPage())), 0}};
    QSet<QString> seen{PathOf(queue.front().url)};
    QString fallback;
    int pages = 0;
    while (!queue.empty() && pages < kMaxPages) {
        const Page page = queue.front();
        queue.pop_front();
        ++pages;
        QByteArray html;
        if (!client.Fetch(PathOf(page.url), &html, kMaxPageBytes).Ok) continue;
        QList<Page> below;
        for (const QUrl& link : PageLinks(html, page.url)) {
            if (!SameHost(link, base)) continue;
            const QString path = PathOf(link);
            if (path == skipPath) continue;
            const QString name = link.fileName();
            if (name.compare(wantedNames.value(0), Qt::CaseInsensitive) == 0) return path;
            for (qsizetype i = 1; i < wantedNames.size() && fallback.isEmpty(); ++i)
                if (name.compare(wantedNames[i], Qt::CaseInsensitive) == 0) fallback = path;
            if (page.depth < kMaxDepth && IsDownloadPage(link) && !seen.contains(path)) {
                seen.insert(path);
                below.append({link, page.depth + 1});
            }
        }
        queue.insert(queue.end(), below.begin(), below.end());
    }
    return fallback;
}

}  // namespace q2
