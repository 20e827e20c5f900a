// The preview background pictures, drawn instead of shipped:
// the red postal code boxes, the sender's small boxes and the stamp area.
#pragma once

#include <QPainter>

#include "print/Units.h"

namespace q2 {

// Draws the address side of paper kind `kind` (0: a label, plain white) over
// a piece of `unit` size at `dpi`, origin at the piece's corner.
void DrawPreviewBackground(QPainter& painter, int kind, Mm unitWidth, Mm unitHeight, Dpi dpi);

}  // namespace q2
