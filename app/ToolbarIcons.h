// Toolbar pictures: the desktop's icon theme first, the program's own otherwise.
#pragma once

#include <QIcon>
#include <QString>

namespace q2 {

// `themeName` is a freedesktop icon name; `fallback` names one of the
// program's own pictures (":/icons/<fallback>.svg").
QIcon ToolbarIcon(const QString& themeName, const QString& fallback);

// Without a desktop session Qt knows no icon theme; use an installed one.
void ChooseIconTheme();

}  // namespace q2
