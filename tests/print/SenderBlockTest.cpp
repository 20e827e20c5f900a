// The sender block.
#include <gtest/gtest.h>

#include "print/PrintText.h"
#include "print/SenderBlock.h"
#include "tests/print/SampleRecords.h"

using namespace q2;

namespace {
QString U(const char16_t* s) { return QString::fromUtf16(s); }
const TPrintFace& Face() {
    static const TPrintFace face = ResolvePrintFace(QStringLiteral("@IPAPGothic"));
    return face;
}
constexpr Dpi kDpi{600, 600};
const DevicePx kG = PrintSpacing(kDpi);
const DeviceRect kFrame{DevicePx(213), DevicePx(2126), DevicePx(472), DevicePx(968)};  // 年賀 SEN
DevicePx M(Points s, const QString& t) { return MeasureWidth(CreatePrintFont(Face(), 128, 0, kDpi, s), t); }
}  // namespace

TEST(SenderBlock, HomePageHttpOnlyIsNotPrinted) {
    TSenderInfo s = sample::PrivateSender();
    TPrintSenderData d = PrepareSenderData(s, false, false);
    EXPECT_TRUE(d.HomePageLabel.isEmpty());
    EXPECT_EQ(d.Contacts, 1);  // the telephone
    EXPECT_EQ(d.TelValue, U(u"０３―１２３４―５６７８"));
    s.SenderHomePage.Content = QStringLiteral("http://example.jp/");
    d = PrepareSenderData(s, false, false);
    EXPECT_EQ(d.HomePageLabel, U(u"ＨＰ　"));
    EXPECT_EQ(d.HomePageValue, QStringLiteral("http://example.jp/"));  // not normalised
}

TEST(SenderBlock, PostalCodeInTheAreaTakesTheFirstColumn) {
    const TPrintSenderData p = PrepareSenderData(sample::PrivateSender(), false, true);
    EXPECT_EQ(p.ZipLine, U(u"〒１５０―０００２"));
    EXPECT_EQ(p.AddressLines, 3);
    const TPrintSenderData d = LayoutSenderBlock(Face(), kDpi, kG, true, kFrame, p);
    const DevicePx ch = TextHeight(CreatePrintFont(Face(), 128, 0, kDpi, d.AddressSize));
    EXPECT_EQ(d.ZipLinePos, (DevicePoint{kFrame.left + kFrame.width - ch - kG, kFrame.top}));
    EXPECT_LT(d.Address1Pos.x, d.ZipLinePos.x);
    // Without a postal code the boxes are used.
    TSenderInfo none = sample::PrivateSender();
    none.SenderZip_1.clear();
    none.SenderZip_2.clear();
    EXPECT_TRUE(PrepareSenderData(none, false, true).ZipLine.isEmpty());
}

// Joint names of the sender's family print their given names only, each in
// a column of its own a third of a cell from the next: "中村" three times side
// by side used to overlap into "中中中".
TEST(SenderBlock, TwoJointNamesGiveThreeColumnsApartEndingAtTheBottom) {
    const TPrintSenderData d = LayoutSenderBlock(Face(), kDpi, kG, true, kFrame,
                                                 PrepareSenderData(sample::PrivateSender(), false, false));
    ASSERT_EQ(d.Names, 3);
    EXPECT_TRUE(d.JointFamily[0].isEmpty());
    EXPECT_EQ(d.JointGiven[0], U(u"由美"));
    EXPECT_EQ(d.JointGiven[1], U(u"蓮"));
    const QString widest = U(u"大輔");  // the widest given name
    const DevicePx bottom = kFrame.top + kFrame.height;
    EXPECT_EQ(d.GivenPos.y + M(d.NameSize, widest) + 2 * d.Pitch, bottom);
    const DevicePx ch = TextHeight(CreatePrintFont(Face(), 128, 0, kDpi, d.NameSize));
    DevicePx prev = d.GivenPos.x;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(d.JointGivenPos[i].y, d.GivenPos.y);
        EXPECT_GE((prev - d.JointGivenPos[i].x - ch).v * 3, ch.v - 3) << i;
        prev = d.JointGivenPos[i].x;
    }
    EXPECT_EQ(d.FamilyPos.y.v, RoundInt(kFrame.top.v + kFrame.height.v * 0.25));
    // Another family keeps its name.
    TSenderInfo other = sample::PrivateSender();
    other.PersonalJointNameObj_1 = {true, U(u"鈴木 ハル")};
    EXPECT_EQ(PrepareSenderData(other, false, false).JointFamily[0], U(u"鈴木"));
}

TEST(SenderBlock, OfficeSenderWithPositionOnlyUsesTheOfficeArrangement) {
    TSenderInfo s = sample::PrivateSender();
    s.OfficeOfficialPosition = {true, U(u"課長")};
    const TPrintSenderData d = LayoutSenderBlock(Face(), kDpi, kG, true, kFrame, PrepareSenderData(s, true, false));
    EXPECT_EQ(d.CompanyLines, 0);
    EXPECT_EQ(d.Names, 1);
    EXPECT_EQ(d.PositionPos.y.v, RoundInt(kFrame.top.v + kFrame.height.v * 0.15));
    EXPECT_EQ(d.FamilyPos.y.v, RoundInt(kFrame.top.v + kFrame.height.v * 0.4));
}
