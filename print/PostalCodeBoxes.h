// Postal codes on the address side: the addressee's digits in the
// printed boxes, the sender's in the small boxes, "〒" text on labels.
#pragma once

#include <QPainter>
#include <QString>
#include <array>

#include "print/PrintFont.h"

namespace q2 {

// The marker the callers append to postal codes; every routine cuts there.
inline QString EndPostCodeMarker() { return QStringLiteral("endpostcode"); }

// The digits as the boxes take them: cut at the marker, dashes removed.
QString PostalCodeDigits(const QString& zipText);

// Box pitch and the extra gap after the third digit, by paper kind.
struct TBoxGeometry {
    Mm Pitch, Gap;
    Points Size;
};
TBoxGeometry AddresseeBoxGeometry(int paperKind);
TBoxGeometry SenderBoxGeometry();

// The seven boxes Japan Post prints on its postcards and the 定形 envelopes:
// 5.7 × 8.0 mm, their top 12.0 mm below the piece's top, the last ending
// 8.0 mm from its right edge, left edges 7.0, 7.0, 7.6, 6.8, 6.8, 6.8 mm
// apart (44.3 … 86.3 mm on a 100 mm card).
struct TMmRect {
    Mm left, top, width, height;
    MmPoint Centre() const { return {left + width * 0.5, top + height * 0.5}; }
    Mm right() const { return left + width; }
    Mm bottom() const { return top + height; }
};
constexpr double kJapanPostBoxWidth = 5.7, kJapanPostBoxHeight = 8.0;
// The four postcard kinds, 長形3号 and 長形4号 (portrait).
bool UsesJapanPostBoxes(int paperKind);
std::array<TMmRect, 7> JapanPostBoxes(Mm unitWidth);
// The digits' size: their ink about 60 % of the box's height.
Points JapanPostDigitSize();

// Where the digits go: Japan Post's box centres moved by as much as the ZIP
// frame stands away from the kind's default frame, so that a dragged frame
// moves the seven digits together and a stored frame keeps its place.
std::array<MmPoint, 7> AddresseeDigitCentres(int paperKind, MmPoint frameTopLeft);

// DrawPostalCodeBoxes: addressee digits from (left mm, top mm) of the ZIP
// frame; the vertical resolution, the one the digits' font is made at, on
// both axes. On the kinds with Japan Post's boxes each digit's ink is
// centred in its box.
void DrawPostalCodeBoxes(QPainter& painter, const QString& zipText, Dpi dpi, MmPoint topLeft,
                         int paperKind);
void DrawSenderPostalCodeBoxes(QPainter& painter, const QString& zipText, Dpi dpi, MmPoint topLeft);

// Label sheets: "〒" + the code, fitted into the frame's width.
struct TPostalTextLayout {
    Points Size;
    DevicePx Left, Top, Width;
};
QString PostalCodeLabelText(const QString& zipText);
// Measures in the print face, the face it is drawn in (so that a label's code never overflows its frame).
TPostalTextLayout FitPostalCodeText(const TPrintFace& face, Dpi dpi, DeviceRect frame,
                                    const QString& zipText, Points startSize);
void DrawPostalCodeText(QPainter& painter, Dpi dpi, const QString& zipText,
                        const TPostalTextLayout& layout, const TPrintFace& face);

}  // namespace q2
