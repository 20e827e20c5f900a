// Preview areas, scales, FrameToDevice, label placement, paper.cfg, the unit conversions.
#include <gtest/gtest.h>

#include "print/LabelCatalog.h"
#include "print/PaperModel.h"
#include "print/PieceRenderer.h"

using namespace q2;

TEST(PreviewArea, FollowsThePaper) {
    struct Case { int kind, w, h; };
    const Case cases[] = {{3, 383, 567}, {6, 230, 450}, {8, 441, 225}, {10, 428, 450}};
    for (const Case& c : cases) {
        const TPreviewSize s = PreviewAreaForKind(c.kind);
        EXPECT_EQ(s.Width.v, c.w) << c.kind;
        EXPECT_EQ(s.Height.v, c.h) << c.kind;
    }
}

TEST(FrameToDevice, InsetsRoundsToMillimetresThenToPixels) {
    // 年賀 address frame (292, 148, 43, 300), S = 383/100.
    const DeviceRect d = FrameToDevice({PreviewPx(292), PreviewPx(148), PreviewPx(43), PreviewPx(300)},
                                       PreviewScale{3.83}, Dpi{600, 300});
    // (296, 152, 35, 292) / 3.83 → 77, 40, 9, 76 mm.
    EXPECT_EQ(d.left.v, RoundInt(77 * 600 / 25.4));
    EXPECT_EQ(d.top.v, RoundInt(40 * 300 / 25.4));
    EXPECT_EQ(d.width.v, RoundInt(9 * 600 / 25.4));
    EXPECT_EQ(d.height.v, RoundInt(76 * 300 / 25.4));
}

TEST(DefaultFrames, NengaVerticalEqualsTheSettingsDefaults) {
    EXPECT_EQ(DefaultFrames(3, true), TPrintSettings().Frames);
    EXPECT_EQ(DefaultFrames(9, false).NAM, (PreviewRect{PreviewPx(35), PreviewPx(204), PreviewPx(259), PreviewPx(76)}));
}

namespace {
TLabelPaper TwoBySix() {
    TLabelPaper p;
    p.Width = Mm(83.8);
    p.Height = Mm(42.3);
    p.TopMargin = Mm(20.3);
    p.BottomMargin = Mm(22.9);
    p.LeftMargin = Mm(20.3);
    p.RightMargin = Mm(18.3);
    p.Columns = 2;
    p.Rows = 6;
    return p;
}
}  // namespace

TEST(LabelPlacement, PitchIsDerivedAndTheLastColumnEndsAtTheRightMargin) {
    const TPaperGeometry g = GeometryForLabel(TwoBySix());
    EXPECT_NEAR(LabelPitchX(g).v, 210 - 20.3 - 18.3 - 83.8, 1e-9);
    const MmPoint last = LabelOrigin(g, 1, 5);
    EXPECT_NEAR(last.x.v + 83.8, 210 - 18.3, 1e-9);
    EXPECT_NEAR(last.y.v + 42.3, 297 - 22.9, 1e-9);
    TLabelPaper one = TwoBySix();
    one.Columns = 1;
    EXPECT_EQ(LabelPitchX(GeometryForLabel(one)).v, 0);
    EXPECT_EQ(LabelOrigin(GeometryForLabel(one), 0, 0).x.v, 20.3);
}

TEST(LabelPlacement, ThreeRecordsFillTheFirstRowAndOneMore) {
    const TPaperGeometry g = GeometryForLabel(TwoBySix());
    const TLabelSlot s2 = LabelSlotOf(g, 2);
    EXPECT_EQ(s2.Page, 0);
    EXPECT_EQ(s2.Column, 0);
    EXPECT_EQ(s2.Row, 1);
    const TLabelSlot s12 = LabelSlotOf(g, 12);  // the thirteenth record
    EXPECT_EQ(s12.Page, 1);
    EXPECT_EQ(s12.Column, 0);
    EXPECT_EQ(s12.Row, 0);
}

TEST(PaperConfig, ReadsTenLineRecords) {
    const QString text = QString::fromUtf16(
        u"*ヒサゴ,CJH861S\r\n0'\r\n83.8'\r\n42.3'\r\n20.3' top\r\n22.9'\r\n20.3'\r\n18.3'\r\n2'\r\n6'\r\n"
        u"*Other,X\r\n0'\r\n10'\r\nnoquote\r\n0'\r\n0'\r\n0'\r\n0'\r\n1'\r\n1'\r\n*short\r\n");
    const QList<TLabelRecord> r = ParsePaperConfig(text);
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0].Maker, QString::fromUtf16(u"ヒサゴ"));
    EXPECT_EQ(r[0].Model, QStringLiteral("CJH861S"));
    EXPECT_EQ(r[0].TopMargin, QStringLiteral("20.3"));
    EXPECT_EQ(r[1].Height, QString());
    const auto p = ToLabelPaper(r[0]);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Columns, 2);
    EXPECT_FALSE(ToLabelPaper(r[1]));  // an empty height is not a number
}

