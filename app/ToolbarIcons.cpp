// Toolbar pictures.
#include "app/ToolbarIcons.h"

#include <QFileInfo>

namespace q2 {

QIcon ToolbarIcon(const QString& themeName, const QString& fallback) {
    return QIcon::fromTheme(themeName, QIcon(QStringLiteral(":/icons/%1.svg").arg(fallback)));
}

void ChooseIconTheme() {
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor")) return;
    for (const char* name : {"breeze", "Adwaita", "gnome", "oxygen", "Tango"}) {
        for (const QString& base : QIcon::themeSearchPaths()) {
            if (QFileInfo::exists(base + QLatin1Char('/') + QLatin1String(name) +
                                  QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(QLatin1String(name));
                return;
            }
        }
    }
}

}  // namespace q2
