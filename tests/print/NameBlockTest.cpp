// The addressee name block: joint names and the office modes.
#include <gtest/gtest.h>

#include "print/AddresseeName.h"
#include "print/PrintText.h"
#include "print/TextNormalize.h"
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
const DeviceRect kFrame{DevicePx(1346), DevicePx(945), DevicePx(661), DevicePx(1795)};  // 年賀 NAM
DevicePx M(Points s, const QString& t) { return MeasureWidth(CreatePrintFont(Face(), 128, 0, kDpi, s), t); }

TNameInputs Inputs(const TUserInfo& r) {
    return {NormalizePrintText(r.PersonalFullName()), NormalizePrintText(r.PerSonalHonorificTitle),
            NormalizePrintText(r.OfficeName), NormalizePrintText(r.OfficePost),
            NormalizePrintText(r.OfficeOfficialPosition), NormalizePrintText(BuildJointNameList(r))};
}

TPrintNameData Layout(const TUserInfo& r, bool vertical = true, TPrintControlMode mode = TPrintControlMode::PersonalName) {
    return LayoutAddresseeName(Face(), kDpi, kG, vertical, kFrame, r.CommonUseTypePersonal, mode, Inputs(r));
}
}  // namespace

TEST(NameBlock, JointNamesOfTheMainFamilyShowOnlyGivenNamesUnderTheMainGivenName) {
    TUserInfo r = sample::Personal(u"佐藤", u"一郎", u"123", u"4567", u"", u"");
    sample::Joint(r, 0, u"佐藤 花子");
    sample::Joint(r, 1, u"佐藤　健太", u"ちゃん");
    for (bool vertical : {true, false}) {
        const TPrintNameData d = Layout(r, vertical);
        ASSERT_EQ(d.JointCount, 2);
        EXPECT_TRUE(d.JointFamily[0].isEmpty());
        EXPECT_TRUE(d.JointFamily[1].isEmpty());
        EXPECT_EQ(d.JointGiven[1], U(u"健太"));
        // Every honorific ends on one line: the foot of the columns, or one
        // right edge in horizontal writing.
        auto along = [&](DevicePoint p) { return vertical ? p.y : p.x; };
        const DevicePx foot = along(d.HonorificPos) + M(d.NameSize, U(u"様"));
        EXPECT_LE(foot, vertical ? kFrame.top + kFrame.height : kFrame.left + kFrame.width);
        EXPECT_EQ(along(d.JointHonorificPos[0]) + M(d.NameSize, U(u"様")), foot);
        EXPECT_EQ(along(d.JointHonorificPos[1]) + M(d.NameSize, U(u"ちゃん")), foot);
        for (int i = 0; i < 2; ++i) EXPECT_EQ(along(d.JointGivenPos[i]), along(d.GivenPos));
    }
}

// Columns (lines) a third of a cell apart at least, centred in the frame; no
// more than one cell between the characters of a name.
TEST(NameBlock, ColumnsApartCentredAndNotScattered) {
    struct Case {
        int joints;
        bool vertical;
    };
    const Case cases[] = {{0, true}, {0, false}, {2, true}, {4, true}, {4, false}};
    const char16_t* names[] = {u"佐藤 花子", u"佐藤 健太", u"美咲", u"鈴木 ハル"};
    for (const Case& c : cases) {
        TUserInfo r = sample::Personal(u"林", u"蓮", u"123", u"4567", u"", u"");
        for (int i = 0; i < c.joints; ++i) sample::Joint(r, i, names[i]);
        const TPrintNameData d = Layout(r, c.vertical);
        const TPrintFont f = CreatePrintFont(Face(), 128, 0, kDpi, d.NameSize);
        const DevicePx ch = TextHeight(f), cw = M(d.NameSize, U(u"あ"));
        EXPECT_LE(d.Pitch, cw) << c.joints;
        auto across = [&](DevicePoint p) { return c.vertical ? p.x : p.y; };
        DevicePx prev = across(d.FamilyPos);
        for (int i = 0; i < c.joints; ++i) {
            const DevicePx cur = across(d.JointGivenPos[i]);
            const DevicePx gap = c.vertical ? prev - cur - ch : cur - prev - ch;
            EXPECT_GE(gap.v * 3, ch.v - 3) << c.joints << " column " << i;
            prev = cur;
        }
        // The group's middle on the frame's middle (within a pixel or two).
        const DevicePx first = across(d.FamilyPos), last = c.joints ? across(d.JointGivenPos[c.joints - 1]) : first;
        const double mid = c.vertical ? (first.v + ch.v + last.v) / 2.0 : (first.v + last.v + ch.v) / 2.0;
        const double frameMid = c.vertical ? kFrame.left.v + kFrame.width.v / 2.0 : kFrame.top.v + kFrame.height.v / 2.0;
        EXPECT_NEAR(mid, frameMid, 2) << c.joints;
    }
}

