// The desktop's URL handler.
#include "app/UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace q2 {
namespace {
std::function<void(const QString&)> opener;
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
