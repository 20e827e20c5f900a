// Saving screenshots for the documentation programs: a widget as it paints
// itself, or a window as the screen shows it (with its frame).
#pragma once

#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QTest>
#include <QWidget>
#include <cstdio>

namespace q2test {

// Saves the picture and prints its path, or says why it could not.
inline bool SaveShot(const QPixmap& shot, const QString& path) {
    if (!shot.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The widget as it paints itself, after `waitMs` for pending paints.
inline bool ShootWidget(QWidget& widget, const QString& path, int waitMs = 200) {
    QTest::qWait(waitMs);
    return SaveShot(widget.grab(), path);
}

// The window's area of the screen. A window manager that does not tell its
// frame leaves Qt's frame geometry without the title bar: `withTitle` takes a
// window at the screen's corner from there.
inline bool ShootWindow(QWidget& window, const QString& path, int waitMs, bool withTitle = false) {
    QTest::qWait(waitMs);
    const QPixmap shot = window.screen()->grabWindow(0);
    QRect area = window.frameGeometry().intersected(shot.rect());
    if (withTitle) area.setTopLeft(QPoint(0, 0));
    return SaveShot(shot.copy(area), path);
}

}  // namespace q2test
