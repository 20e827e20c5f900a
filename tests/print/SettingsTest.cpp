// PRINT_CONF: defaults when absent, and a round trip.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "print/PrintSettings.h"

using namespace q2;

TEST(PrintSettings, DefaultsWhenTheFileIsMissing) {
    QTemporaryDir dir;
    const TPrintSettings s = LoadPrintSettings(dir.filePath("config.ini"));
    EXPECT_EQ(s.Type, 0);
    EXPECT_EQ(s.PostcardIndex, 3);
    EXPECT_TRUE(s.Vertical);
    EXPECT_EQ(s.Font, QString::fromUtf16(u"ＭＳ Ｐゴシック"));
    EXPECT_EQ(s.Frames.SZIP, (PreviewRect{PreviewPx(31), PreviewPx(469), PreviewPx(110), PreviewPx(18)}));
    EXPECT_EQ(s.SprintControl, 0);
    EXPECT_EQ(s.LatinVertical, TLatinInVertical::Sideways);
    EXPECT_EQ(s.NumeralsVertical, TVerticalNumerals::Kanji);
    EXPECT_EQ(s.AddressFloor, 10);
    EXPECT_EQ(s.LabelAddressFloor, 7);
    EXPECT_TRUE(KindOffset(s, 3).IsZero());
}

TEST(PrintSettings, RoundTrip) {
    QTemporaryDir dir;
    const QString path = dir.filePath("config.ini");
    TPrintSettings s;
    s.Type = 1;
    s.Vertical = false;
    s.PrintCostom = true;
    s.Font = QString::fromUtf16(u"@IPAexMincho");
    s.Frames = DefaultFrames(9, false);
    s.SuseNo = 4;
    s.PMaker = 2;
    s.PIndex = -1;
    s.LatinVertical = TLatinInVertical::Upright;
    s.NumeralsVertical = TVerticalNumerals::Arabic;
    s.AddressFloor = 9;
    SetKindOffset(s, 3, {10, -5});
    SetKindOffset(s, 6, {99, -99});  // clamped to ±5 mm
    SetLabelOffset(s, LabelOffsetKey(QString::fromUtf16(u"ヒサゴ"), QStringLiteral("CJH861S")), {-3, 2});
    EXPECT_EQ(KindOffset(s, 6), (TPrintOffset{50, -50}));
    ASSERT_TRUE(SavePrintSettings(path, s));
    TPrintSettings back = LoadPrintSettings(path);
    EXPECT_EQ(back.PostcardIndex, 3);  // not read on the label tab
    back.PostcardIndex = s.PostcardIndex;
    EXPECT_EQ(back, s);
}
