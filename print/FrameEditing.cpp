// Frame moving and resizing clamps.
#include "print/FrameEditing.h"

#include <algorithm>

namespace q2 {

PreviewRect MoveFrame(PreviewRect f, int dx, int dy, TPreviewSize area) {
    // std::clamp needs lo <= hi; a frame larger than the area stays at 0.
    auto clampTo = [](int v, int hi) { return std::max(0, std::min(v, hi)); };
    f.top = PreviewPx(clampTo(f.top.v + dy, area.Height - f.height.v + 1));
    f.left = PreviewPx(clampTo(f.left.v + dx, area.Width - f.width.v + 1));
    return f;
}

PreviewRect ResizeFrame(PreviewRect f, TFrameCorner corner, int x, int y, TPreviewSize area) {
    x = std::clamp(x, 0, area.Width);
    y = std::clamp(y, 0, area.Height);
    int left = f.left.v, top = f.top.v, right = f.left.v + f.width.v, bottom = f.top.v + f.height.v;
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
    return {PreviewPx(left), PreviewPx(top), PreviewPx(right - left), PreviewPx(bottom - top)};
}

}  // namespace q2
