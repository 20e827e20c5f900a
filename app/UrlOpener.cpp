// The desktop's URL handler.
#include "app/UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace q2 {
namespace {
std::function<void(const QString&)> opener;
}

QString MailtoAddress(const QString& address) {
    return QString::fromLatin1(QUrl::toPercentEncoding(address, "@"));
}

QString MailtoText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'%' || c == u'&' || c == u'#')
            out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

void OpenUrlText(const QString& url) {
    if (opener) {
        opener(url);
        return;
    }
    // Tolerant parsing keeps the "%0D%0A" of a mail body as written.
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

void SetUrlOpener(std::function<void(const QString&)> o) {
    opener = std::move(o);
}

}  // namespace q2
