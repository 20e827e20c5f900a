// The preview area and its frame editing.
#include "print/PreviewWidget.h"

#include <QMouseEvent>
#include <cmath>
#include <QPainter>

namespace q2 {
namespace {

constexpr int kSquare = 11;
constexpr TFrameCorner kCorners[] = {TFrameCorner::LeftTop, TFrameCorner::RightTop,
                                     TFrameCorner::LeftBottom, TFrameCorner::RightBottom};

// The widget's pixels are preview pixels.
QRect ToQRect(const PreviewRect& r) {
    return QRect(r.left.v, r.top.v, r.width.v, r.height.v);
}

}  // namespace

TPreviewWidget::TPreviewWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DrawTextImage"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetArea(TPreviewSize{});
}

void TPreviewWidget::SetArea(TPreviewSize area) {
    area_ = area;
    SetZoom(zoom_);
}

void TPreviewWidget::SetZoom(double zoom) {
    zoom_ = zoom > 0 ? zoom : 1.0;
    setFixedSize(std::max(1, RoundInt(area_.Width.v * zoom_)), std::max(1, RoundInt(area_.Height.v * zoom_)));
    update();
}

QPoint TPreviewWidget::ToWidget(QPoint preview) const {
    // The middle of the preview pixel, on the screen pixel under it.
    return QPoint(static_cast<int>(std::floor((preview.x() + 0.5) * zoom_)),
                  static_cast<int>(std::floor((preview.y() + 0.5) * zoom_)));
}

QPoint TPreviewWidget::ToPreview(QPoint widget) const {
    return QPoint(static_cast<int>(std::floor(widget.x() / zoom_)), static_cast<int>(std::floor(widget.y() / zoom_)));
}

void TPreviewWidget::SetBackground(QImage picture) {
    background_ = std::move(picture);
    update();
}

void TPreviewWidget::SetPiece(QImage piece) {
    piece_ = std::move(piece);
    update();
}

void TPreviewWidget::SetPrintableArea(std::optional<QRect> rect) {
    printable_ = rect;
    update();
}

TLayoutFrames TPreviewWidget::Frames() const {
    return {frames_[0], frames_[1], frames_[2], frames_[3], frames_[4], frames_[5]};
}

void TPreviewWidget::SetFrames(const TLayoutFrames& f) {
    frames_ = {f.ZIP, f.ADD, f.NAM, f.CUS, f.SEN, f.SZIP};
    update();
}

void TPreviewWidget::SetFrameVisible(TFrameId id, bool visible) {
    visible_[int(id)] = visible;
    if (!visible && selected_ == id) ClearSelection();
    update();
}

void TPreviewWidget::ClearSelection() {
    selected_.reset();
    resizingCorner_.reset();
    dragging_ = false;
    update();
}

QRect TPreviewWidget::CornerSquare(TFrameCorner corner) const {
    if (!selected_) return {};
    const QRect f = ToQRect(frames_[int(*selected_)]);
    const int x = (corner == TFrameCorner::LeftTop || corner == TFrameCorner::LeftBottom)
                      ? f.left()
                      : f.left() + f.width();
    const int y = (corner == TFrameCorner::LeftTop || corner == TFrameCorner::RightTop)
                      ? f.top()
                      : f.top() + f.height();
    return QRect(x - kSquare / 2, y - kSquare / 2, kSquare, kSquare);
}

void TPreviewWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    // Drawn in preview pixels, scaled to the zoom.
    if (zoom_ != 1.0) {
        p.scale(zoom_, zoom_);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    if (!background_.isNull()) p.drawImage(0, 0, background_);
    if (!piece_.isNull()) p.drawImage(0, 0, piece_);
    if (printable_) {
        p.setPen(QPen(Qt::red, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(*printable_);
    }
    p.setPen(QPen(Qt::blue, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < kFrameCount; ++i)
        if (visible_[i]) p.drawRect(ToQRect(frames_[i]).adjusted(0, 0, -1, -1));
    if (selected_) {
        p.setPen(Qt::black);
        for (TFrameCorner c : kCorners)
            p.fillRect(CornerSquare(c), resizingCorner_ == c ? Qt::white : Qt::black);
        if (resizingCorner_) p.drawRect(CornerSquare(*resizingCorner_).adjusted(0, 0, -1, -1));
    }
}

void TPreviewWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint pos = ToPreview(e->position().toPoint());
    if (selected_)
        for (TFrameCorner c : kCorners)
            if (CornerSquare(c).contains(pos)) {
                resizingCorner_ = c;
                update();
                return;
            }
    // The frames lie over each other in creation order: the last one is on top.
    for (int i = kFrameCount - 1; i >= 0; --i)
        if (visible_[i] && ToQRect(frames_[i]).contains(pos)) {
            selected_ = TFrameId(i);
            dragging_ = true;
            lastMouse_ = pos;
            update();
            return;
        }
    ClearSelection();
}

void TPreviewWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!selected_) return;
    const QPoint pos = ToPreview(e->position().toPoint());
    PreviewRect& f = Frame(*selected_);
    if (resizingCorner_) {
        f = ResizeFrame(f, *resizingCorner_, PreviewPx(pos.x()), PreviewPx(pos.y()), area_);
    } else if (dragging_) {
        f = MoveFrame(f, PreviewPx(pos.x() - lastMouse_.x()), PreviewPx(pos.y() - lastMouse_.y()), area_);
        lastMouse_ = pos;
    } else {
        return;
    }
    update();
}

void TPreviewWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || (!dragging_ && !resizingCorner_)) return;
    dragging_ = false;
    resizingCorner_.reset();
    update();
    emit EditFinished();
}

}  // namespace q2
