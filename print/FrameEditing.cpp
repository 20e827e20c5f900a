// Frame moving and resizing clamps.
#include "print/FrameEditing.h"

#include <algorithm>

namespace q2 {

PreviewRect MoveFrame(PreviewRect f, PreviewPx dx, PreviewPx dy, TPreviewSize area) {
    // std::clamp needs lo <= hi; a frame larger than the area stays at 0.
    auto clampTo = [](PreviewPx v, PreviewPx hi) { return std::max(PreviewPx(0), std::min(v, hi)); };
    const PreviewPx overhang(1);
    f.top = clampTo(f.top + dy, area.Height - f.height + overhang);
    f.left = clampTo(f.left + dx, area.Width - f.width + overhang);
    return f;
}

PreviewRect ResizeFrame(PreviewRect f, TFrameCorner corner, PreviewPx x, PreviewPx y, TPreviewSize area) {
    x = std::clamp(x, PreviewPx(0), area.Width);
    y = std::clamp(y, PreviewPx(0), area.Height);
    PreviewPx left = f.left, top = f.top, right = f.right(), bottom = f.bottom();
    const bool movesLeft = corner == TFrameCorner::LeftTop || corner == TFrameCorner::LeftBottom;
    const bool movesTop = corner == TFrameCorner::LeftTop || corner == TFrameCorner::RightTop;
    if (movesLeft)
        left = std::min(x, right - kMinFrameSize);
    else
        right = std::max(x, left + kMinFrameSize);
    if (movesTop)
        top = std::min(y, bottom - kMinFrameSize);
    else
        bottom = std::max(y, top + kMinFrameSize);
    return {left, top, right - left, bottom - top};
}

}  // namespace q2
