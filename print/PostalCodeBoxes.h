// Postal codes on the address side: the addressee's digits in the
// printed boxes, the sender's in the small boxes, "〒" text on labels.
#pragma once

#include <QPainter>
#include <QString>

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

// DrawPostalCodeBoxes: addressee digits from (left mm, top mm) of the ZIP
// frame; one resolution (dpiY) for both axes.
void DrawPostalCodeBoxes(QPainter& painter, const QString& zipText, int dpi, MmPoint topLeft,
                         int paperKind);
void DrawSenderPostalCodeBoxes(QPainter& painter, const QString& zipText, int dpi, MmPoint topLeft);

// Label sheets: "〒" + the code, fitted into the frame's width.
struct TPostalTextLayout {
    Points Size;
    DevicePx Left, Top, Width;
};
QString PostalCodeLabelText(const QString& zipText);
// Measures in the print face, the face it is drawn in (so that a label's code never overflows its frame).
TPostalTextLayout FitPostalCodeText(const TPrintFace& face, int dpi, DeviceRect frame,
                                    const QString& zipText, Points startSize);
void DrawPostalCodeText(QPainter& painter, int dpi, const QString& zipText,
                        const TPostalTextLayout& layout, const TPrintFace& face);

}  // namespace q2
