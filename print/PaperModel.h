// The paper model: paper kinds, default frames, the preview area
// and its scales, FrameToDevice, label sheets and their placement.
#pragma once

#include <QString>
#include <optional>

#include "print/Units.h"

namespace q2 {

constexpr int kFirstPaperKind = 1, kLastPaperKind = 10;
constexpr int kNengaKind = 3;

struct TPaperKindInfo {
    int Kind;
    const char16_t* Label;  // hint of the postcard buttons, caption of the envelope buttons
    Mm UnitWidth, UnitHeight;
    PreviewPx PictureWidth, PictureHeight;  // preview background picture
    PreviewPx PanelHeight;                  // preview panel height before it takes the unit's aspect
    bool IsPostcard() const { return Kind <= 4; }
};
// Kinds 1–10; nullptr outside.
const TPaperKindInfo* PaperKindInfo(int kind);

// The six layout frames in preview pixels.
struct TLayoutFrames {
    PreviewRect ZIP, ADD, NAM, CUS, SEN, SZIP;
    bool operator==(const TLayoutFrames&) const = default;
};
// The defaults SelectPaperKind sets for a kind and direction.
TLayoutFrames DefaultFrames(int kind, bool vertical);
TLayoutFrames DefaultLabelFrames();

// One label sheet of paper.cfg (values already converted to numbers).
struct TLabelPaper {
    QString Maker, Model;
    Mm Width, Height, TopMargin, BottomMargin, LeftMargin, RightMargin;
    int Columns = 1, Rows = 1;
    QString Orientation = QStringLiteral("0");  // "0" A4 portrait, else landscape
    bool Landscape() const { return Orientation != QLatin1String("0"); }
};

// PaperGeometry: the printed unit, and for labels the sheet around it.
struct TPaperGeometry {
    Mm UnitWidth{100}, UnitHeight{148};
    Mm SheetWidth{100}, SheetHeight{148};
    int Columns = 1, Rows = 1;
    Mm TopMargin, BottomMargin, LeftMargin, RightMargin;
};
TPaperGeometry GeometryForKind(int kind);
TPaperGeometry GeometryForLabel(const TLabelPaper& label);

// Preview area size in preview pixels ("Preview area").
struct TPreviewSize {
    PreviewPx Width{383}, Height{567};
};
TPreviewSize PreviewAreaForKind(int kind);
TPreviewSize PreviewAreaForLabel(const TLabelPaper& label);
// S = preview width ÷ UnitWidth; S' = picture height ÷ UnitHeight.
PreviewScale PreviewScaleOf(const TPreviewSize& area, Mm unitWidth);
PreviewScale PictureScaleForKind(int kind);
// The resolution at which a unit of that size fills the preview area: its
// pixels over the unit's inches, on each axis.
Dpi PreviewDpiOf(const TPreviewSize& area, Mm unitWidth, Mm unitHeight);

// FrameToDevice: inset 4 preview pixels, whole millimetres, device pixels.
DeviceRect FrameToDevice(PreviewRect frame, PreviewScale s, Dpi dpi);

// Label placement: pitches between neighbouring labels and the top-left of
// the label in column c, row r (from 0), in mm from the sheet's corner.
Mm LabelPitchX(const TPaperGeometry& g);
Mm LabelPitchY(const TPaperGeometry& g);
MmPoint LabelOrigin(const TPaperGeometry& g, int column, int row);

}  // namespace q2
