// Derived texts of the address record.
#include <gtest/gtest.h>

#include "model/UserInfo.h"

using namespace q2;

TEST(UserInfo, NewRecordDerivedTexts) {
    TUserInfo r;
    EXPECT_EQ(r.PersonalFullName(), " ");
    EXPECT_EQ(r.PersonalFullNameKana(), " ");
    EXPECT_EQ(r.PersonalFullZip(), " ");
    EXPECT_EQ(r.OfficeFullZip(), " ");
    EXPECT_EQ(r.CommonHistoryOneLine(), "");
    EXPECT_EQ(r.CommonBirthday.date(), QDate(1899, 12, 30));
}

TEST(UserInfo, FullZipJoinsTheHalves) {
    struct Case { const char* first; const char* second; const char* full; };
    const Case cases[] = {
        {"100", "0001", "100-0001"}, {"100", "", "100"},   {" ", "0001", " 0001"},
        {"", "", " "},               {" ", " ", " "},      {"", "0001", "0001"},
    };
    for (const Case& c : cases) {
        TUserInfo r;
        r.PerSonalZip_1 = c.first;
        r.PerSonalZip_2 = c.second;
        r.OfficeZip_1 = c.first;
        r.OfficeZip_2 = c.second;
        EXPECT_EQ(r.PersonalFullZip(), c.full) << c.first << "|" << c.second;
        EXPECT_EQ(r.OfficeFullZip(), c.full);
    }
}

TEST(UserInfo, AgeCountsWholeYears) {
    struct Case { QDate birthday, today; int age; };
    const Case cases[] = {
        {{2000, 2, 29}, {2024, 2, 28}, 23}, {{2000, 2, 29}, {2024, 2, 29}, 24},
        {{2000, 2, 29}, {2023, 3, 1}, 23},  {{1990, 6, 15}, {1990, 6, 15}, 0},
        {{2023, 6, 16}, {2024, 6, 15}, 0},  {{2030, 1, 1}, {2024, 6, 15}, -6},
    };
    for (const Case& c : cases) {
        TUserInfo r;
        r.CommonBirthday = MakeDateTime(c.birthday, QTime(0, 0));
        EXPECT_EQ(r.PersonalAge(c.today), c.age) << c.birthday.toString().toStdString();
    }
}

TEST(UserInfo, HistoryOneLineJoinsEntriesWithCrLf) {
    TUserInfo r;
    r.CommonHistoryObjectList.Add({QDate(2024, 1, 2), "年賀状", "送付"});
    r.CommonHistoryObjectList.Add({QDate(2024, 7, 1), "暑中見舞い", ""});
    EXPECT_EQ(r.CommonHistoryOneLine(),
              QStringLiteral("[日付]2024/01/02[項目]年賀状[内容]送付\r\n[日付]2024/07/01[項目]暑中見舞い[内容]"));
    r.PerSonalName_1 = "山田";
    EXPECT_EQ(r.PersonalFullName(), QStringLiteral("山田 "));
}

TEST(UserInfo, DatesUseTheFixedFormat) {
    EXPECT_EQ(FormatDate(QDate(1899, 12, 30)), "1899/12/30");
    EXPECT_EQ(ParseDate(u"2024/2/3"), QDate(2024, 2, 3));
    for (const char16_t* bad : {u"2024/02/30", u"2024-02-03", u"2024/02", u"x", u"", u"2024//3"})
        EXPECT_FALSE(ParseDate(bad).isValid()) << QString::fromUtf16(bad).toStdString();
}
