// Postal code boxes and the label postal code text.
#include "print/PostalCodeBoxes.h"

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

void DrawBoxDigits(QPainter& painter, const QString& digits, int dpi, MmPoint topLeft,
                   const TBoxGeometry& geo) {
    if (digits.isEmpty()) return;
    const TPrintFont font = MakeTextFont(ResolveBoxFace(), dpi, geo.Size);
    Mm x = topLeft.x;
    const DevicePx y = MmToDevice(topLeft.y, dpi);
    int n = 0;
    for (char32_t c : digits.toUcs4()) {
        DrawCharCell(painter, font, c, {MmToDevice(x, dpi), y}, false);
        x += geo.Pitch;
        if (++n == 3) x += geo.Gap;
    }
}

}  // namespace

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

void DrawPostalCodeBoxes(QPainter& painter, const QString& zipText, int dpi, MmPoint topLeft,
                         int paperKind) {
    DrawBoxDigits(painter, PostalCodeDigits(zipText), dpi, topLeft, AddresseeBoxGeometry(paperKind));
}

void DrawSenderPostalCodeBoxes(QPainter& painter, const QString& zipText, int dpi, MmPoint topLeft) {
    DrawBoxDigits(painter, PostalCodeDigits(zipText), dpi, topLeft, SenderBoxGeometry());
}

QString PostalCodeLabelText(const QString& zipText) {
    QString s = CutAtMarker(zipText);
    for (QChar& c : s)
        if (IsDash(c)) c = QLatin1Char('-');
    if (!PrintTrim(s).isEmpty()) s.prepend(QChar(0x3012));  // "〒"
    return s;
}

TPostalTextLayout FitPostalCodeText(const TPrintFace& face, int dpi, DeviceRect frame,
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

void DrawPostalCodeText(QPainter& painter, int dpi, const QString& zipText,
                        const TPostalTextLayout& layout, const TPrintFace& face) {
    const QString text = PostalCodeLabelText(zipText);
    if (PrintTrim(text).isEmpty()) return;
    DrawPlainText(painter, dpi, {layout.Left, layout.Top}, false, layout.Size, face, text);
}

}  // namespace q2
