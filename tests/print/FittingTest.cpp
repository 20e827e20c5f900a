// FitAddressLines: the shrink rule and the placement of line 2.
#include <gtest/gtest.h>

#include "print/AddressLines.h"
#include "print/PrintFont.h"

using namespace q2;

namespace {
QString U(const char16_t* s) { return QString::fromUtf16(s); }
const TPrintFace& Face() {
    static const TPrintFace face = ResolvePrintFace(QStringLiteral("@IPAPGothic"));
    return face;
}
constexpr int kDpi = 600;
const DevicePx kG = PrintSpacing(kDpi);
// 年賀 vertical address frame at 600 dpi: 9 × 76 mm.
const DeviceRect kFrame{DevicePx(1819), DevicePx(945), DevicePx(213), DevicePx(1795)};
DevicePx M(Points s, const QString& t) { return MeasureWidth(CreatePrintFont(Face(), 128, 0, kDpi, s), t); }
}  // namespace

TEST(FitAddressLines, TwoEmptyLinesKeepTheStartSize) {
    const DeviceRect big{DevicePx(0), DevicePx(0), DevicePx(3000), DevicePx(3000)};
    EXPECT_EQ(FitAddressLines(Face(), kDpi, kG, true, big, {}, {}, Points(100)).Size.v, 100);
    EXPECT_EQ(FitAddressLines(Face(), kDpi, kG, false, big, {}, {}, Points(100)).Size.v, 100);
}

TEST(FitAddressLines, LongLineOneShrinksToTheLargestFittingSize) {
    const QString line1 = U(u"千葉県千葉市稲毛区緑町三丁目三〇―八グランドメゾン稲毛");
    const AddressLayout l = FitAddressLines(Face(), kDpi, kG, true, kFrame, line1, U(u"四〇三号"), Points(100));
    const QString a = U(u"あ");
    ASSERT_GT(l.Size.v, 1);
    EXPECT_LE(M(l.Size, line1 + a), kFrame.height);
    EXPECT_GT(M(Points(l.Size.v + 1), line1 + a), kFrame.height);
    // Far too long: 1 point, never less.
    EXPECT_EQ(FitAddressLines(Face(), kDpi, kG, true, {DevicePx(0), DevicePx(0), DevicePx(5), DevicePx(5)},
                              line1, {}, Points(100)).Size.v, 1);
}

TEST(FitAddressLines, VerticalLineTwoEndsOnTheFramesBottomEdge) {
    const QString line1 = U(u"千葉市稲毛区緑町三丁目三〇―八");
    const QString line2 = U(u"郵便ビル四〇三号");
    const AddressLayout l = FitAddressLines(Face(), kDpi, kG, true, kFrame, line1, line2, Points(100));
    const DevicePx cw = M(l.Size, U(u"あ"));
    ASSERT_GT(M(l.Size, line1 + line2) - cw, kFrame.height);  // would overflow
    EXPECT_EQ(l.Line2.y + M(l.Size, line2), kFrame.top + kFrame.height);
    const DevicePx ch = TextHeight(CreatePrintFont(Face(), 128, 0, kDpi, l.Size));
    EXPECT_EQ(l.Line1, (DevicePoint{kFrame.left + kFrame.width - kG - ch, kFrame.top}));
    EXPECT_EQ(l.Line2.x, kFrame.left + kFrame.width - 2 * kG - 2 * ch);
}

TEST(FitAddressLines, LongerLineTwoIsIndentedByOneCharacter) {
    const DeviceRect f{DevicePx(0), DevicePx(0), DevicePx(3000), DevicePx(400)};
    const AddressLayout l = FitAddressLines(Face(), kDpi, kG, false, f, U(u"港区"), U(u"芝公園四丁目二―八"), Points(100));
    EXPECT_EQ(l.Line2.x, M(l.Size, U(u"あ")));
    EXPECT_EQ(l.Line1.y, kG);
}
