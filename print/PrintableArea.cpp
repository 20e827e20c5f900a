// Ink extents of the parts of a piece and the cuts of a printable area.
#include "print/PrintableArea.h"

#include <QImage>

namespace q2 {
namespace {

constexpr TInkPart kParts[] = {InkPostalCode, InkBarcode, InkAddress, InkName, InkSender};

// Ten pixels a millimetre: fine enough to tell a cut of a few tenths.
constexpr Dpi kInkDpi{254, 254};
constexpr double kPxPerMm = 10;

// Where the piece of record `index` lies on the sheet.
MmPoint PieceCorner(const TPieceSetup& setup, int index) {
    if (!setup.IsLabel()) return {Mm(0), Mm(0)};
    const TPaperGeometry g = setup.Geometry();
    const TLabelSlot slot = LabelSlotOf(g, index);
    return LabelOrigin(g, slot.Column, slot.Row);
}

// The frame of a part in mm on the piece, roughly: a part whose frame lies
// well inside the printable area needs no drawing to be known uncut.
TMmRect FrameMmOf(const TPieceSetup& setup, TInkPart part) {
    const TLayoutFrames& f = setup.Settings.Frames;
    const PreviewRect* r = &f.ADD;
    switch (part) {
        case InkPostalCode:
            r = &f.ZIP;
            break;
        case InkBarcode:
            r = &f.CUS;
            break;
        case InkName:
            r = &f.NAM;
            break;
        case InkSender:
            r = &f.SEN;
            break;
        default:
            break;
    }
    const PreviewScale s = setup.FrameScale();
    return {PreviewToMm(r->left, s), PreviewToMm(r->top, s), PreviewToMm(r->width, s),
            PreviewToMm(r->height, s)};
}

bool WellInside(const TMmRect& inner, const TMmRect& outer, Mm clearance) {
    return inner.left >= outer.left + clearance && inner.top >= outer.top + clearance &&
           inner.right() <= outer.right() - clearance &&
           inner.bottom() <= outer.bottom() - clearance;
}

std::optional<TMmRect> InkOf(const TUserInfo& record, const TPieceSetup& setup, TInkPart part) {
    const QSize size = PieceSizePx(setup, kInkDpi);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    RenderPiece(painter, record, setup, kInkDpi, PrintSpacing(kInkDpi), TRenderPurpose::Print,
                {false, unsigned(part)});
    painter.end();
    int minX = size.width(), minY = size.height(), maxX = -1, maxY = -1;
    for (int y = 0; y < size.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size.width(); ++x)
            if (qAlpha(line[x]) >= 128) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    }
    if (maxX < 0) return std::nullopt;
    return TMmRect{Mm(minX / kPxPerMm), Mm(minY / kPxPerMm), Mm((maxX + 1 - minX) / kPxPerMm),
                   Mm((maxY + 1 - minY) / kPxPerMm)};
}

// The ink of the piece also moves with the calibration offset; a label's
// ink outside its own slot is drawn all the same.
QList<TInkExtent> Extents(const TUserInfo& record, const TPieceSetup& setup, int index,
                          const std::optional<TMmRect>& skipInside) {
    const MmPoint corner = PieceCorner(setup, index);
    const MmPoint offset = setup.Offset.InMm();
    QList<TInkExtent> out;
    for (TInkPart part : kParts) {
        if (part == InkBarcode && !setup.Settings.PrintCostom) continue;
        if (part == InkSender && (!setup.Settings.PrintSender || setup.IsLabel())) continue;
        // The postal digits and the sender's code sit beside their frames, at
        // the boxes' places: those are always drawn.
        if (skipInside && part != InkPostalCode && part != InkSender) {
            TMmRect frame = FrameMmOf(setup, part);
            frame.left += corner.x + offset.x;
            frame.top += corner.y + offset.y;
            if (WellInside(frame, *skipInside, Mm(2))) continue;
        }
        if (const std::optional<TMmRect> ink = InkOf(record, setup, part))
            out.append(
                {part, {ink->left + corner.x, ink->top + corner.y, ink->width, ink->height}});
    }
    return out;
}

}  // namespace

QString InkPartCaption(TInkPart part) {
    switch (part) {
        case InkPostalCode:
            return QStringLiteral("郵便番号");
        case InkBarcode:
            return QStringLiteral("カスタマーバーコード");
        case InkAddress:
            return QStringLiteral("住所");
        case InkName:
            return QStringLiteral("宛名");
        case InkSender:
            return QStringLiteral("差出人");
        default:
            return QString();
    }
}

QList<TInkExtent> InkExtents(const TUserInfo& record, const TPieceSetup& setup, int index) {
    return Extents(record, setup, index, std::nullopt);
}

QList<TInkCut> InkOutsidePrintable(const TUserInfo& record, const TPieceSetup& setup, int index) {
    QList<TInkCut> cuts;
    if (!setup.Printable) return cuts;
    const TMmRect area = *setup.Printable;
    // Parts whose frames keep 2 mm inside the area are not drawn: their ink
    // stays inside the frame (an address that overflows even there is a
    // finding of its own).
    for (const TInkExtent& e : Extents(record, setup, index, area)) {
        auto past = [](Mm v) { return std::max(Mm(0), v); };
        const TInkCut cut{e.Part, past(area.left - e.Ink.left), past(area.top - e.Ink.top),
                          past(e.Ink.right() - area.right()), past(e.Ink.bottom() - area.bottom())};
        if (cut.Most() > Mm(0.05)) cuts.append(cut);
    }
    return cuts;
}

}  // namespace q2
