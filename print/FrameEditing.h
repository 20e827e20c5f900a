// Moving and resizing a layout frame on the preview area with the mouse.
#pragma once

#include "print/PaperModel.h"

namespace q2 {

enum class TFrameCorner { LeftTop, RightTop, LeftBottom, RightBottom };

constexpr PreviewPx kMinFrameSize{15};

// The frame moved by (dx, dy), kept inside the area; one pixel may hang over
// the right and bottom edge.
PreviewRect MoveFrame(PreviewRect frame, PreviewPx dx, PreviewPx dy, TPreviewSize area);
// The frame with `corner` at (x, y) (clamped to the area) and the opposite
// corner fixed; neither side goes below kMinFrameSize.
PreviewRect ResizeFrame(PreviewRect frame, TFrameCorner corner, PreviewPx x, PreviewPx y, TPreviewSize area);

}  // namespace q2