TEST(PaperConfig, NanAndInfinityAreNoMeasures) {
    // They read as numbers, but a sheet of them has no size to lay out.
    for (const char* bad : {"nan", "inf", "-inf"}) {
        for (QString TLabelRecord::*field : {&TLabelRecord::Width, &TLabelRecord::TopMargin}) {
            TLabelRecord r{QStringLiteral("M"), QStringLiteral("X"), QStringLiteral("0"), QStringLiteral("83.8"),
                           QStringLiteral("42.3"), QStringLiteral("20"), QStringLiteral("20"), QStringLiteral("20"),
                           QStringLiteral("20"), QStringLiteral("2"), QStringLiteral("6")};
            ASSERT_TRUE(ToLabelPaper(r));
            r.*field = QLatin1String(bad);
            EXPECT_FALSE(ToLabelPaper(r)) << bad;
        }
    }
}

TEST(PaperConfig, ARefusedSheetIsNamedWithTheValueThatStopsIt) {
    // Whatever ToLabelPaper refuses is explained, naming the entry and its
    // value; what it accepts has nothing to explain.
    struct Case {
        QString TLabelRecord::*field;
        const char* value;
        const char16_t* message;  // nullptr: accepted
    };
    const Case cases[] = {
        {&TLabelRecord::Width, "abc", u"paper.cfg の用紙「ヒサゴ,X」の横幅が「abc」です。0 より大きい数値（mm）を指定して下さい"},
        {&TLabelRecord::Height, "0", u"paper.cfg の用紙「ヒサゴ,X」の縦幅が「0」です。0 より大きい数値（mm）を指定して下さい"},
        {&TLabelRecord::LeftMargin, "nan", u"paper.cfg の用紙「ヒサゴ,X」の左余白が「nan」です。数値（mm）を指定して下さい"},
        {&TLabelRecord::Rows, "", u"paper.cfg の用紙「ヒサゴ,X」の段数が「」です。1 以上の整数を指定して下さい"},
        {&TLabelRecord::Columns, "2.5", u"paper.cfg の用紙「ヒサゴ,X」の列数が「2.5」です。1 以上の整数を指定して下さい"},
        {&TLabelRecord::TopMargin, "-1", nullptr},  // a sheet may start above its printable top
        {&TLabelRecord::Columns, " 3 ", nullptr},
    };
    for (const Case& c : cases) {
        TLabelRecord r{QString::fromUtf16(u"ヒサゴ"), QStringLiteral("X"), QStringLiteral("0"), QStringLiteral("83.8"),
                       QStringLiteral("42.3"), QStringLiteral("20"), QStringLiteral("20"), QStringLiteral("20"),
                       QStringLiteral("20"), QStringLiteral("2"), QStringLiteral("6")};
        r.*c.field = QLatin1String(c.value);
        EXPECT_EQ(LabelPaperProblem(r), c.message ? QString::fromUtf16(c.message) : QString()) << c.value;
        EXPECT_EQ(ToLabelPaper(r).has_value(), c.message == nullptr) << c.value;
    }
}

TEST(Units, EachAxisTakesItsOwnResolution) {
    // 600 dpi across and 300 down: what runs across takes x; text, whose
    // cell comes from the vertical resolution, takes y.
    const Dpi dpi{600, 300};
    EXPECT_EQ(MmToDeviceX(Mm(25.4), dpi).v, 600);
    EXPECT_EQ(MmToDeviceY(Mm(25.4), dpi).v, 300);
    EXPECT_DOUBLE_EQ(DeviceToMmX(DevicePx(300), dpi).v, 12.7);
    EXPECT_DOUBLE_EQ(DeviceToMmY(DevicePx(300), dpi).v, 25.4);
    EXPECT_EQ(PointsToCell(Points(12), dpi).v, 50);
    EXPECT_EQ(CreatePrintFont(ResolvePrintFace(QStringLiteral("IPAGothic")), kShiftJisCharset, 0, dpi, Points(12))
                  .CellHeight().v, 50);
    EXPECT_EQ(PrintSpacing(dpi).v, 2);  // 0.2 mm at 300 dpi
    EXPECT_EQ(BarcodeAdvance(QLatin1Char('1'), Points(10), dpi).v, RoundInt(3.6 * 600 / 25.4));
}
