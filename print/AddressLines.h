// FitAddressLines: the address lines fitted into their frame, shrunk no
// further than a readable floor and broken at the preferred places instead.
#pragma once

#include <QList>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

#include "print/PrintFont.h"

namespace q2 {

// The smallest address size when PRINT_CONF names none: postcards and
// envelopes, and label sheets.
constexpr int kAddressFloorPoints = 10, kLabelAddressFloorPoints = 7;
// An address is set in at most this many lines (columns).
constexpr int kMaxAddressLines = 3;

struct AddressLayout {
    Points Size;                    // one size for every line of the piece
    QStringList Lines;              // as drawn: the given lines, or broken
    QList<DevicePoint> Positions;   // the start of each line
    bool Overflow = false;          // did not fit at the floor even in three lines
};

// `floor` stops the shrinking: a text that does not fit there is broken into
// one more line, up to kMaxAddressLines; what still does not fit is drawn at
// the floor and marked Overflow. Lines (columns) stand half a cell apart.
AddressLayout FitAddressLines(const TPrintFace& face, Dpi dpi, DevicePx g, bool vertical,
                              DeviceRect frame, const QString& line1, const QString& line2,
                              Points startSize, Points floor = Points(1));

// Where a line is broken: after a block number group (…番地, …号, 丁目 and
// its numbers), before a building word (ビル, マンション, ハイツ, コーポ, 棟, 階,
// 号室, 様方, with the name or number that belongs to it), or at a blank, in
// that order; within the first class that offers a place, the one that
// halves the line best. Returns the two parts, or nothing.
std::optional<std::pair<QString, QString>> BreakAddressLine(const QString& line);

// Every line with DrawPlainText at its position.
void DrawAddressLines(QPainter& painter, const AddressLayout& layout, const TPrintFace& face, Dpi dpi,
                      bool vertical);

}  // namespace q2
