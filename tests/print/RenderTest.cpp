// Where the postal code digits land, on a QImage at 600 dpi.
#include <QPainter>
#include <gtest/gtest.h>

#include "print/PieceRenderer.h"
#include "print/PostalCodeBoxes.h"
#include "print/PrintFont.h"
#include "tests/print/Ink.h"
#include "tests/print/SampleRecords.h"

using namespace q2;
using namespace q2::ink;

namespace {

constexpr int kDpi = 600;
constexpr Dpi kResolution{kDpi, kDpi};

// Ink boxes of the characters, left to right, split at blank columns.
QList<QRect> Glyphs(const QImage& img) {
    QList<QRect> out;
    int start = -1;
    for (int x = 0; x <= img.width(); ++x) {
        bool any = false;
        if (x < img.width())
            for (int y = 0; y < img.height() && !any; ++y) any = Dark(img, x, y);
        if (any && start < 0) start = x;
        if (!any && start >= 0) {
            out << InkBox(img, QRect(start, 0, x - start, img.height()));
            start = -1;
        }
    }
    return out;
}

// Checks that digit i's cell starts at expected[i] mm (±0.2) and at the top.
void ExpectDigitCells(int kind, const double* offsetsMm, Points size) {
    const PreviewScale s = PictureScaleForKind(kind);
    const PreviewRect zip = DefaultFrames(kind, true).ZIP;
    const MmPoint origin{PreviewToMm(zip.left, s), PreviewToMm(zip.top, s)};
    const TPaperGeometry g = GeometryForKind(kind);
    QImage img = WhitePage(MmToDeviceX(g.UnitWidth, kResolution).v, MmToDeviceY(Mm(60), kResolution).v);
    {
        QPainter p(&img);
        DrawPostalCodeBoxes(p, QStringLiteral("123-4567endpostcode"), kResolution, origin, kind);
    }
    const QList<QRect> digits = Glyphs(img);
    ASSERT_EQ(digits.size(), 7);
    const TPrintFont f = CreatePrintFont(ResolveBoxFace(), kShiftJisCharset, 0, kResolution, size);
    const QString text = QStringLiteral("1234567");
    for (int i = 0; i < 7; ++i) {
        // The glyph's own ink offset inside its cell, from the font.
        const quint32 glyph = f.Raw().glyphIndexesForString(text.mid(i, 1)).value(0);
        const QRectF bounds = f.Raw().boundingRect(glyph);
        const double cellLeft = digits[i].left() - bounds.left();
        const double cellTop = digits[i].top() - (f.AscentPx() + bounds.top());
        EXPECT_NEAR(PxToMm(cellLeft, kDpi), origin.x.v + offsetsMm[i], 0.2) << "digit " << i;
        EXPECT_NEAR(PxToMm(cellTop, kDpi), origin.y.v, 0.2) << "digit " << i;
        EXPECT_LE(digits[i].right(), cellLeft + f.Advance(text[i].unicode()).v + 1);
    }
    EXPECT_EQ(TextHeight(f).v, RoundInt(size.v * kDpi / 72));
}

}  // namespace

// On the postcards and the 定形 envelopes the digits' ink sits at the centres
// of Japan Post's boxes (44.3 … 86.3 mm on a card, 12 mm down, 5.7 × 8 mm), at
// about 60 % of the box's height, and a dragged frame takes all seven along.
TEST(PostalCodeBoxes, DigitsAtTheCentresOfJapanPostsBoxes) {
    struct Case {
        int kind;
        double dx, dy;  // the ZIP frame moved from its default, mm
    };
    const Case cases[] = {{1, 0, 0}, {3, 0, 0}, {6, 0, 0}, {7, 0, 0}, {3, 2.5, -1.0}};
    for (const Case& c : cases) {
        const PreviewScale s = PictureScaleForKind(c.kind);
        const PreviewRect zip = DefaultFrames(c.kind, true).ZIP;
        const MmPoint origin{PreviewToMm(zip.left, s) + Mm(c.dx), PreviewToMm(zip.top, s) + Mm(c.dy)};
        const TPaperGeometry g = GeometryForKind(c.kind);
        QImage img = WhitePage(MmToDeviceX(g.UnitWidth, kResolution).v, MmToDeviceY(Mm(40), kResolution).v);
        {
            QPainter p(&img);
            DrawPostalCodeBoxes(p, QStringLiteral("100-0001endpostcode"), kResolution, origin, c.kind);
        }
        const QList<QRect> digits = Glyphs(img);
        ASSERT_EQ(digits.size(), 7) << c.kind;
        const std::array<TMmRect, 7> boxes = JapanPostBoxes(g.UnitWidth);
        EXPECT_NEAR(boxes[0].left.v, g.UnitWidth.v - 55.7, 1e-9);
        EXPECT_NEAR(boxes[6].left.v + boxes[6].width.v, g.UnitWidth.v - 8.0, 1e-9);
        for (int i = 0; i < 7; ++i) {
            const QRectF ink(digits[i]);
            EXPECT_NEAR(PxToMm(ink.center().x() + 0.5, kDpi), boxes[i].Centre().x.v + c.dx, 0.2) << c.kind << " " << i;
            EXPECT_NEAR(PxToMm(ink.center().y() + 0.5, kDpi), boxes[i].Centre().y.v + c.dy, 0.2) << c.kind << " " << i;
            EXPECT_NEAR(PxToMm(ink.height(), kDpi) / kJapanPostBoxHeight, 0.6, 0.08) << i;
        }
    }
}

