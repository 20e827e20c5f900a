// Text primitives of the layout: the shrink rule and the two drawing
// operations, in horizontal and in vertical writing.
#pragma once

#include <QPainter>
#include <QStringView>
#include <algorithm>

#include "print/PrintFont.h"

namespace q2 {

// CreatePrintFont for Shift-JIS text with no style, reporting a failure with
// the message shown; the layout goes on with the invalid font (it measures 0).
TPrintFont MakeTextFont(const TPrintFace& face, Dpi dpi, Points size);

// One step of the shrink rule: lowers `size` by one point and re-makes
// `font`; at 1 point or less sets exactly 1 and returns false (stop).
bool ShrinkOnce(const TPrintFace& face, Dpi dpi, Points& size, TPrintFont& font);

// The shrink rule: while `tooBig(font)` holds, lower `size` by one point and
// make the font again; at 1 point or less the size becomes exactly 1 and the
// loop stops. Never enlarges. `font` is left at the final size.

template <class TooBig>
void ShrinkWhile(const TPrintFace& face, Dpi dpi, Points& size, TPrintFont& font, TooBig&& tooBig) {
    font = MakeTextFont(face, dpi, size);
    while (tooBig(font) && ShrinkOnce(face, dpi, size, font)) {
    }
}

// The shrink rule stopped at a readable floor: a text that still does not fit
// at `floor` stays at `floor` (or at the start size when that is smaller).
// Returns whether it fits.
template <class TooBig>
bool ShrinkToFloor(const TPrintFace& face, Dpi dpi, Points& size, TPrintFont& font, Points floor,
                   TooBig&& tooBig) {
    font = MakeTextFont(face, dpi, size);
    while (tooBig(font)) {
        if (size - Points(1) < floor) return false;
        ShrinkOnce(face, dpi, size, font);
    }
    return true;
}

// The space between two neighbouring columns (lines) of one group of text:
// a third of a cell, and never less than the spacing g.
inline DevicePx ColumnGap(const TPrintFont& font, DevicePx g) {
    return std::max(g, RoundPx(TextHeight(font) / 3.0));
}

// Draws one character with its cell's top-left at `cell`. Vertical: the
// column from cell.x to cell.x + TextHeight, rows cell.y to cell.y + width(c).
void DrawCharCell(QPainter& painter, const TPrintFont& font, char32_t c, DevicePoint cell, bool vertical);

// DrawSpacedText: text1, then text2 one extra pitch later, with `pitch` extra
// pixels after every character. Black, transparent background.
void DrawSpacedText(QPainter& painter, Dpi dpi, QStringView text1, DevicePx pitch, DevicePoint at,
                    bool vertical, Points size, const TPrintFace& face, QStringView text2 = {});

// DrawPlainText: one text without extra pitch.
void DrawPlainText(QPainter& painter, Dpi dpi, DevicePoint at, bool vertical, Points size,
                   const TPrintFace& face, QStringView text);

}  // namespace q2
