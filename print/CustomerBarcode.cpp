// Customer barcode: library call, fitting by a font's advances, bars.
#include "print/CustomerBarcode.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <lumika.h>

#include "platform/Cp932.h"
#include "print/PostalCodeBoxes.h"
#include "print/TextNormalize.h"

namespace q2 {
namespace {

using K = TBarKind;

struct CharBars {
    char c;
    int bars[3];
    int count;
};
// Japan Post's character table (shared/data/customer-barcode.md).
const CharBars kTable[] = {
    {'(', {1, 3}, 2},    {')', {3, 1}, 2},    {'1', {1, 1, 4}, 3}, {'2', {1, 3, 2}, 3},
    {'3', {3, 1, 2}, 3}, {'4', {1, 2, 3}, 3}, {'5', {1, 4, 1}, 3}, {'6', {3, 2, 1}, 3},
    {'7', {2, 1, 3}, 3}, {'8', {2, 3, 1}, 3}, {'9', {4, 1, 1}, 3}, {'0', {1, 4, 4}, 3},
    {'-', {4, 1, 4}, 3}, {'A', {3, 2, 4}, 3}, {'B', {3, 4, 2}, 3}, {'C', {2, 3, 4}, 3},
    {'D', {4, 3, 2}, 3}, {'E', {2, 4, 3}, 3}, {'F', {4, 2, 3}, 3}, {'G', {4, 4, 1}, 3},
    {'H', {1, 1, 1}, 3},
};

}  // namespace

TBarcodeFunction DefaultBarcodeFunction() {
    return [](const char* m, const char* z, const char* a, char* out) { return GetCBarString(m, z, a, out); };
}

QList<TBarKind> BarsOf(QChar c) {
    QList<TBarKind> out;
    for (const CharBars& e : kTable)
        if (c == QLatin1Char(e.c))
            for (int i = 0; i < e.count; ++i) out << TBarKind(e.bars[i]);
    return out;
}

QChar CharOfBars(const QList<TBarKind>& bars) {
    for (const CharBars& e : kTable) {
        if (e.count != bars.size()) continue;
        bool same = true;
        for (int i = 0; i < e.count; ++i) same = same && int(bars[i]) == e.bars[i];
        if (same) return QLatin1Char(e.c);
    }
    return QChar();
}

TBarGeometry TBarGeometry::At(Points size) {
    const double k = size / Points(10.0);
    return {Mm(0.6 * k), Mm(1.2 * k), Mm(0.6 * k)};
}

DevicePx BarcodeAdvance(QChar c, Points size, Dpi dpi) {
    return MmToDeviceX(TBarGeometry::At(size).Pitch * double(BarsOf(c).size()), dpi);
}

DevicePx MeasureBarcodeWidth(const QString& code, Points size, Dpi dpi) {
    DevicePx sum;
    for (QChar c : code) sum += BarcodeAdvance(c, size, dpi);
    return sum;
}

// The address as printed would be the wrong thing to hand the library: in vertical
// writing it has kanji numerals and "―": the library reads kanji numerals only
// before 丁目, 番, 号 and the like, so 緑町3丁目30-8 would lose "30-8". The
// stored lines give the same, right barcode in both directions.
QString BarcodeAddress(const QString& storedLine1, const QString& storedLine2) {
    return PrintTrim(storedLine1 + storedLine2);
}

TPrintCostomerData LayoutCustomerBarcode(Dpi dpi, DeviceRect frame, const QString& zipText,
                                         const QString& address, Points startSize,
                                         const TBarcodeFunction& barcode) {
    TPrintCostomerData d;
    QString zip = zipText;
    const qsizetype cut = zip.indexOf(EndPostCodeMarker());
    if (cut >= 0) zip.truncate(cut);
    const QByteArray zipBytes = EncodeCp932(zip), addressBytes = EncodeCp932(address);
    char out[24];
    std::memset(out, 0, sizeof out);
    const int rc = barcode ? barcode("()ABCDEFGH", zipBytes.constData(), addressBytes.constData(), out) : 9;
    if (rc != 0) return d;
    out[23] = 0;
    d.Code = QString::fromLatin1(out, qsizetype(std::strlen(out)));
    // Japan Post reads bars from 8 to 11.5 points: the largest whole size
    // from the start down to 8 that fits the frame, 8 when none does.
    const Points least(kBarcodeMinPoints), step(1);
    d.Size = std::clamp(startSize, least, Points(kBarcodeMaxPoints));
    while (MeasureBarcodeWidth(d.Code, d.Size, dpi) > frame.width && d.Size - step >= least) d.Size = d.Size - step;
    d.Left = frame.left;
    d.Top = frame.top;
    d.Width = frame.width;
    return d;
}

void DrawCustomerBarcode(QPainter& painter, Dpi dpi, const TPrintCostomerData& data) {
    if (!data.HasCode()) return;
    const TBarGeometry g = TBarGeometry::At(data.Size);
    const DeviceScale px = DeviceScaleX(dpi);
    // Bars at the exact pitch: rounding per character would drift the pitch.
    const DevicePxF pitch = g.Pitch * px, width = g.Width * px, unit = g.Unit * px;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    int j = 0;
    for (QChar c : data.Code) {
        for (TBarKind k : BarsOf(c)) {
            int from = 0, to = 6;
            if (k == K::Ascender) to = 4;
            if (k == K::Descender) from = 2;
            if (k == K::Timing) from = 2, to = 4;
            const DevicePxF x = data.Left + j * pitch, y = data.Top + from * unit;
            painter.drawRect(QRectF(x.v, y.v, width.v, ((to - from) * unit).v));
            ++j;
        }
    }
    painter.restore();
}

}  // namespace q2
