// A copy of Japan Post's download pages for a local HTTP server: the top page
// every download is linked from, the index pages it links to, and the two
// ZIPs, laid out as the site has them today or as it might after a move.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace q2::site_fixture {

enum class Layout {
    Today,       // /service/search/zipcode/download/…, the program's defaults
    MovedAgain,  // the files elsewhere, found only through the index pages
    NoLink,      // the pages are there, but no page links to the files
};

inline const char kTodayKenAll[] = "/service/search/zipcode/download/kogaki/zip/ken_all.zip";
inline const char kTodayJigyosyo[] = "/service/search/zipcode/download/office/zip/jigyosyo.zip";
inline const char kMovedKenAll[] = "/service/zipcode/files/2027/kogaki/KEN_ALL.ZIP";
inline const char kMovedJigyosyo[] = "/service/zipcode/files/2027/office/JIGYOSYO.ZIP";

inline bool WriteSiteFile(const QString& root, const QString& path, const QByteArray& bytes,
                          const QDateTime& time = {}) {
    const QString file = root + path;
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return false;
    if (time.isValid()) f.setFileTime(time, QFileDevice::FileModificationTime);
    return true;
}

inline QByteArray Page(const QString& title, const QString& body) {
    return (QStringLiteral("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"UTF-8\">\n"
                           "<title>%1｜日本郵便株式会社</title>\n</head>\n<body>\n"
                           "<header><a href=\"/index.html\">日本郵便</a> "
                           "<a href=\"/service/index.html\">サービス</a> "
                           "<a href=\"/zipcode/index.html\">郵便番号検索</a></header>\n"
                           "<main>\n<h1>%1</h1>\n%2</main>\n</body>\n</html>\n")
                .arg(title, body))
        .toUtf8();
}

// Writes the pages and the files under root; base is the server's address
// ("http://127.0.0.1:PORT"), for the links written with the host.
inline bool WriteSite(const QString& root, Layout layout, const QString& base,
                      const QByteArray& kenAllZip, const QByteArray& jigyosyoZip,
                      const QDateTime& published) {
    const QString dl = QStringLiteral("/service/search/zipcode/download");
    // The top page links its index pages by absolute path; a mirror on another
    // host offers a file of the very name and must be passed over.
    const QByteArray top = Page(
        QStringLiteral("郵便番号データダウンロード"),
        QStringLiteral(
            "<ul>\n"
            "<li><a href=\"%1/kogaki-zip.html\">"
            "住所の郵便番号（CSV形式）読み仮名データの促音・拗音を小書きで表記するもの</a></li>\n"
            "<li><a href=\"%1/oogaki-zip.html\">"
            "住所の郵便番号（CSV形式）読み仮名データの促音・拗音を小書きで表記しないもの</a></li>\n"
            "<li><a href=\"%1/roman-zip.html\">住所の郵便番号（ローマ字）</a></li>\n"
            "<li><a href=\"%1/utf-zip.html\">住所の郵便番号（1レコード1行、UTF-8形式）</a></li>\n"
            "<li><a href=\"%1/office/index-zip.html\">事業所の個別郵便番号</a></li>\n"
            "<li><a href=\"http://mirror.example.invalid/zipcode/ken_all.zip\">ミラー</a></li>\n"
            "</ul>\n")
            .arg(dl));
    QString kenLink, jigLink;
    QString kenPath = QString::fromLatin1(kTodayKenAll),
            jigPath = QString::fromLatin1(kTodayJigyosyo);
    switch (layout) {
        case Layout::Today:
            // Relative links, as the index pages have them.
            kenLink = QStringLiteral("kogaki/zip/ken_all.zip");
            jigLink = QStringLiteral("zip/jigyosyo.zip");
            break;
        case Layout::MovedAgain:
            kenPath = QString::fromLatin1(kMovedKenAll);
            jigPath = QString::fromLatin1(kMovedJigyosyo);
            kenLink = base + kenPath;  // with the host
            jigLink = QStringLiteral("../../../../zipcode/files/2027/office/JIGYOSYO.ZIP");
            break;
        case Layout::NoLink:
            kenPath = QString::fromLatin1(kMovedKenAll);
            jigPath = QString::fromLatin1(kMovedJigyosyo);
            break;
    }
    auto item = [](const QString& href, const QString& text) {
        return href.isEmpty() ? QStringLiteral("<li>%1（準備中）</li>\n").arg(text)
                              : QStringLiteral("<li><a href=\"%1\">%2</a></li>\n").arg(href, text);
    };
    const QByteArray kogaki = Page(
        QStringLiteral("読み仮名データの促音・拗音を小書きで表記するもの"),
        QStringLiteral("<ul>\n") +
            item(QStringLiteral("kogaki/zip/01hokkai.zip"), QStringLiteral("北海道")) +
            item(QStringLiteral("kogaki/zip/13tokyo.zip"), QStringLiteral("東京都")) +
            item(kenLink, QStringLiteral("全国一括")) +
            QStringLiteral("</ul>\n<p><a href=\"readme.html\">郵便番号データの説明</a></p>\n"));
    const QByteArray office =
        Page(QStringLiteral("事業所の個別郵便番号"), QStringLiteral("<ul>\n") +
                                                         item(jigLink, QStringLiteral("全国一括")) +
                                                         QStringLiteral("</ul>\n"));
    const QByteArray roman =
        Page(QStringLiteral("住所の郵便番号（ローマ字）"),
             QStringLiteral("<a href='roman/KEN_ALL_ROME.zip'>全国一括</a>\n"));
    return WriteSiteFile(root, QStringLiteral("/zipcode/download.html"), top) &&
           WriteSiteFile(root, dl + QStringLiteral("/kogaki-zip.html"), kogaki) &&
           WriteSiteFile(root, dl + QStringLiteral("/office/index-zip.html"), office) &&
           WriteSiteFile(root, dl + QStringLiteral("/roman-zip.html"), roman) &&
           WriteSiteFile(root, kenPath, kenAllZip, published) &&
           WriteSiteFile(root, jigPath, jigyosyoZip, published);
}

}  // namespace q2::site_fixture
