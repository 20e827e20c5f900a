// Paper kinds, default frames and the unit conversions.
#include "print/PaperModel.h"

namespace q2 {
namespace {

constexpr PreviewPx P(int v) { return PreviewPx(v); }

const TPaperKindInfo kKinds[] = {
    {1, u"郵政", Mm(100), Mm(148), P(384), P(567), P(567)},
    {2, u"エコー", Mm(100), Mm(148), P(384), P(567), P(567)},
    {3, u"年賀", Mm(100), Mm(148), P(384), P(567), P(567)},
    {4, u"暑中", Mm(100), Mm(148), P(384), P(567), P(567)},
    {5, u"長形2号", Mm(119), Mm(277), P(191), P(443), P(450)},
    {6, u"長形3号", Mm(120), Mm(235), P(226), P(443), P(450)},
    {7, u"長形4号", Mm(90), Mm(205), P(194), P(443), P(450)},
    {8, u"長形3号(横)", Mm(235), Mm(120), P(443), P(226), P(225)},
    {9, u"角形2号", Mm(240), Mm(332), P(323), P(443), P(450)},
    {10, u"角形3号", Mm(216), Mm(227), P(426), P(443), P(450)},
};

constexpr PreviewRect R(int l, int t, int w, int h) {
    return {PreviewPx(l), PreviewPx(t), PreviewPx(w), PreviewPx(h)};
}

// Default frames: ZIP, ADD, NAM, CUS, SEN, SZIP; [kind-1][horizontal].
const TLayoutFrames kFrames[10][2] = {
    {{R(177, 51, 178, 25), R(279, 162, 70, 347), R(172, 162, 98, 344), R(99, 124, 275, 31), R(27, 335, 85, 178), R(29, 525, 107, 17)},
     {R(177, 51, 178, 25), R(37, 195, 330, 69), R(37, 267, 330, 99), R(37, 156, 330, 28), R(25, 430, 177, 84), R(31, 525, 108, 18)}},
    {{R(177, 51, 178, 25), R(301, 138, 52, 232), R(194, 139, 104, 227), R(101, 109, 278, 24), R(25, 191, 73, 137), R(30, 337, 108, 19)},
     {R(177, 51, 178, 25), R(90, 163, 270, 39), R(90, 204, 270, 68), R(90, 131, 270, 25), R(26, 274, 146, 54), R(32, 334, 107, 17)}},
    {{R(177, 51, 178, 25), R(292, 148, 43, 300), R(177, 148, 102, 300), R(98, 110, 284, 24), R(27, 302, 74, 154), R(31, 469, 110, 18)},
     {R(177, 51, 178, 25), R(47, 227, 327, 62), R(47, 291, 326, 86), R(90, 138, 285, 21), R(47, 388, 166, 63), R(29, 472, 109, 18)}},
    {{R(177, 51, 178, 25), R(283, 170, 72, 285), R(175, 170, 101, 281), R(91, 127, 277, 28), R(28, 286, 95, 172), R(29, 470, 109, 21)},
     {R(177, 51, 178, 25), R(40, 168, 321, 60), R(40, 231, 321, 98), R(40, 132, 321, 25), R(40, 375, 158, 80), R(30, 470, 111, 22)}},
    {{R(76, 23, 110, 25), R(126, 136, 51, 226), R(80, 136, 51, 226), R(21, 85, 173, 25), R(21, 260, 54, 134), R(21, 398, 85, 21)},
     {R(76, 23, 110, 25), R(20, 127, 158, 35), R(20, 167, 158, 57), R(20, 90, 173, 29), R(75, 356, 105, 42), R(95, 397, 85, 21)}},
    {{R(123, 25, 95, 25), R(147, 116, 51, 218), R(92, 116, 49, 218), R(45, 88, 175, 25), R(20, 238, 62, 153), R(20, 399, 85, 21)},
     {R(123, 25, 95, 25), R(22, 111, 189, 48), R(22, 164, 189, 76), R(22, 77, 189, 25), R(98, 355, 117, 40), R(129, 396, 85, 21)}},
    {{R(76, 27, 100, 25), R(126, 136, 51, 226), R(80, 136, 51, 226), R(21, 85, 173, 25), R(21, 260, 54, 134), R(21, 398, 85, 21)},
     {R(76, 27, 100, 25), R(20, 127, 158, 35), R(20, 167, 158, 57), R(20, 90, 173, 29), R(75, 356, 105, 42), R(95, 397, 85, 21)}},
    {{R(306, 22, 101, 25), R(326, 60, 51, 150), R(180, 60, 51, 160), R(21, 90, 173, 25), R(21, 65, 54, 134), R(21, 203, 85, 21)},
     {R(30, 25, 100, 25), R(30, 50, 158, 35), R(50, 85, 158, 57), R(20, 90, 173, 29), R(195, 180, 105, 42), R(195, 160, 85, 21)}},
    {{R(170, 31, 130, 25), R(247, 116, 51, 218), R(150, 96, 49, 318), R(45, 88, 175, 25), R(20, 238, 62, 153), R(20, 399, 85, 21)},
     {R(170, 31, 130, 25), R(75, 111, 189, 48), R(35, 204, 259, 76), R(122, 77, 189, 25), R(198, 375, 117, 40), R(229, 416, 85, 21)}},
    {{R(238, 33, 160, 25), R(347, 116, 51, 218), R(200, 96, 49, 318), R(45, 88, 175, 25), R(20, 238, 62, 153), R(20, 399, 85, 21)},
     {R(238, 33, 160, 25), R(125, 111, 189, 48), R(55, 204, 319, 76), R(222, 77, 189, 25), R(298, 375, 117, 40), R(329, 416, 85, 21)}},
};

// FrameToDevice takes this much off every side of a frame.
constexpr PreviewPx kFrameInset(4);

// A frame whose inner rectangle (after FrameToDevice's inset) is
// (left, top, width, height) whole millimetres at the scale `s`.
PreviewRect FrameMm(PreviewScale s, int l, int t, int w, int h) {
    return {MmToPreview(Mm(l), s) - kFrameInset, MmToPreview(Mm(t), s) - kFrameInset,
            MmToPreview(Mm(w), s) + kFrameInset + kFrameInset, MmToPreview(Mm(h), s) + kFrameInset + kFrameInset};
}

// The side of a unit's shape that goes with `side`: `side` × to ÷ from, rounded.
PreviewPx SameAspect(PreviewPx side, Mm to, Mm from) {
    return PreviewPx(RoundInt(side.v * to.v / from.v));
}

// Postcards, in mm: the address begins 4 mm below the postal boxes (their
// foot at 20 mm) and ends under the last box, 8 mm from the right edge; the
// name frame is centred on the card's middle line with its foot near the
// lower quarter; the sender block keeps clear of the name; the barcode runs
// in the band under everything, 10 mm from the edges. エコー keeps its lower
// third for the advertisement: everything above 97 mm, the barcode between
// the boxes and the address. Horizontal lines start under the stamp area
// (its foot at 29 mm), which reaches down beside the boxes.
struct TPostcardMm {
    int add[4], nam[4], sen[4], cus[4];
};
const TPostcardMm kPostcardVertical = {{75, 24, 17, 100}, {38, 28, 24, 84}, {8, 74, 28, 46}, {10, 131, 80, 6}};
const TPostcardMm kPostcardHorizontal = {{9, 31, 82, 24}, {10, 58, 80, 38}, {10, 99, 52, 23}, {10, 131, 80, 6}};
const TPostcardMm kEchoVertical = {{75, 28, 17, 68}, {38, 32, 24, 64}, {8, 50, 28, 35}, {10, 22, 80, 4}};
const TPostcardMm kEchoHorizontal = {{10, 28, 80, 19}, {10, 49, 80, 19}, {10, 70, 52, 17}, {10, 22, 80, 4}};

TLayoutFrames PostcardFrames(int kind, bool vertical) {
    TLayoutFrames f = kFrames[kind - 1][vertical ? 0 : 1];
    const TPostcardMm& m = kind == 2 ? (vertical ? kEchoVertical : kEchoHorizontal)
                                     : (vertical ? kPostcardVertical : kPostcardHorizontal);
    const PreviewScale s = PreviewScaleOf(PreviewAreaForKind(kind), Mm(100));
    f.ADD = FrameMm(s, m.add[0], m.add[1], m.add[2], m.add[3]);
    f.NAM = FrameMm(s, m.nam[0], m.nam[1], m.nam[2], m.nam[3]);
    f.SEN = FrameMm(s, m.sen[0], m.sen[1], m.sen[2], m.sen[3]);
    f.CUS = FrameMm(s, m.cus[0], m.cus[1], m.cus[2], m.cus[3]);
    return f;
}

}  // namespace

const TPaperKindInfo* PaperKindInfo(int kind) {
    if (kind < kFirstPaperKind || kind > kLastPaperKind) return nullptr;
    return &kKinds[kind - 1];
}

TLayoutFrames DefaultFrames(int kind, bool vertical) {
    if (!PaperKindInfo(kind)) kind = kNengaKind;
    if (PaperKindInfo(kind)->IsPostcard()) return PostcardFrames(kind, vertical);
    TLayoutFrames f = kFrames[kind - 1][vertical ? 0 : 1];
    // Barcode frames that keep the bars 10 mm from every edge and 2 mm clear
    // of the other frames' texts.
    const PreviewScale s = PreviewScaleOf(PreviewAreaForKind(kind), PaperKindInfo(kind)->UnitWidth);
    switch (kind) {
    case 6: if (vertical) f.CUS = FrameMm(s, 20, 48, 90, 5); break;
    case 7: f.CUS = FrameMm(s, 12, vertical ? 40 : 43, 66, 5); break;
    case 8: f.CUS = vertical ? FrameMm(s, 42, 12, 88, 5) : FrameMm(s, 12, 98, 88, 5); break;
    case 10: if (vertical) f.CUS = FrameMm(s, 20, 46, 82, 5); break;
    default: break;
    }
    return f;
}

TLayoutFrames DefaultLabelFrames() {
    return {R(8, 5, 110, 24), R(8, 61, 260, 31), R(8, 95, 257, 51),
            R(8, 32, 327, 26), R(8, 40, 115, 24), R(21, 407, 85, 21)};
}

TPaperGeometry GeometryForKind(int kind) {
    TPaperGeometry g;
    if (const TPaperKindInfo* k = PaperKindInfo(kind)) {
        g.UnitWidth = g.SheetWidth = k->UnitWidth;
        g.UnitHeight = g.SheetHeight = k->UnitHeight;
    }
    return g;
}

TPaperGeometry GeometryForLabel(const TLabelPaper& label) {
    TPaperGeometry g;
    g.UnitWidth = label.Width;
    g.UnitHeight = label.Height;
    g.SheetWidth = Mm(label.Landscape() ? 297 : 210);
    g.SheetHeight = Mm(label.Landscape() ? 210 : 297);
    g.Columns = label.Columns;
    g.Rows = label.Rows;
    g.TopMargin = label.TopMargin;
    g.BottomMargin = label.BottomMargin;
    g.LeftMargin = label.LeftMargin;
    g.RightMargin = label.RightMargin;
    return g;
}

TPreviewSize PreviewAreaForKind(int kind) {
    const TPaperKindInfo* k = PaperKindInfo(kind);
    if (!k) k = PaperKindInfo(kNengaKind);
    TPreviewSize s;
    s.Width = SameAspect(k->PanelHeight, k->UnitWidth, k->UnitHeight);
    s.Height = SameAspect(s.Width, k->UnitHeight, k->UnitWidth);
    return s;
}

TPreviewSize PreviewAreaForLabel(const TLabelPaper& label) {
    TPreviewSize s;
    s.Width = PreviewPx(384);
    s.Height = label.Width > Mm(0) ? SameAspect(s.Width, label.Height, label.Width) : PreviewPx(567);
    return s;
}

PreviewScale PreviewScaleOf(const TPreviewSize& area, Mm unitWidth) {
    return PreviewPerMm(area.Width, unitWidth);
}

PreviewScale PictureScaleForKind(int kind) {
    const TPaperKindInfo* k = PaperKindInfo(kind);
    if (!k) k = PaperKindInfo(kNengaKind);
    return PreviewPerMm(k->PictureHeight, k->UnitHeight);
}

Dpi PreviewDpiOf(const TPreviewSize& area, Mm unitWidth, Mm unitHeight) {
    // Dots per inch are pixels per 25.4 mm.
    return {RoundInt(area.Width.v * 25.4 / unitWidth.v), RoundInt(area.Height.v * 25.4 / unitHeight.v)};
}

DeviceRect FrameToDevice(PreviewRect frame, PreviewScale s, Dpi dpi) {
    // Whole millimetres first, then device pixels.
    auto mm = [&](PreviewPx p) { return RoundMm(PreviewToMm(p, s)); };
    const PreviewPx inset2 = kFrameInset + kFrameInset;
    return {MmToDeviceX(mm(frame.left + kFrameInset), dpi), MmToDeviceY(mm(frame.top + kFrameInset), dpi),
            MmToDeviceX(mm(frame.width - inset2), dpi), MmToDeviceY(mm(frame.height - inset2), dpi)};
}

Mm LabelPitchX(const TPaperGeometry& g) {
    if (g.Columns <= 1) return Mm(0);
    return (g.SheetWidth - g.LeftMargin - g.RightMargin - g.UnitWidth) / (g.Columns - 1);
}

Mm LabelPitchY(const TPaperGeometry& g) {
    if (g.Rows <= 1) return Mm(0);
    return (g.SheetHeight - g.TopMargin - g.BottomMargin - g.UnitHeight) / (g.Rows - 1);
}

MmPoint LabelOrigin(const TPaperGeometry& g, int column, int row) {
    return {g.LeftMargin + LabelPitchX(g) * column, g.TopMargin + LabelPitchY(g) * row};
}

}  // namespace q2
