// The calibration sheet.
#include "print/CalibrationSheet.h"

#include <QPdfWriter>

#include "print/PaperModel.h"

namespace q2 {

std::array<TMmRect, 7> CalibrationBoxes(int kind) {
    const TPaperKindInfo* info = PaperKindInfo(kind);
    if (!info) info = PaperKindInfo(kNengaKind);
    if (UsesJapanPostBoxes(info->Kind)) return JapanPostBoxes(info->UnitWidth);
    const PreviewScale s = PictureScaleForKind(info->Kind);
    const PreviewRect zip = DefaultFrames(info->Kind, true).ZIP;
    const std::array<MmPoint, 7> centres =
        AddresseeDigitCentres(info->Kind, {PreviewToMm(zip.left, s), PreviewToMm(zip.top, s)});
    const double k = AddresseeBoxGeometry(info->Kind).Pitch.v / 7.0;
    const double w = kJapanPostBoxWidth * k, h = kJapanPostBoxHeight * k;
    std::array<TMmRect, 7> out;
    for (int i = 0; i < 7; ++i)
        out[i] = {centres[i].x - Mm(w / 2), centres[i].y - Mm(h / 2), Mm(w), Mm(h)};
    return out;
}

void DrawCalibrationSheet(QPainter& p, int kind, Dpi dpi) {
    const TPaperKindInfo* info = PaperKindInfo(kind);
    if (!info) info = PaperKindInfo(kNengaKind);
    const double kx = dpi.x / 25.4, ky = dpi.y / 25.4;
    const double w = info->UnitWidth.v, h = info->UnitHeight.v;
    p.save();
    p.fillRect(QRectF(0, 0, w * kx, h * ky), Qt::white);
    QPen pen(Qt::black);
    pen.setWidthF(0.1 * kx);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // The boxes and a crosshair through each centre.
    for (const TMmRect& b : CalibrationBoxes(info->Kind)) {
        p.drawRect(QRectF(b.left.v * kx, b.top.v * ky, b.width.v * kx, b.height.v * ky));
        const MmPoint c = b.Centre();
        p.drawLine(QPointF((c.x.v - 1.5) * kx, c.y.v * ky), QPointF((c.x.v + 1.5) * kx, c.y.v * ky));
        p.drawLine(QPointF(c.x.v * kx, (c.y.v - 1.5) * ky), QPointF(c.x.v * kx, (c.y.v + 1.5) * ky));
    }
    // Rulers: a tick each millimetre from the top-left and top-right corners,
    // longer at 5 and 10, numbered every 10 mm.
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(std::max(1, RoundInt(2.0 * ky)));
    p.setFont(font);
    for (int mm = 0; mm <= int(w); ++mm) {
        const double len = mm % 10 == 0 ? 5 : mm % 5 == 0 ? 3.5 : 2;
        p.drawLine(QPointF(mm * kx, 0), QPointF(mm * kx, len * ky));
        if (mm % 10 == 0 && mm > 0 && mm < int(w))
            p.drawText(QPointF((mm + 0.4) * kx, 7.0 * ky), QString::number(mm));
    }
    for (int mm = 0; mm <= int(h); ++mm) {
        const double len = mm % 10 == 0 ? 5 : mm % 5 == 0 ? 3.5 : 2;
        p.drawLine(QPointF(w * kx, mm * ky), QPointF((w - len) * kx, mm * ky));
        if (mm % 10 == 0 && mm > 0 && mm < int(h))
            p.drawText(QRectF((w - 14) * kx, (mm - 1.2) * ky, 7.5 * kx, 2.6 * ky), Qt::AlignRight,
                       QString::number(mm));
    }
    // What the sheet is for, under the boxes.
    font.setPixelSize(std::max(1, RoundInt(2.8 * ky)));
    p.setFont(font);
    const QString title = QString::fromUtf16(u"印刷位置の調整用シート　") + QString::fromUtf16(info->Label);
    const QString how = QString::fromUtf16(
        u"普通紙に印刷し、はがき・封筒に重ねて、赤枠と黒枠のずれを目盛で読み、"
        u"「印刷位置の調整」に入力して下さい（右・下が＋）。");
    p.drawText(QRectF(10 * kx, 30 * ky, (w - 24) * kx, 8 * ky), Qt::AlignLeft | Qt::TextWordWrap, title);
    p.drawText(QRectF(10 * kx, 38 * ky, (w - 24) * kx, 30 * ky), Qt::AlignLeft | Qt::TextWordWrap, how);
    p.restore();
}

QPageLayout CalibrationPageLayout(int kind) {
    const TPaperKindInfo* info = PaperKindInfo(kind);
    if (!info) info = PaperKindInfo(kNengaKind);
    return QPageLayout(QPageSize(QSizeF(info->UnitWidth.v, info->UnitHeight.v), QPageSize::Millimeter, QString(),
                                 QPageSize::ExactMatch),
                       QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

bool WriteCalibrationPdf(const QString& path, int kind, QString* error) {
    QPdfWriter pdf(path);
    pdf.setResolution(600);
    pdf.setTitle(QString::fromUtf16(u"調整用シート"));
    pdf.setCreator(QStringLiteral("Quintaro2"));
    pdf.setPageLayout(CalibrationPageLayout(kind));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        if (error) *error = QString::fromUtf16(u"ファイルに書き込めません: ") + path;
        return false;
    }
    DrawCalibrationSheet(painter, kind, Dpi{600, 600});
    painter.end();
    return true;
}

}  // namespace q2