TEST(PostalCodeBoxes, Kakugata2UsesThirtyPointsAtFourteenMillimetres) {
    const double offsets[] = {0, 14, 28, 44, 58, 72, 86};
    ExpectDigitCells(9, offsets, Points(30));
}

TEST(PostalCodeBoxes, SenderBoxesFourMillimetresAndOne) {
    QImage img = WhitePage(MmToDeviceX(Mm(60), kResolution).v, MmToDeviceY(Mm(20), kResolution).v);
    {
        QPainter p(&img);
        DrawSenderPostalCodeBoxes(p, QStringLiteral("150-0002endpostcode"), kResolution, {Mm(5), Mm(5)});
    }
    const QList<QRect> digits = Glyphs(img);
    ASSERT_EQ(digits.size(), 7);
    const TPrintFont f = CreatePrintFont(ResolveBoxFace(), kShiftJisCharset, 0, kResolution, Points(13));
    const double offsets[] = {0, 4, 8, 13, 17, 21, 25};
    const QString text = QStringLiteral("1500002");
    for (int i = 0; i < 7; ++i) {
        const QRectF b = f.Raw().boundingRect(f.Raw().glyphIndexesForString(text.mid(i, 1)).value(0));
        EXPECT_NEAR(PxToMm(digits[i].left() - b.left(), kDpi), 5 + offsets[i], 0.2) << i;
    }
}

TEST(PostalCodeBoxes, EmptyPostalCodeDrawsNothingAndNoBarcode) {
    TUserInfo r = sample::Midoricho();
    r.PerSonalZip_1.clear();
    r.PerSonalZip_2.clear();
    TPrintSettings st;
    st.PrintCostom = true;
    const TPieceSetup setup = MakePieceSetup(st, std::nullopt, nullptr);
    const Dpi dpi{kDpi, kDpi};
    QImage img = WhitePage(PieceSizePx(setup, dpi).width(), PieceSizePx(setup, dpi).height());
    {
        QPainter p(&img);
        RenderPiece(p, r, setup, dpi, PrintSpacing(dpi), TRenderPurpose::Print);
    }
    // Nothing above the address and name frames: no digits, no bars.
    const DeviceRect add = FrameToDevice(st.Frames.ADD, setup.FrameScale(), dpi);
    EXPECT_TRUE(InkBox(img, QRect(0, 0, img.width(), add.top.v - 1)).isNull());
    EXPECT_FALSE(InkBox(img).isNull());  // the address and name are there
    const TPrintCostomerData bc = LayoutCustomerBarcode(dpi, add, r.PersonalFullZip() + EndPostCodeMarker(),
                                                        r.PerSonalAddress_1, Points(10), DefaultBarcodeFunction());
    EXPECT_FALSE(bc.HasCode());
}

TEST(PostalCodeText, LabelCodeFittedInThePrintFace) {
    const TPrintFace face = ResolvePrintFace(QStringLiteral("IPAPGothic"));
    const DeviceRect frame{DevicePx(0), DevicePx(0), DevicePx(400), DevicePx(100)};
    const TPostalTextLayout l = FitPostalCodeText(face, kResolution, frame, QStringLiteral("123-4567endpostcode"), Points(30));
    const TPrintFont f = CreatePrintFont(face, kShiftJisCharset, 0, kResolution, l.Size);
    EXPECT_LE(MeasureWidth(f, QString::fromUtf16(u"〒123-4567")), frame.width);
    const TPrintFont bigger = CreatePrintFont(face, kShiftJisCharset, 0, kResolution, Points(l.Size.v + 1));
    EXPECT_GT(MeasureWidth(bigger, QString::fromUtf16(u"〒123-4567")), frame.width);
    EXPECT_EQ(PostalCodeLabelText(QStringLiteral(" endpostcode")), QStringLiteral(" "));
    // Narrower than "〒" plus the code at 1 point: drawn at 1 point.
    const DeviceRect tiny{DevicePx(0), DevicePx(0), DevicePx(3), DevicePx(10)};
    EXPECT_EQ(FitPostalCodeText(face, kResolution, tiny, QStringLiteral("123-4567"), Points(30)).Size.v, 1);
}
