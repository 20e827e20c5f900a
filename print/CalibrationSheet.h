// The calibration sheet: one page of a piece's size with the postal boxes
// outlined, crosshairs at their centres and millimetre rulers along the top
// and right edges, printed on plain paper and held against a real card.
#pragma once

#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <array>

#include "print/PostalCodeBoxes.h"

namespace q2 {

// The addressee boxes the sheet outlines: Japan Post's on the kinds that
// carry them, else boxes around the digits of the kind's default frame.
std::array<TMmRect, 7> CalibrationBoxes(int kind);

// Draws the sheet of `kind` with its top-left corner at the painter's origin.
void DrawCalibrationSheet(QPainter& painter, int kind, Dpi dpi);

// The printer's printable area on the sheet: a dashed outline with its
// margins written inside, so that what the printer cannot reach is seen.
void DrawPrintableArea(QPainter& painter, const TMmRect& area, Mm sheetWidth, Mm sheetHeight, Dpi dpi);

// The page of the sheet: the piece's size, no margins.
QPageLayout CalibrationPageLayout(int kind);

// Writes the sheet as a one-page PDF; false with a message when it cannot.
bool WriteCalibrationPdf(const QString& path, int kind, QString* error);

}  // namespace q2
