// Draws the program's icon (a postcard with the red postal code boxes) as
// PNG files of the sizes a desktop theme wants.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

QImage Draw(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // The card, slightly tilted like one lying on a desk.
    p.translate(32, 32);
    p.rotate(-6);
    p.translate(-32, -32);
    QPainterPath card;
    card.addRoundedRect(QRectF(12, 4, 40, 56), 3, 3);
    p.fillPath(card, QColor(0xFF, 0xFB, 0xF0));
    p.setPen(QPen(QColor(0x80, 0x70, 0x60), 1.5));
    p.drawPath(card);
    // Seven red boxes at the top right.
    p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 1.2));
    const double xs[] = {24, 28.5, 33, 38, 42.5, 47, 51.5};
    for (int i = 0; i < 7; ++i) {
        if (i == 3) p.drawLine(QPointF(36.2, 10.5), QPointF(37.6, 10.5));
        p.drawRect(QRectF(xs[i] - 4.2, 8, 3.6, 5));
    }
    // The address written vertically: two columns of strokes.
    p.setPen(QPen(QColor(0x20, 0x30, 0x50), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(44, 20), QPointF(44, 50));
    p.drawLine(QPointF(38, 20), QPointF(38, 42));
    p.setPen(QPen(QColor(0x20, 0x30, 0x50), 3.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(29, 18), QPointF(29, 54));
    p.end();
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icon OUTDIR\n");
        return 2;
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString path = QStringLiteral("%1/quintaro2-%2.png").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!Draw(size).save(path)) return 1;
    }
    return 0;
}
