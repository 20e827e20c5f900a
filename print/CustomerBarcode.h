// The customer barcode: the string from Lumika's GetCBarString,
// drawn as Japan Post 4-state bars, since no "PB Barcode" font exists here.
#pragma once

#include <QPainter>
#include <QString>
#include <array>
#include <functional>

#include "print/Units.h"

namespace q2 {

// GetCBarString's shape (extern "C" in liblumika.so; CP932 byte strings).
using TBarcodeFunction = std::function<int(const char* symbolMap, const char* postalCode,
                                           const char* address, char* output)>;
// GetCBarString of liblumika.so.
TBarcodeFunction DefaultBarcodeFunction();

// The sizes Japan Post's readers take, and the size the layout starts from.
constexpr double kBarcodeMinPoints = 8, kBarcodeMaxPoints = 11.5, kBarcodeStartPoints = 10;

struct TPrintCostomerData {
    Points Size;
    DevicePx Left, Top, Width;
    QString Code = QStringLiteral("error");  // 23 characters, or "error"
    bool HasCode() const { return Code != QLatin1String("error"); }
};

// The four bar kinds, by their digit in Japan Post's table.
enum class TBarKind : int { Long = 1, Ascender = 2, Descender = 3, Timing = 4 };
// Bars of one code character ("(", ")", "0"-"9", "-", "A"-"H"); empty for others.
QList<TBarKind> BarsOf(QChar c);
// The inverse, for a test decoder: the character of three (or two) bars.
QChar CharOfBars(const QList<TBarKind>& bars);

// Bar dimensions at a size in points (nominal at 10 pt: width 0.6 mm, pitch
// 1.2 mm, long bar 3.6 mm, timing bar 1.2 mm; linear in the size).
struct TBarGeometry {
    Mm Width, Pitch, Unit;  // Unit: one sixth of the long bar
    static TBarGeometry At(Points size);
};

// The advance a barcode font of that size gives one code character: its bars
// times the pitch, in whole device pixels of the horizontal resolution.
DevicePx BarcodeAdvance(QChar c, Points size, Dpi dpi);
DevicePx MeasureBarcodeWidth(const QString& code, Points size, Dpi dpi);

// LayoutCustomerBarcode. `address` is what the library is handed: the stored
// address lines, not their printed form (see the .cpp).
TPrintCostomerData LayoutCustomerBarcode(Dpi dpi, DeviceRect frame, const QString& zipText,
                                         const QString& address, Points startSize,
                                         const TBarcodeFunction& barcode);
// The address Lumika gets: the trimmed concatenation of the stored lines.
QString BarcodeAddress(const QString& storedLine1, const QString& storedLine2);

// Left to right from (Left, Top), whatever the writing direction; black.
// The bars keep their proportions in the horizontal resolution, heights too.
void DrawCustomerBarcode(QPainter& painter, Dpi dpi, const TPrintCostomerData& data);

}  // namespace q2
