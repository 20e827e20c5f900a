// Preview backgrounds: boxes placed where the default frames put the digits.
#include "print/PreviewBackground.h"

#include "print/PaperModel.h"
#include "print/PostalCodeBoxes.h"

namespace q2 {

void DrawPreviewBackground(QPainter& p, int kind, Mm unitWidth, Mm unitHeight, Dpi dpi) {
    const MmOnPainter k(dpi);
    p.save();
    p.fillRect(k.Rect(Mm(0), Mm(0), unitWidth, unitHeight), Qt::white);
    const TPaperKindInfo* info = PaperKindInfo(kind);
    if (!info) {
        p.restore();
        return;
    }
    const QColor red(220, 40, 40);
    QPen pen(red);
    pen.setWidthF((Mm(0.3) * k.x).v);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const PreviewScale s = PictureScaleForKind(kind);
    auto boxes = [&](const PreviewRect& frame, const TBoxGeometry& geo, Mm boxW, Mm boxH) {
        Mm x = PreviewToMm(frame.left, s);
        const Mm y = PreviewToMm(frame.top, s);
        const Mm cell = PointsToMm(geo.Size);  // the digit's cell height
        for (int i = 0; i < 7; ++i) {
            // The digits are half-width: centre the box on half a cell.
            const Mm cx = x + cell / 4;
            p.drawRect(k.Rect(cx - boxW / 2, y + cell / 2 - boxH / 2, boxW, boxH));
            x += geo.Pitch;
            if (i == 2) {
                if (!info->IsPostcard())  // envelopes print a hyphen between the groups
                    p.drawLine(k.Point(x - geo.Gap / 2 - geo.Pitch * 0.35, y + cell / 2),
                               k.Point(x - geo.Gap / 2 - geo.Pitch * 0.05, y + cell / 2));
                x += geo.Gap;
            }
        }
    };
    const TLayoutFrames frames = DefaultFrames(kind, true);
    if (UsesJapanPostBoxes(kind)) {
        const std::array<TMmRect, 7> jp = JapanPostBoxes(unitWidth);
        for (const TMmRect& b : jp) p.drawRect(k.Rect(b.left, b.top, b.width, b.height));
        if (!info->IsPostcard()) {  // envelopes print a hyphen between the groups
            const Mm x0 = jp[2].left + jp[2].width, x1 = jp[3].left, y = jp[3].Centre().y;
            p.drawLine(k.Point(x0 + Mm(0.4), y), k.Point(x1 - Mm(0.4), y));
        }
    } else {
        // Japan Post's box, scaled by the kind's pitch against Japan Post's 7 mm.
        const TBoxGeometry geo = AddresseeBoxGeometry(kind);
        const double scale = geo.Pitch / Mm(7.0);
        boxes(frames.ZIP, geo, Mm(5.7 * scale), Mm(8 * scale));
    }
    if (info->IsPostcard()) {
        boxes(frames.SZIP, SenderBoxGeometry(), Mm(3.4), Mm(5.4));
        // Stamp area and the title of the address side.
        pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.drawRect(k.Rect(Mm(8), Mm(8), Mm(20), Mm(21)));
        QFont f(QStringLiteral("IPAMincho"));
        // Whole pixels, the fraction dropped.
        f.setPixelSize(static_cast<int>((Mm(3.5) * k.y).v));
        p.setFont(f);
        p.setPen(red);
        p.drawText(k.Rect(Mm(30), Mm(4), Mm(40), Mm(6)), Qt::AlignCenter,
                   QString::fromUtf16(kind == 3 ? u"年 賀 は が き" : u"郵 便 は が き"));
    }
    p.restore();
}

}  // namespace q2
