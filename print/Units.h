// The unit types of the print code: preview pixels, millimetres, device pixels,
// points and resolutions never travel as bare numbers between its functions.
// The conversions between them, and to the painter's reals, are all here.
#pragma once

#include <QPointF>
#include <QRectF>
#include <cmath>
#include <compare>

namespace q2 {

// Rounding as the original's Round: half away from zero is close enough for
// positive layout values and matches std::lround.
inline int RoundInt(double v) { return static_cast<int>(std::lround(v)); }

// Device pixels of the canvas drawn on (a preview image, a PDF page, a printer).
struct DevicePx {
    int v = 0;
    constexpr DevicePx() = default;
    constexpr explicit DevicePx(int value) : v(value) {}
    constexpr auto operator<=>(const DevicePx&) const = default;
    constexpr DevicePx operator+(DevicePx o) const { return DevicePx(v + o.v); }
    constexpr DevicePx operator-(DevicePx o) const { return DevicePx(v - o.v); }
    constexpr DevicePx operator-() const { return DevicePx(-v); }
    constexpr DevicePx operator*(int k) const { return DevicePx(v * k); }
    // Divided as whole numbers are: the remainder is dropped (towards zero).
    constexpr DevicePx operator/(int k) const { return DevicePx(v / k); }
    constexpr DevicePx& operator+=(DevicePx o) { v += o.v; return *this; }
    constexpr DevicePx& operator-=(DevicePx o) { v -= o.v; return *this; }
};
constexpr DevicePx operator*(int k, DevicePx p) { return p * k; }

// Device pixels kept fractional: a share of a length before it is rounded,
// or a position handed to the painter, which takes reals. Whole pixels turn
// into it on their own; back to whole pixels only through RoundPx.
struct DevicePxF {
    double v = 0;
    constexpr DevicePxF() = default;
    constexpr explicit DevicePxF(double value) : v(value) {}
    constexpr DevicePxF(DevicePx p) : v(p.v) {}
    friend constexpr auto operator<=>(DevicePxF a, DevicePxF b) { return a.v <=> b.v; }
    friend constexpr bool operator==(DevicePxF a, DevicePxF b) { return a.v == b.v; }
    friend constexpr DevicePxF operator+(DevicePxF a, DevicePxF b) { return DevicePxF(a.v + b.v); }
    friend constexpr DevicePxF operator-(DevicePxF a, DevicePxF b) { return DevicePxF(a.v - b.v); }
    friend constexpr DevicePxF operator*(DevicePxF a, double k) { return DevicePxF(a.v * k); }
    friend constexpr DevicePxF operator*(double k, DevicePxF a) { return DevicePxF(k * a.v); }
    friend constexpr DevicePxF operator/(DevicePxF a, double k) { return DevicePxF(a.v / k); }
};
// Whole pixels scaled by a real are no longer whole.
constexpr DevicePxF operator*(DevicePx p, double k) { return DevicePxF(p.v * k); }
constexpr DevicePxF operator/(DevicePx p, double k) { return DevicePxF(p.v / k); }
inline DevicePx RoundPx(DevicePxF p) { return DevicePx(RoundInt(p.v)); }

struct DevicePoint {
    DevicePx x, y;
    constexpr bool operator==(const DevicePoint&) const = default;
};

struct DeviceRect {
    DevicePx left, top, width, height;
    constexpr DevicePx right() const { return left + width; }
    constexpr DevicePx bottom() const { return top + height; }
    constexpr bool operator==(const DeviceRect&) const = default;
};

// Millimetres on paper, kept fractional.
struct Mm {
    double v = 0;
    constexpr Mm() = default;
    constexpr explicit Mm(double value) : v(value) {}
    constexpr auto operator<=>(const Mm&) const = default;
    constexpr Mm operator+(Mm o) const { return Mm(v + o.v); }
    constexpr Mm operator-(Mm o) const { return Mm(v - o.v); }
    constexpr Mm operator*(double k) const { return Mm(v * k); }
    constexpr Mm operator/(double k) const { return Mm(v / k); }
    constexpr Mm& operator+=(Mm o) { v += o.v; return *this; }
};
// How many times `b` goes into `a`.
constexpr double operator/(Mm a, Mm b) { return a.v / b.v; }
inline Mm RoundMm(Mm mm) { return Mm(RoundInt(mm.v)); }

struct MmPoint {
    Mm x, y;
};

// Pixels of the print dialog's preview area, in which the user places frames.
struct PreviewPx {
    int v = 0;
    constexpr PreviewPx() = default;
    constexpr explicit PreviewPx(int value) : v(value) {}
    constexpr auto operator<=>(const PreviewPx&) const = default;
    constexpr PreviewPx operator+(PreviewPx o) const { return PreviewPx(v + o.v); }
    constexpr PreviewPx operator-(PreviewPx o) const { return PreviewPx(v - o.v); }
};

struct PreviewRect {
    PreviewPx left, top, width, height;
    constexpr PreviewPx right() const { return left + width; }
    constexpr PreviewPx bottom() const { return top + height; }
    constexpr bool operator==(const PreviewRect&) const = default;
};

// Preview pixels per millimetre (S or S').
struct PreviewScale {
    double perMm = 1;
};

// Font sizes in points; only whole-point steps are taken, the smallest is 1.
struct Points {
    double v = 0;
    constexpr Points() = default;
    constexpr explicit Points(double value) : v(value) {}
    constexpr auto operator<=>(const Points&) const = default;
    constexpr Points operator+(Points o) const { return Points(v + o.v); }
    constexpr Points operator-(Points o) const { return Points(v - o.v); }
    constexpr Points operator*(double k) const { return Points(v * k); }
};
// How many times `b` goes into `a`.
constexpr double operator/(Points a, Points b) { return a.v / b.v; }
inline Points RoundPoints(Points p) { return Points(RoundInt(p.v)); }

// Device pixels per inch of a canvas, horizontally and vertically.
struct Dpi {
    int x = 600, y = 600;
    constexpr bool operator==(const Dpi&) const = default;
};

// Device pixels per millimetre along one axis, for drawings that scale
// millimetres by a factor.
struct DeviceScale {
    double perMm = 1;
};
inline DeviceScale DeviceScaleX(Dpi dpi) { return DeviceScale{dpi.x / 25.4}; }
inline DeviceScale DeviceScaleY(Dpi dpi) { return DeviceScale{dpi.y / 25.4}; }
constexpr DevicePxF operator*(Mm mm, DeviceScale s) { return DevicePxF(mm.v * s.perMm); }

// The conversions between the units; each does its own rounding.
inline DevicePxF MmToDeviceExactX(Mm mm, Dpi dpi) { return DevicePxF(mm.v * dpi.x / 25.4); }
inline DevicePxF MmToDeviceExactY(Mm mm, Dpi dpi) { return DevicePxF(mm.v * dpi.y / 25.4); }
inline DevicePx MmToDeviceX(Mm mm, Dpi dpi) { return RoundPx(MmToDeviceExactX(mm, dpi)); }
inline DevicePx MmToDeviceY(Mm mm, Dpi dpi) { return RoundPx(MmToDeviceExactY(mm, dpi)); }
inline Mm DeviceToMmX(DevicePx p, Dpi dpi) { return Mm(p.v * 25.4 / dpi.x); }
inline Mm DeviceToMmY(DevicePx p, Dpi dpi) { return Mm(p.v * 25.4 / dpi.y); }

inline Mm PreviewToMm(PreviewPx p, PreviewScale s) { return Mm(p.v / s.perMm); }
inline PreviewPx MmToPreview(Mm mm, PreviewScale s) { return PreviewPx(RoundInt(mm.v * s.perMm)); }
// The scale at which `px` preview pixels show `mm` millimetres.
inline PreviewScale PreviewPerMm(PreviewPx px, Mm mm) { return PreviewScale{px.v / mm.v}; }

// Cell height of a font of `size` points: round(size × dpi ÷ 72), in the
// vertical resolution, which every text is set in.
inline DevicePx PointsToCell(Points size, Dpi dpi) { return DevicePx(RoundInt(size.v * dpi.y / 72.0)); }
inline Mm PointsToMm(Points size) { return Mm(size.v * 25.4 / 72); }

// Line spacing g: 0.2 mm in the printer's (or the preview's) vertical pixels.
inline DevicePx PrintSpacing(Dpi dpi) { return MmToDeviceY(Mm(0.2), dpi); }

// Where positions leave for the painter, which takes reals.
inline QPointF ToQPointF(DevicePoint p) { return QPointF(p.x.v, p.y.v); }

// Millimetres on a piece as the painter's reals, each axis at its own scale.
struct MmOnPainter {
    DeviceScale x, y;
    explicit MmOnPainter(Dpi dpi) : x(DeviceScaleX(dpi)), y(DeviceScaleY(dpi)) {}
    QPointF Point(Mm px, Mm py) const { return QPointF((px * x).v, (py * y).v); }
    QRectF Rect(Mm left, Mm top, Mm width, Mm height) const {
        return QRectF((left * x).v, (top * y).v, (width * x).v, (height * y).v);
    }
};

}  // namespace q2
