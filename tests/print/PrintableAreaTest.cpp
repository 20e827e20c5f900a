// The ink of each part of a piece against a printer's printable area: the
// parts' extents are where the printed piece has ink, and a margin that
// reaches into a part names it with the depth of the cut.
#include <QPainter>
#include <gtest/gtest.h>

#include "print/PrintableArea.h"
#include "tests/print/Ink.h"
#include "tests/print/SampleRecords.h"

using namespace q2;
using namespace q2::ink;

namespace {

// A vertical 年賀 postcard with barcode and sender.
TPieceSetup CardSetup(const TSenderInfoList& senders) {
    TPrintSettings st;
    st.Font = QStringLiteral("IPAPGothic");
    st.PostcardIndex = kNengaKind;
    st.Vertical = true;
    st.Frames = DefaultFrames(kNengaKind, true);
    st.PrintCostom = true;
    st.PrintSender = true;
    return MakePieceSetup(st, std::nullopt, &senders);
}

TSenderInfoList Senders() {
    TSenderInfoList s;
    *s.Add() = sample::PrivateSender();
    return s;
}

}  // namespace

TEST(PrintableArea, ThePartsInkIsTheInkOfThePrintedPiece) {
    const TSenderInfoList senders = Senders();
    for (const TPrintOffset offset : {TPrintOffset{}, TPrintOffset{15, -10}}) {
        TPieceSetup setup = CardSetup(senders);
        setup.Offset = offset;
        const TUserInfo r = sample::FamilyOfFive();
        const Dpi dpi{600, 600};
        const QSize size = PieceSizePx(setup, dpi);
        QImage page = WhitePage(size.width(), size.height());
        {
            QPainter p(&page);
            RenderPiece(p, r, setup, dpi, PrintSpacing(dpi), TRenderPurpose::Print);
        }
        const QRect ink = InkBox(page);
        QList<TInkPart> parts;
        double left = 1e9, top = 1e9, right = -1, bottom = -1;
        for (const TInkExtent& e : InkExtents(r, setup, 0)) {
            parts << e.Part;
            left = std::min(left, e.Ink.left.v), top = std::min(top, e.Ink.top.v);
            right = std::max(right, e.Ink.right().v), bottom = std::max(bottom, e.Ink.bottom().v);
        }
        EXPECT_EQ(parts,
                  (QList<TInkPart>{InkPostalCode, InkBarcode, InkAddress, InkName, InkSender}));
        EXPECT_NEAR(left, PxToMm(ink.left(), 600), 0.3);
        EXPECT_NEAR(top, PxToMm(ink.top(), 600), 0.3);
        EXPECT_NEAR(right, PxToMm(ink.right() + 1, 600), 0.3);
        EXPECT_NEAR(bottom, PxToMm(ink.bottom() + 1, 600), 0.3);
    }
}

TEST(PrintableArea, AMarginIntoAPartNamesItAndTheDepth) {
    const TSenderInfoList senders = Senders();
    const TUserInfo r = sample::FamilyOfFive();
    TPieceSetup setup = CardSetup(senders);
    // The extents say where each part's ink ends: a margin 1 mm into the
    // postal digits from the top cuts them by that much and nothing else.
    Mm digitsTop, addressRight;
    for (const TInkExtent& e : InkExtents(r, setup, 0)) {
        if (e.Part == InkPostalCode) digitsTop = e.Ink.top;
        if (e.Part == InkAddress) addressRight = e.Ink.right();
    }
    ASSERT_GT(digitsTop, Mm(5));
    ASSERT_GT(addressRight, Mm(88));  // the address's first column ends 8 mm from the right edge

    struct Case {
        TMmRect area;
        QList<TInkPart> cut;
    };
    const Case cases[] = {
        {{Mm(3), Mm(3), Mm(94), Mm(142)}, {}},  // a common 3 mm margin reaches nothing
        {{Mm(0), digitsTop + Mm(1), Mm(100), Mm(148) - digitsTop - Mm(1)}, {InkPostalCode}},
        {{Mm(0), Mm(0), Mm(88), Mm(148)}, {InkPostalCode, InkAddress}},
        {{Mm(12), Mm(0), Mm(76), Mm(148)}, {InkPostalCode, InkBarcode, InkAddress, InkSender}},
    };
    for (const Case& c : cases) {
        setup.Printable = c.area;
        QList<TInkPart> parts;
        for (const TInkCut& cut : InkOutsidePrintable(r, setup, 0)) parts << cut.Part;
        EXPECT_EQ(parts, c.cut) << c.area.left.v << "," << c.area.top.v << " " << c.area.width.v;
    }
    setup.Printable = TMmRect{Mm(0), digitsTop + Mm(1), Mm(100), Mm(148) - digitsTop - Mm(1)};
    const QList<TInkCut> cuts = InkOutsidePrintable(r, setup, 0);
    ASSERT_EQ(cuts.size(), 1);
    EXPECT_NEAR(cuts[0].Top.v, 1.0, 0.05);
    EXPECT_EQ(cuts[0].Left.v + cuts[0].Right.v + cuts[0].Bottom.v, 0);
    // The calibration offset moves the ink, and the cut with it.
    setup.Offset = {0, 5};
    EXPECT_NEAR(InkOutsidePrintable(r, setup, 0).value(0).Top.v, 0.5, 0.05);
    // No printable area known: nothing is drawn or cut.
    setup.Printable.reset();
    EXPECT_TRUE(InkOutsidePrintable(r, setup, 0).isEmpty());
}

TEST(PrintableArea, ALabelIsMeasuredInItsSlotOnTheSheet) {
    // 2 × 6 labels of 83.8 × 42.3 on A4: a right margin of 70 mm reaches into
    // the right column only.
    TLabelPaper label;
    label.Maker = QStringLiteral("M");
    label.Model = QStringLiteral("X");
    label.Width = Mm(83.8), label.Height = Mm(42.3);
    label.TopMargin = Mm(20.3), label.BottomMargin = Mm(22.9), label.LeftMargin = Mm(20.3),
    label.RightMargin = Mm(18.3);
    label.Columns = 2, label.Rows = 6;
    TPrintSettings st;
    st.Type = 1;
    st.Font = QStringLiteral("IPAPGothic");
    st.Frames = DefaultLabelFrames();
    TPieceSetup setup = MakePieceSetup(st, label, nullptr);
    setup.Printable = TMmRect{Mm(5), Mm(5), Mm(135), Mm(287)};
    const TUserInfo r = sample::FamilyOfFive();
    EXPECT_TRUE(InkOutsidePrintable(r, setup, 0).isEmpty());
    EXPECT_TRUE(InkOutsidePrintable(r, setup, 2).isEmpty());
    const QList<TInkCut> right = InkOutsidePrintable(r, setup, 1);
    ASSERT_FALSE(right.isEmpty());
    for (const TInkCut& c : right)
        EXPECT_GT(c.Right, Mm(0)) << InkPartCaption(c.Part).toStdString();
    // The slot of record 13 is the second column of the second sheet's top row.
    EXPECT_EQ(InkExtents(r, setup, 13).value(0).Ink.left.v,
              InkExtents(r, setup, 1).value(0).Ink.left.v);
}