TEST(NameBlock, DifferingFamilyKeptAndNoSpaceMeansGivenName) {
    TUserInfo r = sample::Personal(u"佐藤", u"一郎", u"123", u"4567", u"", u"");
    sample::Joint(r, 0, u"鈴木 ハル");
    sample::Joint(r, 1, u"美咲", u"ちゃん");
    const TPrintNameData d = Layout(r);
    EXPECT_EQ(d.JointFamily[0], U(u"鈴木"));
    EXPECT_EQ(d.JointFamily[1], QString());
    EXPECT_EQ(d.JointGiven[1], U(u"美咲"));
    EXPECT_EQ(d.JointHonorific[1], U(u"ちゃん"));
    // Given names align after the widest family, "佐藤"/"鈴木".
    EXPECT_EQ(d.GivenPos.y, d.FamilyPos.y + M(d.NameSize, U(u"佐藤")) + 2 * d.Pitch);
}

TEST(NameBlock, EmptyFullNameFallsToOnePoint) {
    TUserInfo r = sample::Personal(u"", u"", u"", u"", u"", u"");
    EXPECT_EQ(Layout(r).NameSize.v, 1);
}

TEST(NameBlock, OfficeRecordInModeZeroPrintsThePersonsName) {
    const TUserInfo r = sample::Office(0);
    const TPrintNameData d = Layout(r, true, TPrintControlMode::PersonalName);
    EXPECT_TRUE(d.PersonalLayout);
    EXPECT_EQ(d.FamilyName, U(u"高橋"));
    EXPECT_EQ(SelectAddresseeData(r).Address1, r.OfficeAddress_1);
    EXPECT_EQ(SelectAddresseeData(r).Zip, QStringLiteral("530-0001"));
}

TEST(NameBlock, OnchuEndsAtTheBottomOfTheDepartmentColumn) {
    TUserInfo r = sample::Office(1);
    TPrintNameData d = Layout(r, true, TPrintControlMode::CompanyDepartmentOnchu);
    EXPECT_FALSE(d.PersonalLayout);
    EXPECT_EQ(d.HonorificPos.x, d.DepartmentPos.x);
    EXPECT_EQ(d.HonorificPos.y + M(d.DepartmentSize, U(u"御中")), kFrame.top + kFrame.height);
    EXPECT_EQ(d.DepartmentPos.y, kFrame.top + M(d.CompanySize, U(u"あ")));
    EXPECT_GT(d.Pitch.v, 0);
    r.OfficePost.clear();
    d = Layout(r, true, TPrintControlMode::CompanyDepartmentOnchu);
    EXPECT_EQ(d.Pitch.v, 0);
    EXPECT_EQ(d.HonorificPos.x, d.DepartmentPos.x);
    d = Layout(r, false, TPrintControlMode::CompanyDepartmentOnchu);  // no division by zero
    EXPECT_EQ(d.Pitch.v, 0);
}

TEST(NameBlock, DonoColumnsSideBySideEachOneCharacterLower) {
    const TUserInfo r = sample::Office(2);
    const TPrintNameData d = Layout(r, true, TPrintControlMode::CompanyDepartmentPositionDono);
    const DevicePx cwA = M(d.CompanySize, U(u"あ")), cwB = M(d.DepartmentSize, U(u"あ"));
    EXPECT_EQ(d.DepartmentPos.y, kFrame.top + cwA);
    EXPECT_EQ(d.PositionPos.y, kFrame.top + cwA + cwB);
    EXPECT_LT(d.PositionPos.x, d.DepartmentPos.x);
    EXPECT_LT(d.DepartmentPos.x, d.CompanyPos.x);
    EXPECT_EQ(d.HonorificPos.y + M(d.PositionSize, U(u"殿")), kFrame.top + kFrame.height);
    EXPECT_EQ(d.PositionSize.v, d.CompanySize.v + 4);
}

TEST(NameBlock, NameModePositionAboveTheNameCentredOnItsColumn) {
    const TUserInfo r = sample::Office(3);
    const TPrintNameData d = Layout(r, true, TPrintControlMode::CompanyDepartmentPositionName);
    EXPECT_EQ(d.PositionPos.y, kFrame.top);
    EXPECT_EQ(d.FamilyPos.y, kFrame.top + M(d.PositionSize, U(u"部長 ")));
    EXPECT_EQ(d.HonorificPos.y + M(d.NameSize, U(u"様")), kFrame.top + kFrame.height);
    EXPECT_EQ(d.HonorificPos.x, d.FamilyPos.x);
    EXPECT_LE(d.PositionSize.v, 40);  // NameSize − 10 before the pitch shrinks the name
    const TPrintNameData h = Layout(r, false, TPrintControlMode::CompanyDepartmentPositionName);
    EXPECT_EQ(h.CompanyPos, (DevicePoint{kFrame.left, kFrame.top}));
    EXPECT_EQ(h.HonorificPos.x + M(h.NameSize, U(u"様")), kFrame.left + kFrame.width);
}
