// FitAddressLines: the shrink rule and the placement of line 2.
#include <gtest/gtest.h>

#include "print/AddressLines.h"
#include "print/PaperModel.h"
#include "print/PrintFont.h"

using namespace q2;

namespace {
QString U(const char16_t* s) { return QString::fromUtf16(s); }
const TPrintFace& Face() {
    static const TPrintFace face = ResolvePrintFace(QStringLiteral("@IPAPGothic"));
    return face;
}
constexpr Dpi kDpi{600, 600};
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
    const QString line1 = U(u"千葉県千葉市稲毛区緑町三丁目三〇―八");
    const QString line2 = U(u"郵便ビル四〇三号");
    const AddressLayout l = FitAddressLines(Face(), kDpi, kG, true, kFrame, line1, line2, Points(100));
    ASSERT_EQ(l.Positions.size(), 2);
    const DevicePx cw = M(l.Size, U(u"あ"));
    ASSERT_GT(M(l.Size, line1 + line2) - cw, kFrame.height);  // would overflow
    EXPECT_EQ(l.Positions[1].y + M(l.Size, line2), kFrame.top + kFrame.height);
    const DevicePx ch = TextHeight(CreatePrintFont(Face(), 128, 0, kDpi, l.Size));
    EXPECT_EQ(l.Positions[0], (DevicePoint{kFrame.left + kFrame.width - kG - ch, kFrame.top}));
    // Columns half a cell apart where the frame has room, a quarter at least.
    const DevicePx gap = l.Positions[0].x - l.Positions[1].x - ch;
    EXPECT_GE(gap.v * 4, ch.v - 2);
    EXPECT_LE(gap.v * 2, ch.v + 1);
}

TEST(FitAddressLines, LongerLineTwoIsIndentedByOneCharacter) {
    const DeviceRect f{DevicePx(0), DevicePx(0), DevicePx(3000), DevicePx(400)};
    const AddressLayout l = FitAddressLines(Face(), kDpi, kG, false, f, U(u"港区"), U(u"芝公園四丁目二―八"), Points(100));
    ASSERT_EQ(l.Positions.size(), 2);
    EXPECT_EQ(l.Positions[1].x, M(l.Size, U(u"あ")));
    EXPECT_EQ(l.Positions[0].y, kG);
}

TEST(BreakAddressLine, PreferredPlacesInOrder) {
    struct Case {
        const char16_t* line;
        const char16_t* first;  // nullptr: no break
        const char16_t* second;
    };
    const Case cases[] = {
        // After a block number group: 号, 番地, the numbers after 丁目.
        {u"大阪府大阪市北区梅田三丁目１番３号大阪ステーションシティ", u"大阪府大阪市北区梅田三丁目１番３号", u"大阪ステーションシティ"},
        {u"長野県上田市真田町長１２３番地真田荘", u"長野県上田市真田町長１２３番地", u"真田荘"},
        {u"港区芝公園四丁目２―８東京タワー", u"港区芝公園四丁目２―８", u"東京タワー"},
        // 号室 is no block number: before the building word, its number kept.
        {u"大阪ステーションシティノースゲートビルディング２７階ＡＢＣ法律事務所内",
         u"大阪ステーションシティノースゲートビルディング", u"２７階ＡＢＣ法律事務所内"},
        {u"グランドメゾン稲毛マンション４０３号室", u"グランドメゾン稲毛マンション", u"４０３号室"},
        // At a blank, the blank dropped.
        {u"ＫＹＯＴＯ　ＲＩＶＥＲ　ＦＬＡＴ", u"ＫＹＯＴＯ", u"ＲＩＶＥＲ　ＦＬＡＴ"},
        {u"千代田区", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const auto parts = BreakAddressLine(U(c.line));
        if (!c.first) {
            EXPECT_FALSE(parts) << U(c.line).toStdString();
            continue;
        }
        ASSERT_TRUE(parts) << U(c.line).toStdString();
        EXPECT_EQ(parts->first, U(c.first));
        EXPECT_EQ(parts->second, U(c.second));
    }
}

// The long office address: at the floor or above, in two or three lines,
// one size, within the frame; a hopeless one is drawn at the floor and marked.
TEST(FitAddressLines, BreaksInsteadOfShrinkingBelowTheFloor) {
    const QString line = U(u"大阪府大阪市北区梅田三丁目１番３号大阪ステーションシティノースゲートビルディング２７階ＡＢＣ法律事務所内");
    const Dpi dpi = kDpi;
    for (bool vertical : {true, false}) {
        const TPrintFace face = ResolvePrintFace(QStringLiteral("IPAPGothic"));
        const TLayoutFrames fr = DefaultFrames(3, vertical);
        const DeviceRect add = FrameToDevice(fr.ADD, PreviewScaleOf(PreviewAreaForKind(3), Mm(100)), dpi);
        const AddressLayout l = FitAddressLines(vertical ? Face() : face, kDpi, kG, vertical, add, line, {},
                                                Points(100), Points(10));
        EXPECT_FALSE(l.Overflow);
        EXPECT_GE(l.Size.v, 10);
        EXPECT_GE(l.Lines.size(), 2);
        EXPECT_LE(l.Lines.size(), 3);
        EXPECT_EQ(l.Lines.join(QString()), line);
        const TPrintFont f = CreatePrintFont(vertical ? Face() : face, 128, 0, kDpi, l.Size);
        for (qsizetype i = 0; i < l.Lines.size(); ++i) {
            const DevicePoint p = l.Positions[i];
            const DevicePx end = (vertical ? p.y : p.x) + MeasureWidth(f, l.Lines[i]);
            EXPECT_LE(end, vertical ? add.bottom() : add.right()) << i;
            EXPECT_GE(vertical ? p.x : p.y, vertical ? add.left : add.top) << i;
        }
    }
    const DeviceRect small{DevicePx(0), DevicePx(0), DevicePx(400), DevicePx(900)};
    const AddressLayout l = FitAddressLines(Face(), kDpi, kG, true, small, line, {}, Points(100), Points(10));
    EXPECT_TRUE(l.Overflow);
    EXPECT_EQ(l.Size.v, 10);
}
