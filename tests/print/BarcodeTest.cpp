// The customer barcode drawn as bars, read back from the rendered image.
#include <QPainter>
#include <gtest/gtest.h>

#include "print/CustomerBarcode.h"
#include "print/PieceRenderer.h"
#include "tests/print/Ink.h"
#include "tests/print/SampleRecords.h"

using namespace q2;
using namespace q2::ink;

namespace {

constexpr int kDpi = 600;
constexpr Dpi kResolution{kDpi, kDpi};

struct Decoded {
    QString Code;
    double PitchMm = 0, WidthMm = 0, LongMm = 0, TimingMm = 0;
    int Bars = 0;
};

// Reads the bar kinds from the image inside `area`, then the characters.
Decoded Decode(const QImage& img, QRect area) {
    struct Bar { int x0, x1, top, bottom; };
    QList<Bar> bars;
    int start = -1;
    for (int x = area.left(); x <= area.right() + 1; ++x) {
        bool any = false;
        if (x <= area.right())
            for (int y = area.top(); y <= area.bottom() && !any; ++y) any = Dark(img, x, y);
        if (any && start < 0) start = x;
        if (!any && start >= 0) {
            const QRect b = InkBox(img, QRect(start, area.top(), x - start, area.height()));
            bars.append({start, x - 1, b.top(), b.bottom()});
            start = -1;
        }
    }
    Decoded d;
    d.Bars = int(bars.size());
    if (bars.size() < 4) return d;
    int top = INT_MAX, bottom = 0;
    for (const Bar& b : bars) top = std::min(top, b.top), bottom = std::max(bottom, b.bottom);
    const double unit = (bottom - top + 1) / 6.0;
    QList<TBarKind> kinds;
    double timing = 0, width = 0;
    int timingCount = 0;
    for (const Bar& b : bars) {
        const bool up = b.top - top < unit / 2, down = bottom - b.bottom < unit / 2;
        kinds << (up && down ? TBarKind::Long : up ? TBarKind::Ascender : down ? TBarKind::Descender : TBarKind::Timing);
        if (!up && !down) timing += b.bottom - b.top + 1, ++timingCount;
        width += b.x1 - b.x0 + 1;
    }
    d.PitchMm = PxToMm(double(bars.last().x0 - bars.first().x0) / (bars.size() - 1), kDpi);
    d.WidthMm = PxToMm(width / bars.size(), kDpi);
    d.LongMm = PxToMm(bottom - top + 1, kDpi);
    d.TimingMm = timingCount ? PxToMm(timing / timingCount, kDpi) : 0;
    // Start and stop are two bars, every other character three.
    d.Code += CharOfBars(kinds.mid(0, 2));
    for (qsizetype i = 2; i + 2 < kinds.size(); i += 3) d.Code += CharOfBars(kinds.mid(i, 3));
    d.Code += CharOfBars(kinds.mid(kinds.size() - 2, 2));
    return d;
}

struct Rendered {
    QImage Image;
    QRect Frame;
    TPrintCostomerData Layout;
};

Rendered RenderCard(const TUserInfo& r, bool vertical, TBarcodeFunction fn = DefaultBarcodeFunction()) {
    TPrintSettings st;
    st.Vertical = vertical;
    st.Frames = DefaultFrames(3, vertical);
    st.PrintCostom = true;
    TPieceSetup setup = MakePieceSetup(st, std::nullopt, nullptr);
    setup.Barcode = fn;
    const Dpi dpi{kDpi, kDpi};
    const QSize size = PieceSizePx(setup, dpi);
    Rendered out{WhitePage(size.width(), size.height()), {}, {}};
    {
        QPainter p(&out.Image);
        RenderPiece(p, r, setup, dpi, PrintSpacing(dpi), TRenderPurpose::Print);
    }
    const DeviceRect f = FrameToDevice(st.Frames.CUS, setup.FrameScale(), dpi);
    out.Frame = QRect(f.left.v, f.top.v, f.width.v, f.height.v);
    out.Layout = LayoutCustomerBarcode(dpi, f, r.PersonalFullZip(), BarcodeAddress(r.PerSonalAddress_1, r.PerSonalAddress_2),
                                       Points(10), DefaultBarcodeFunction());
    return out;
}

}  // namespace

TEST(CustomerBarcode, BarTableRoundTrips) {
    for (QChar c : QStringLiteral("()0123456789-ABCDEFGH")) EXPECT_EQ(CharOfBars(BarsOf(c)), c);
    EXPECT_EQ(BarsOf(QLatin1Char('(')).size(), 2);
    // A font of 10 points advances one character three pitches: 3.6 mm.
    EXPECT_EQ(BarcodeAdvance(QLatin1Char('1'), Points(10), kResolution).v, RoundInt(3.6 * kDpi / 25.4));
}

TEST(CustomerBarcode, VerticalAndHorizontalCardsCarryTheSameBars) {
    const TUserInfo r = sample::Midoricho();
    for (bool vertical : {true, false}) {
        const Rendered card = RenderCard(r, vertical);
        ASSERT_TRUE(card.Layout.HasCode());
        const Decoded d = Decode(card.Image, card.Frame);
        EXPECT_EQ(d.Bars, 67) << vertical;
        EXPECT_EQ(d.Code, QStringLiteral("(26300233-30-8DDDDDDD4)")) << vertical;
    }
}

TEST(CustomerBarcode, BothDirectionsHandTheLibraryTheStoredAddress) {
    QStringList seen;
    const TBarcodeFunction spy = [&](const char* map, const char* zip, const char* address, char* out) {
        EXPECT_STREQ(map, "()ABCDEFGH");
        EXPECT_STREQ(zip, "263-0023");
        seen << QString::fromUtf8(address);  // the CP932 bytes, as bytes
        return DefaultBarcodeFunction()(map, zip, address, out);
    };
    const TUserInfo r = sample::Midoricho();
    RenderCard(r, true, spy);
    RenderCard(r, false, spy);
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0], seen[1]);
}

TEST(CustomerBarcode, DecodesBackWithJapanPostProportions) {
    TUserInfo r = sample::Midoricho();
    r.PerSonalAddress_2 = QString::fromUtf16(u"郵便ビル403号");
    const Rendered card = RenderCard(r, true);
    ASSERT_TRUE(card.Layout.HasCode());
    const Decoded d = Decode(card.Image, card.Frame);
    EXPECT_EQ(d.Code, QStringLiteral("(26300233-30-8-403DDD5)"));
    const double a = card.Layout.Size.v;
    EXPECT_GE(a, 8);  // the default frame takes the code at 8 points or more
    EXPECT_NEAR(d.PitchMm, 1.2 * a / 10, 0.05);
    EXPECT_NEAR(d.LongMm, 3.6 * a / 10, 0.05);
    EXPECT_NEAR(d.TimingMm, 1.2 * a / 10, 0.05);
    EXPECT_NEAR(d.WidthMm, 0.6 * a / 10, 0.05);
    EXPECT_LE(MeasureBarcodeWidth(card.Layout.Code, card.Layout.Size, kResolution).v, card.Frame.width());
}

TEST(CustomerBarcode, LibraryFailureDrawsNoBarcode) {
    const TBarcodeFunction failing = [](const char*, const char*, const char*, char*) { return 9; };
    const Rendered card = RenderCard(sample::Midoricho(), false, failing);
    EXPECT_TRUE(InkBox(card.Image, card.Frame).isNull());
}
