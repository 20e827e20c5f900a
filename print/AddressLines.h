// FitAddressLines: the two address lines fitted into their frame.
#pragma once

#include <QPainter>
#include <QString>

#include "print/PrintFont.h"

namespace q2 {

struct AddressLayout {
    Points Size;
    DevicePoint Line1, Line2;
};

AddressLayout FitAddressLines(const TPrintFace& face, int dpi, DevicePx g, bool vertical,
                              DeviceRect frame, const QString& line1, const QString& line2,
                              Points startSize);

// Both lines with DrawPlainText at the layout's positions, line 1 first.
void DrawAddressLines(QPainter& painter, const AddressLayout& layout, const TPrintFace& face, int dpi,
                      bool vertical, const QString& line1, const QString& line2);

}  // namespace q2
