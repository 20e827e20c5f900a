// Address line fitting: shrink for length, then for thickness, then place.
#include "print/AddressLines.h"

#include <algorithm>

#include "print/PrintText.h"

namespace q2 {

AddressLayout FitAddressLines(const TPrintFace& face, int dpi, DevicePx g, bool vertical,
                              DeviceRect frame, const QString& line1, const QString& line2,
                              Points startSize) {
    const QString a = QString::fromUtf16(u"あ");
    const DevicePx L = frame.left, T = frame.top, W = frame.width, H = frame.height;
    Points size = startSize;
    TPrintFont font = MakeTextFont(face, dpi, size);
    auto m = [&](const QString& t) { return MeasureWidth(font, t); };
    const bool line1Longer = m(line1) > m(line2);
    auto twoLines = [&](DevicePx thick) { return DevicePx(RoundInt(thick.v * 1.1 * 2)); };

    if (vertical) {
        if (line1Longer) {
            ShrinkWhile(face, dpi, size, font, [&](const TPrintFont&) { return m(line1 + a) > H; });
            ShrinkWhile(face, dpi, size, font,
                        [&](const TPrintFont& f) { return W < twoLines(MeasureWidth(f, a)) + 2 * g; });
        } else {
            ShrinkWhile(face, dpi, size, font, [&](const TPrintFont&) { return m(line2 + a) > H; });
            ShrinkWhile(face, dpi, size, font,
                        [&](const TPrintFont& f) { return W < twoLines(MeasureWidth(f, a)); });
        }
    } else {
        if (line1Longer) {
            ShrinkWhile(face, dpi, size, font, [&](const TPrintFont&) { return m(line1 + a) > W; });
            ShrinkWhile(face, dpi, size, font, [&](const TPrintFont& f) {
                return H < twoLines(TextHeight(f, u"ABC")) + 2 * g;
            });
        } else {
            ShrinkWhile(face, dpi, size, font, [&](const TPrintFont&) { return m(line2 + a + a) > W; });
            ShrinkWhile(face, dpi, size, font,
                        [&](const TPrintFont& f) { return H < twoLines(TextHeight(f)); });
        }
    }

    const DevicePx ch = TextHeight(font), cw = m(a);
    AddressLayout out;
    out.Size = size;
    if (vertical) {
        out.Line1 = {L + W - g - ch, T};
        out.Line2.x = L + W - 2 * g - 2 * ch;
        if (line1Longer)  // pulled back just enough to end inside the frame
            out.Line2.y = std::min(T + m(line1) - cw, T + H - m(line2));
        else
            out.Line2.y = T + cw;
    } else {
        out.Line1 = {L, T + g};
        out.Line2.y = T + ch + 2 * g;
        if (line1Longer)
            out.Line2.x = std::min(L + m(line1) - cw, L + W - m(line2));
        else
            out.Line2.x = L + cw;
    }
    return out;
}

void DrawAddressLines(QPainter& painter, const AddressLayout& layout, const TPrintFace& face, int dpi,
                      bool vertical, const QString& line1, const QString& line2) {
    DrawPlainText(painter, dpi, layout.Line1, vertical, layout.Size, face, line1);
    DrawPlainText(painter, dpi, layout.Line2, vertical, layout.Size, face, line2);
}

}  // namespace q2
