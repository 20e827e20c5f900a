// The unit types of the print code: preview pixels, millimetres, device pixels
// and points never travel as bare numbers between its functions.
#pragma once

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
    constexpr DevicePx& operator+=(DevicePx o) { v += o.v; return *this; }
    constexpr DevicePx& operator-=(DevicePx o) { v -= o.v; return *this; }
};
constexpr DevicePx operator*(int k, DevicePx p) { return p * k; }

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
    constexpr Mm& operator+=(Mm o) { v += o.v; return *this; }
};

struct MmPoint {
    Mm x, y;
};

// Pixels of the print dialog's preview area, in which the user places frames.
struct PreviewPx {
    int v = 0;
    constexpr PreviewPx() = default;
    constexpr explicit PreviewPx(int value) : v(value) {}
    constexpr auto operator<=>(const PreviewPx&) const = default;
};

struct PreviewRect {
    PreviewPx left, top, width, height;
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
};

// Device pixels per inch of a canvas, horizontally and vertically.
struct Dpi {
    int x = 600, y = 600;
    constexpr bool operator==(const Dpi&) const = default;
};

// The only conversions between the units; each does its own rounding.
inline DevicePx MmToDeviceX(Mm mm, Dpi dpi) { return DevicePx(RoundInt(mm.v * dpi.x / 25.4)); }
inline DevicePx MmToDeviceY(Mm mm, Dpi dpi) { return DevicePx(RoundInt(mm.v * dpi.y / 25.4)); }
// Postal code boxes use one resolution for both axes.
inline DevicePx MmToDevice(Mm mm, int dpi) { return DevicePx(RoundInt(mm.v * dpi / 25.4)); }
inline Mm PreviewToMm(PreviewPx p, PreviewScale s) { return Mm(p.v / s.perMm); }
inline double DeviceToMm(DevicePx p, int dpi) { return p.v * 25.4 / dpi; }
// Cell height of a font of `size` points: round(size × dpi ÷ 72).
inline DevicePx PointsToCell(Points size, int dpi) { return DevicePx(RoundInt(size.v * dpi / 72.0)); }

// Line spacing g: 0.2 mm in the preview's or the printer's pixels.
inline DevicePx PrintSpacing(int dpiY) { return DevicePx(RoundInt(dpiY * 0.2 / 25.4)); }

}  // namespace q2
