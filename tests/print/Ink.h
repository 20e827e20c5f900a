// Where ink lands: bounding boxes of dark pixels in a rendered image.
#pragma once

#include <QImage>
#include <QRect>

namespace q2::ink {

inline bool Dark(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 128; }

// The box of dark pixels inside `area` (empty when there are none).
inline QRect InkBox(const QImage& img, QRect area = QRect()) {
    if (area.isNull()) area = img.rect();
    area = area.intersected(img.rect());
    int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(line[x]) < 128) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

inline QImage WhitePage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

inline double PxToMm(double px, int dpi) { return px * 25.4 / dpi; }

}  // namespace q2::ink
