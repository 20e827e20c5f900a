// The print dialog's preview area: the background picture, the rendered
// piece, the printable area, the six blue dotted frames and the corner squares
// with which the user moves and resizes them.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <optional>

#include "print/FrameEditing.h"
#include "print/PaperModel.h"

namespace q2 {

enum class TFrameId { ZIP, ADD, NAM, CUS, SEN, SZIP };
constexpr int kFrameCount = 6;

class TPreviewWidget : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewWidget(QWidget* parent = nullptr);

    void SetArea(TPreviewSize area);
    TPreviewSize Area() const { return area_; }
    // Screen pixels per preview pixel; frames and the mouse stay in preview pixels.
    void SetZoom(double zoom);
    double Zoom() const { return zoom_; }
    // A point of the preview area where it shows on the widget, and back.
    QPoint ToWidget(QPoint preview) const;
    QPoint ToPreview(QPoint widget) const;
    void SetBackground(QImage picture);  // ImagePreview, not stretched
    void SetPiece(QImage piece);         // DrawTextImage; a null image clears it
    void SetPrintableArea(std::optional<QRect> rect);
    const QImage& Piece() const { return piece_; }
    const QImage& Background() const { return background_; }

    TLayoutFrames Frames() const;
    void SetFrames(const TLayoutFrames& frames);
    void SetFrameVisible(TFrameId id, bool visible);
    bool FrameVisible(TFrameId id) const { return visible_[int(id)]; }

    // The frame whose corner squares show, if any.
    std::optional<TFrameId> SelectedFrame() const { return selected_; }
    void ClearSelection();
    // The corner squares centred on the selected frame's corners (11 × 11).
    QRect CornerSquare(TFrameCorner corner) const;

signals:
    // A move or resize ended: the dialog refreshes the preview.
    void EditFinished();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    PreviewRect& Frame(TFrameId id) { return frames_[int(id)]; }

    TPreviewSize area_;
    double zoom_ = 1.0;
    QImage background_, piece_;
    std::optional<QRect> printable_;
    std::array<PreviewRect, kFrameCount> frames_{};
    std::array<bool, kFrameCount> visible_{true, true, true, true, true, true};
    std::optional<TFrameId> selected_;
    std::optional<TFrameCorner> resizingCorner_;
    bool dragging_ = false;
    QPoint lastMouse_;
};

}  // namespace q2
