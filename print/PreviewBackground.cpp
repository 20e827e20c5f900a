// Preview backgrounds: boxes placed where the default frames put the digits.
#include "print/PreviewBackground.h"

#include "print/PaperModel.h"
#include "print/PostalCodeBoxes.h"

namespace q2 {

void DrawPreviewBackground(QPainter& p, int kind, Mm unitWidth, Mm unitHeight, Dpi dpi) {
    const double kx = dpi.x / 25.4, ky = dpi.y / 25.4;
    p.save();
    p.fillRect(QRectF(0, 0, unitWidth.v * kx, unitHeight.v * ky), Qt::white);
    const TPaperKindInfo* info = PaperKindInfo(kind);
    if (!info) {
        p.restore();
        return;
    }
    const QColor red(220, 40, 40);
    QPen pen(red);
    pen.setWidthF(0.3 * kx);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const PreviewScale s = PictureScaleForKind(kind);
    auto boxes = [&](const PreviewRect& frame, const TBoxGeometry& geo, double boxW, double boxH) {
        double x = PreviewToMm(frame.left, s).v;
        const double y = PreviewToMm(frame.top, s).v;
        const double cell = geo.Size.v * 25.4 / 72;  // the digit's cell height in mm
        for (int i = 0; i < 7; ++i) {
            // The digits are half-width: centre the box on half a cell.
            const double cx = x + cell / 4;
            p.drawRect(QRectF((cx - boxW / 2) * kx, (y + cell / 2 - boxH / 2) * ky, boxW * kx, boxH * ky));
            x += geo.Pitch.v;
            if (i == 2) {
                if (!info->IsPostcard())  // envelopes print a hyphen between the groups
                    p.drawLine(QPointF((x - geo.Gap.v / 2 - geo.Pitch.v * 0.35) * kx, (y + cell / 2) * ky),
                               QPointF((x - geo.Gap.v / 2 - geo.Pitch.v * 0.05) * kx, (y + cell / 2) * ky));
                x += geo.Gap.v;
            }
        }
    };
    const TLayoutFrames frames = DefaultFrames(kind, true);
    if (UsesJapanPostBoxes(kind)) {
        const std::array<TMmRect, 7> jp = JapanPostBoxes(unitWidth);
        for (const TMmRect& b : jp)
            p.drawRect(QRectF(b.left.v * kx, b.top.v * ky, b.width.v * kx, b.height.v * ky));
        if (!info->IsPostcard()) {  // envelopes print a hyphen between the groups
            const double x0 = jp[2].left.v + jp[2].width.v, x1 = jp[3].left.v, y = jp[3].Centre().y.v;
            p.drawLine(QPointF((x0 + 0.4) * kx, y * ky), QPointF((x1 - 0.4) * kx, y * ky));
        }
    } else {
        const TBoxGeometry geo = AddresseeBoxGeometry(kind);
        const double scale = geo.Pitch.v / 7.0;
        boxes(frames.ZIP, geo, 5.7 * scale, 8 * scale);
    }
    if (info->IsPostcard()) {
        boxes(frames.SZIP, SenderBoxGeometry(), 3.4, 5.4);
        // Stamp area and the title of the address side.
        pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.drawRect(QRectF(8 * kx, 8 * ky, 20 * kx, 21 * ky));
        QFont f(QStringLiteral("IPAMincho"));
        f.setPixelSize(int(3.5 * ky));
        p.setFont(f);
        p.setPen(red);
        p.drawText(QRectF(30 * kx, 4 * ky, 40 * kx, 6 * ky), Qt::AlignCenter,
                   QString::fromUtf16(kind == 3 ? u"年 賀 は が き" : u"郵 便 は が き"));
    }
    p.restore();
}

}  // namespace q2
