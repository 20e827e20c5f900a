// Postal code boxes and the label postal code text.
#include "print/PostalCodeBoxes.h"

#include "print/PaperModel.h"
#include "print/PrintText.h"
#include "print/TextNormalize.h"

namespace q2 {
namespace {

bool IsDash(QChar c) {
    const char16_t u = c.unicode();
    return u == 0x2015 || u == 0x30FC || u == '-' || u == 0xFF0D || u == 0x2010;
}

QString CutAtMarker(const QString& text) {
    const qsizetype i = text.indexOf(EndPostCodeMarker());
    return i < 0 ? text : text.left(i);
}

// The digits are placed in the vertical resolution on both axes, the one
// their font is made at.
Dpi DigitResolution(Dpi dpi) { return Dpi{dpi.y, dpi.y}; }

void DrawBoxDigits(QPainter& painter, const QString& digits, Dpi dpi, MmPoint topLeft,
                   const TBoxGeometry& geo) {
    if (digits.isEmpty()) return;
    const TPrintFont font = MakeTextFont(ResolveBoxFace(), dpi, geo.Size);
    const Dpi at = DigitResolution(dpi);
    Mm x = topLeft.x;
    const DevicePx y = MmToDeviceY(topLeft.y, at);
    int n = 0;
    for (char32_t c : digits.toUcs4()) {
        DrawCharCell(painter, font, c, {MmToDeviceX(x, at), y}, false);
        x += geo.Pitch;
        if (++n == 3) x += geo.Gap;
    }
}

// A digit's ink centred on `centre`.
void DrawCentredDigit(QPainter& painter, const TPrintFont& font, char32_t c, MmPoint centre, Dpi dpi) {
    const QRectF ink = font.Raw().boundingRect(font.Glyph(c));
    const Dpi at = DigitResolution(dpi);
    const DevicePxF cx = MmToDeviceExactX(centre.x, at), cy = MmToDeviceExactY(centre.y, at);
    // The glyph's ink box is in the font's reals, measured from the cell's baseline.
    const DevicePxF inkMidX((ink.left() + ink.right()) / 2), ascent(font.AscentPx()),
        inkMidY((ink.top() + ink.bottom()) / 2);
    DrawCharCell(painter, font, c, {RoundPx(cx - inkMidX), RoundPx(cy - ascent - inkMidY)}, false);
}

}  // namespace

bool UsesJapanPostBoxes(int kind) { return (kind >= 1 && kind <= 4) || kind == 6 || kind == 7; }

std::array<TMmRect, 7> JapanPostBoxes(Mm unitWidth) {
    static const Mm kLefts[7] = {Mm(0), Mm(7.0), Mm(14.0), Mm(21.6), Mm(28.4), Mm(35.2), Mm(42.0)};
    const Mm first = unitWidth - Mm(8.0) - Mm(kJapanPostBoxWidth) - kLefts[6];
    std::array<TMmRect, 7> out;
    for (int i = 0; i < 7; ++i)
        out[i] = {first + kLefts[i], Mm(12.0), Mm(kJapanPostBoxWidth), Mm(kJapanPostBoxHeight)};
    return out;
}

Points JapanPostDigitSize() {
    // The box face's digits stand about 0.7 em high: 19 points make 4.7 mm of
    // ink in the 8 mm box.
    return Points(19);
}

std::array<MmPoint, 7> AddresseeDigitCentres(int kind, MmPoint frameTopLeft) {
    std::array<MmPoint, 7> out;
    const TPaperKindInfo* info = PaperKindInfo(kind);
    if (!info || !UsesJapanPostBoxes(kind)) {
        // The layout rules' steps, each cell's centre.
        const TBoxGeometry geo = AddresseeBoxGeometry(kind);
        const Mm cell = PointsToMm(geo.Size);
        Mm x = frameTopLeft.x;
        for (int i = 0; i < 7; ++i) {
            out[i] = {x + cell / 4, frameTopLeft.y + cell / 2};
            x += geo.Pitch;
            if (i == 2) x += geo.Gap;
        }
        return out;
    }
    const PreviewScale s = PictureScaleForKind(kind);
    const PreviewRect def = DefaultFrames(kind, true).ZIP;
    const Mm dx = frameTopLeft.x - PreviewToMm(def.left, s), dy = frameTopLeft.y - PreviewToMm(def.top, s);
    const std::array<TMmRect, 7> boxes = JapanPostBoxes(info->UnitWidth);
    for (int i = 0; i < 7; ++i) out[i] = {boxes[i].Centre().x + dx, boxes[i].Centre().y + dy};
    return out;
}

QString PostalCodeDigits(const QString& zipText) {
    QString s = CutAtMarker(zipText);
    s.removeIf(IsDash);
    return PrintTrim(s);
}

TBoxGeometry AddresseeBoxGeometry(int kind) {
    switch (kind) {
    case 5: return {Mm(9.1), Mm(1.3), Points(15)};   // 長形2号
    case 9: return {Mm(14), Mm(2), Points(30)};      // 角形2号
    case 10: return {Mm(10.5), Mm(1.5), Points(30)}; // 角形3号
    default: return {Mm(7), Mm(1), Points(15)};      // postcards, 長形3号, 長形4号, 長形3号(横)
    }
}

TBoxGeometry SenderBoxGeometry() { return {Mm(4), Mm(1), Points(13)}; }

void DrawPostalCodeBoxes(QPainter& painter, const QString& zipText, Dpi dpi, MmPoint topLeft,
                         int paperKind) {
    const QString digits = PostalCodeDigits(zipText);
    if (!UsesJapanPostBoxes(paperKind)) {
        DrawBoxDigits(painter, digits, dpi, topLeft, AddresseeBoxGeometry(paperKind));
        return;
    }
    if (digits.isEmpty()) return;
    const TPrintFont font = MakeTextFont(ResolveBoxFace(), dpi, JapanPostDigitSize());
    if (!font.IsValid()) return;
    const std::array<MmPoint, 7> centres = AddresseeDigitCentres(paperKind, topLeft);
    int i = 0;
    for (char32_t c : digits.toUcs4()) {
        if (i >= 7) break;  // an eighth character has no box
        DrawCentredDigit(painter, font, c, centres[i++], dpi);
    }
}

void DrawSenderPostalCodeBoxes(QPainter& painter, const QString& zipText, Dpi dpi, MmPoint topLeft) {
    DrawBoxDigits(painter, PostalCodeDigits(zipText), dpi, topLeft, SenderBoxGeometry());
}

QString PostalCodeLabelText(const QString& zipText) {
    QString s = CutAtMarker(zipText);
    for (QChar& c : s)
        if (IsDash(c)) c = QLatin1Char('-');
    if (!PrintTrim(s).isEmpty()) s.prepend(QChar(0x3012));  // "〒"
    return s;
}

TPostalTextLayout FitPostalCodeText(const TPrintFace& face, Dpi dpi, DeviceRect frame,
                                    const QString& zipText, Points startSize) {
    const QString text = PostalCodeLabelText(zipText);
    TPostalTextLayout out;
    out.Size = startSize;
    TPrintFont font;
    ShrinkWhile(face, dpi, out.Size, font,
                [&](const TPrintFont& f) { return MeasureWidth(f, text) > frame.width; });
    out.Left = frame.left;
    out.Top = frame.top;
    out.Width = frame.width;
    return out;
}

void DrawPostalCodeText(QPainter& painter, Dpi dpi, const QString& zipText,
                        const TPostalTextLayout& layout, const TPrintFace& face) {
    const QString text = PostalCodeLabelText(zipText);
    if (PrintTrim(text).isEmpty()) return;
    DrawPlainText(painter, dpi, {layout.Left, layout.Top}, false, layout.Size, face, text);
}

}  // namespace q2
