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
    // Japan Post's box, scaled by the kind's pitch against Japan Post's 7 mm.
    const double k = AddresseeBoxGeometry(info->Kind).Pitch / Mm(7.0);
    const Mm w(kJapanPostBoxWidth * k), h(kJapanPostBoxHeight * k);
    std::array<TMmRect, 7> out;
    for (int i = 0; i < 7; ++i)
        out[i] = {centres[i].x - w / 2, centres[i].y - h / 2, w, h};
    return out;
}

void DrawCalibrationSheet(QPainter& p, int kind, Dpi dpi) {
    const TPaperKindInfo* info = PaperKindInfo(kind);
    if (!info) info = PaperKindInfo(kNengaKind);
    const MmOnPainter k(dpi);
    auto pixelSize = [&](Mm height) { return std::max(1, RoundPx(height * k.y).v); };
    const Mm w = info->UnitWidth, h = info->UnitHeight;
    // Whole millimetres along each edge.
    const int wholeW = static_cast<int>(w.v), wholeH = static_cast<int>(h.v);
    p.save();
    p.fillRect(k.Rect(Mm(0), Mm(0), w, h), Qt::white);
    QPen pen(Qt::black);
    pen.setWidthF((Mm(0.1) * k.x).v);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // The boxes and a crosshair through each centre.
    const Mm arm(1.5);
    for (const TMmRect& b : CalibrationBoxes(info->Kind)) {
        p.drawRect(k.Rect(b.left, b.top, b.width, b.height));
        const MmPoint c = b.Centre();
        p.drawLine(k.Point(c.x - arm, c.y), k.Point(c.x + arm, c.y));
        p.drawLine(k.Point(c.x, c.y - arm), k.Point(c.x, c.y + arm));
    }
    // Rulers: a tick each millimetre from the top-left and top-right corners,
    // longer at 5 and 10, numbered every 10 mm.
    auto tick = [](int mm) { return Mm(mm % 10 == 0 ? 5 : mm % 5 == 0 ? 3.5 : 2); };
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(pixelSize(Mm(2.0)));
    p.setFont(font);
    for (int mm = 0; mm <= wholeW; ++mm) {
        p.drawLine(k.Point(Mm(mm), Mm(0)), k.Point(Mm(mm), tick(mm)));
        if (mm % 10 == 0 && mm > 0 && mm < wholeW) p.drawText(k.Point(Mm(mm + 0.4), Mm(7.0)), QString::number(mm));
    }
    for (int mm = 0; mm <= wholeH; ++mm) {
        p.drawLine(k.Point(w, Mm(mm)), k.Point(w - tick(mm), Mm(mm)));
        if (mm % 10 == 0 && mm > 0 && mm < wholeH)
            p.drawText(k.Rect(w - Mm(14), Mm(mm - 1.2), Mm(7.5), Mm(2.6)), Qt::AlignRight, QString::number(mm));
    }
    // What the sheet is for, under the boxes.
    font.setPixelSize(pixelSize(Mm(2.8)));
    p.setFont(font);
    const QString title = QString::fromUtf16(u"印刷位置の調整用シート　") + QString::fromUtf16(info->Label);
    const QString how = QString::fromUtf16(
        u"普通紙に印刷し、はがき・封筒に重ねて、赤枠と黒枠のずれを目盛で読み、"
        u"「印刷位置の調整」に入力して下さい（右・下が＋）。");
    p.drawText(k.Rect(Mm(10), Mm(30), w - Mm(24), Mm(8)), Qt::AlignLeft | Qt::TextWordWrap, title);
    p.drawText(k.Rect(Mm(10), Mm(38), w - Mm(24), Mm(30)), Qt::AlignLeft | Qt::TextWordWrap, how);
    p.restore();
}

void DrawPrintableArea(QPainter& p, const TMmRect& area, Mm sheetWidth, Mm sheetHeight, Dpi dpi) {
    const MmOnPainter k(dpi);
    p.save();
    QPen pen(Qt::black, (Mm(0.2) * k.x).v, Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(k.Rect(area.left, area.top, area.width, area.height));
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(std::max(1, RoundPx(Mm(2.2) * k.y).v));
    p.setFont(font);
    auto n = [](Mm v) { return QString::number(v.v, 'f', 1); };
    const QString text = QString::fromUtf16(u"破線の内側が印刷できる範囲（余白 上%1・下%2・左%3・右%4 mm）")
                             .arg(n(area.top), n(sheetHeight - area.bottom()), n(area.left), n(sheetWidth - area.right()));
    p.drawText(k.Rect(area.left + Mm(1), area.bottom() - Mm(9), area.width - Mm(2), Mm(8)),
               Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, text);
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
