// Derived texts of the address record and the table of its fields.
#include <gtest/gtest.h>

#include "model/RecordField.h"
#include "model/UserInfo.h"
#include "platform/Clock.h"

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

namespace {

const QDate kToday(2024, 6, 15);
const QDateTime kNow = MakeDateTime(kToday, QTime(9, 30));

TUserInfo SampleRecord() {
    TUserInfo r;
    r.PerSonalKana_1 = "ヤマダ";
    r.PerSonalKana_2 = "タロウ";
    r.PerSonalName_1 = "山田";
    r.PerSonalName_2 = "太郎";
    r.PerSonalHonorificTitle = "様";
    r.PerSonalZip_1 = "263";
    r.PerSonalZip_2 = "0023";
    r.PerSonalAddress_1 = "千葉県千葉市稲毛区緑町1-1";
    r.PerSonalTel_1 = "043-000-0000";
    r.PerSonalMail_2 = "taro@example.jp";
    r.PerSonalHomePage = "http://example.jp/";
    r.PersonalSex = TThSex::tsMale;
    r.OfficeKana = "ミドリショウジ";
    r.OfficeName = "緑商事";
    r.OfficeZip_1 = "100";
    r.OfficeTel_2 = "03-0000-0001";
    r.OfficePost = "営業部";
    r.CommonJointNameObj_2.PrintName = "花子";
    r.CommonJointNameObj_2.HonorificTitle = "様";
    r.CommonMemo = "一行目\r\n二行目";
    r.CommonHistoryObjectList.Add({QDate(2024, 1, 2), "年賀状", "送付"});
    r.CommonPrintCheck = true;
    r.CommonUseTypePersonal = false;
    r.CommonRegistDate = MakeDateTime(QDate(2023, 12, 1), QTime(10, 0));
    r.CommonBirthday = MakeDateTime(QDate(1980, 6, 16));
    r.CommonCategory_1 = "友達";
    r.CommonInsertStr_3 = "差込み";
    return r;
}

}  // namespace

TEST(RecordField, EveryIdHasItsRowAndPropertyName) {
    ASSERT_EQ(RecordFields().size(), size_t(kRecordFieldCount));
    for (int i = 0; i < kRecordFieldCount; ++i) {
        const TRecordField& f = RecordField(static_cast<TRecordFieldId>(i));
        EXPECT_EQ(static_cast<int>(f.Id), i);
        EXPECT_TRUE(f.Member || f.Get) << f.Name;
    }
    EXPECT_STREQ(RecordField(TRecordFieldId::PerSonalHomePage).Name, "PerSonalHomePage");
    EXPECT_STREQ(RecordField(TRecordFieldId::CommonJointNameObj_3_HonorificTitle).Name,
                 "CommonJointNameObj_3.HonorificTitle");
}

TEST(RecordField, TextsOfASampleRecord) {
    const TUserInfo r = SampleRecord();
    using I = TRecordFieldId;
    struct Case {
        I id;
        const char* text;
        const char* search;  // nullptr: the same as text
        const char* csv;     // nullptr: the same as text
    };
    const Case cases[] = {
        {I::PerSonalHonorificTitle, "様", nullptr, nullptr},
        {I::PerSonalMail_2, "taro@example.jp", nullptr, nullptr},
        {I::PersonalSex, "男性", nullptr, nullptr},
        {I::PersonalAge, "43", "043", "43"},
        {I::OfficeName, "緑商事", nullptr, nullptr},
        {I::CommonJointNameObj_2_PrintName, "花子", nullptr, nullptr},
        {I::CommonJointNameObj_2_HonorificTitle, "様", nullptr, nullptr},
        {I::CommonJointNameObj_3_PrintName, "", nullptr, nullptr},
        {I::CommonMemo, "一行目\r\n二行目", nullptr, nullptr},
        {I::CommonPrintCheck, "●", "印刷する", nullptr},
        {I::CommonUseTypePersonal, "会社用", nullptr, nullptr},
        {I::CommonRegistDate, "2023/12/01", nullptr, nullptr},
        {I::CommonBirthday, "1980/06/16", nullptr, nullptr},
        {I::CommonInsertStr_3, "差込み", nullptr, nullptr},
        {I::PersonalFullName, "山田 太郎", nullptr, nullptr},
        {I::PersonalFullNameKana, "ヤマダ タロウ", nullptr, nullptr},
        {I::PersonalFullZip, "263-0023", nullptr, nullptr},
        {I::OfficeFullZip, "100", nullptr, nullptr},
        {I::CommonHistoryOneLine, "[日付]2024/01/02[項目]年賀状[内容]送付", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const TRecordField& f = RecordField(c.id);
        EXPECT_EQ(f.Text(r, kToday), QString::fromUtf8(c.text)) << f.Name;
        EXPECT_EQ(f.SearchText(r, kToday), QString::fromUtf8(c.search ? c.search : c.text)) << f.Name;
        EXPECT_EQ(f.ExportText(r, kToday), QString::fromUtf8(c.csv ? c.csv : c.text)) << f.Name;
    }
    // A plain text property shows exactly what is stored.
    for (const TRecordField& f : RecordFields())
        if (f.Member) {
            EXPECT_EQ(f.Text(r, kToday), r.*f.Member) << f.Name;
        }
}

TEST(RecordField, WithoutABirthdayTheListShowsNoAgeButSearchAndExportCountFrom1899) {
    TUserInfo r;
    const TRecordField& age = RecordField(TRecordFieldId::PersonalAge);
    EXPECT_EQ(age.Text(r, kToday), "");
    EXPECT_EQ(age.SearchText(r, kToday), "124");
    EXPECT_EQ(age.ExportText(r, kToday), "124");
    EXPECT_EQ(age.SortKey(r, kToday), -1);
    r.CommonPrintCheck = false;
    r.CommonUseTypePersonal = true;
    EXPECT_EQ(RecordField(TRecordFieldId::CommonPrintCheck).Text(r, kToday), "");
    EXPECT_EQ(RecordField(TRecordFieldId::CommonPrintCheck).SearchText(r, kToday), "印刷しない");
    EXPECT_EQ(RecordField(TRecordFieldId::CommonUseTypePersonal).Text(r, kToday), "個人用");
    EXPECT_EQ(RecordField(TRecordFieldId::PersonalSex).Text(r, kToday), "未設定");
}

TEST(RecordField, WithoutADayAgesCountOnTheProgramClock) {
    SetNowForTesting(QDateTime(kToday, QTime(12, 0)));
    const TUserInfo r = SampleRecord();
    const TRecordField& age = RecordField(TRecordFieldId::PersonalAge);
    EXPECT_EQ(age.Text(r), "43");
    EXPECT_EQ(age.SearchText(r), "043");
    EXPECT_EQ(age.ExportText(r), "43");
    EXPECT_EQ(age.SortKey(r), 43);
    EXPECT_EQ(age.Text(r, QDate(2030, 6, 16)), "50");
    SetNowForTesting(std::nullopt);
}

TEST(RecordField, SettersTakeWhatTheGettersShow) {
    const TUserInfo sample = SampleRecord();
    for (const TRecordField& f : RecordFields()) {
        if (!f.Writable()) continue;
        TUserInfo r;
        f.SetText(r, f.Text(sample, kToday), kNow);
        EXPECT_EQ(f.Text(r, kToday), f.Text(sample, kToday)) << f.Name;
    }
}

TEST(RecordField, SettersSplitAndNormaliseTheText) {
    using I = TRecordFieldId;
    struct Case {
        I id;
        const char* text;
        QString TUserInfo::*first;
        QString TUserInfo::*second;  // nullptr: a single member
        const char* want1;
        const char* want2;
    };
    const Case cases[] = {
        {I::PersonalFullName, "山田 太郎", &TUserInfo::PerSonalName_1, &TUserInfo::PerSonalName_2,
         "山田", "太郎"},
        {I::PersonalFullName, "Smith", &TUserInfo::PerSonalName_1, &TUserInfo::PerSonalName_2,
         "Ｓｍｉｔｈ", ""},
        {I::PersonalFullNameKana, "ﾔﾏﾀﾞ ﾀﾛｳ", &TUserInfo::PerSonalKana_1,
         &TUserInfo::PerSonalKana_2, "ヤマダ", "タロウ"},
        {I::PersonalFullZip, "２６３－００２３", &TUserInfo::PerSonalZip_1,
         &TUserInfo::PerSonalZip_2, "263", "0023"},
        {I::OfficeFullZip, "1000001", &TUserInfo::OfficeZip_1, &TUserInfo::OfficeZip_2,
         "1000001", ""},
        {I::PerSonalTel_1, "０４３－０００", &TUserInfo::PerSonalTel_1, nullptr, "043-000", ""},
        {I::OfficeHomePage, "ｈｔｔｐ：／／ａ", &TUserInfo::OfficeHomePage, nullptr, "http://a", ""},
        {I::OfficeKana, "ﾐﾄﾞﾘ", &TUserInfo::OfficeKana, nullptr, "ミドリ", ""},
        {I::PerSonalAddress_1, "緑町1-1 ", &TUserInfo::PerSonalAddress_1, nullptr, "緑町1-1 ", ""},
    };
    for (const Case& c : cases) {
        TUserInfo r;
        RecordField(c.id).SetText(r, QString::fromUtf8(c.text), kNow);
        EXPECT_EQ(r.*c.first, QString::fromUtf8(c.want1)) << c.text;
        if (c.second) {
            EXPECT_EQ(r.*c.second, QString::fromUtf8(c.want2)) << c.text;
        }
    }

    TUserInfo r;
    const TRecordField& sex = RecordField(I::PersonalSex);
    sex.SetText(r, " 女性 ", kNow);
    EXPECT_EQ(r.PersonalSex, TThSex::tsFemale);
    sex.SetText(r, "女", kNow);
    EXPECT_EQ(r.PersonalSex, TThSex::tsNone);
    const TRecordField& birthday = RecordField(I::CommonBirthday);
    birthday.SetText(r, "１９８０/６/１６", kNow);
    EXPECT_EQ(r.CommonBirthday, MakeDateTime(QDate(1980, 6, 16)));
    birthday.SetText(r, "不明", kNow);
    EXPECT_EQ(r.CommonBirthday, kNow);
    // Read-only fields are left as they are.
    RecordField(I::CommonRegistDate).SetText(r, "2020/01/01", kNow);
    RecordField(I::PersonalAge).SetText(r, "30", kNow);
    EXPECT_EQ(r, [&] {
        TUserInfo want;
        want.PersonalSex = TThSex::tsNone;
        want.CommonBirthday = kNow;
        return want;
    }());
}

TEST(RecordField, SortKeys) {
    using I = TRecordFieldId;
    TUserInfo female, male, none;
    female.PersonalSex = TThSex::tsFemale;
    male.PersonalSex = TThSex::tsMale;
    const TRecordField& sex = RecordField(I::PersonalSex);
    EXPECT_LT(sex.SortKey(female, kToday), sex.SortKey(male, kToday));
    EXPECT_LT(sex.SortKey(male, kToday), sex.SortKey(none, kToday));
    EXPECT_FALSE(RecordField(I::PersonalFullName).SortsByNumber());
    EXPECT_FALSE(RecordField(I::CommonMemo).SortsByNumber());
    const TUserInfo r = SampleRecord();
    EXPECT_EQ(RecordField(I::CommonBirthday).SortKey(r, kToday), QDate(1980, 6, 16).toJulianDay());
    EXPECT_EQ(RecordField(I::PersonalAge).SortKey(r, kToday), 43);
    EXPECT_EQ(RecordField(I::CommonPrintCheck).SortKey(r, kToday), 1);
    EXPECT_EQ(RecordField(I::CommonUseTypePersonal).SortKey(r, kToday), 0);
}

// q2tool writes the JSON keys in this order.
TEST(UserInfoTextFields, EveryStoredTextInPropertyOrder) {
    const char* const names[] = {
        "PerSonalKana_1",    "PerSonalKana_2",    "PerSonalName_1",    "PerSonalName_2",
        "PerSonalHonorificTitle", "PerSonalZip_1", "PerSonalZip_2",    "PerSonalAddress_1",
        "PerSonalAddress_2", "PerSonalTel_1",     "PerSonalTel_2",     "PerSonalMail_1",
        "PerSonalMail_2",    "PerSonalHomePage",  "OfficeKana",        "OfficeName",
        "OfficeZip_1",       "OfficeZip_2",       "OfficeAddress_1",   "OfficeAddress_2",
        "OfficeTel_1",       "OfficeTel_2",       "OfficeMail_1",      "OfficeMail_2",
        "OfficeHomePage",    "OfficePost",        "OfficeOfficialPosition", "CommonMemo",
        "CommonCategory_1",  "CommonCategory_2",  "CommonInsertStr_1", "CommonInsertStr_2",
        "CommonInsertStr_3", "CommonInsertStr_4",
    };
    const auto& fields = UserInfoTextFields();
    ASSERT_EQ(fields.size(), std::size(names));
    TUserInfo r;
    for (size_t i = 0; i < fields.size(); ++i) {
        EXPECT_STREQ(fields[i].Name, names[i]);
        r.*fields[i].Member = QString::number(i);
    }
    // Each name reaches its own property.
    EXPECT_EQ(r.PerSonalHonorificTitle, "4");
    EXPECT_EQ(r.OfficeName, "15");
    EXPECT_EQ(r.CommonMemo, "27");
    EXPECT_EQ(r.CommonInsertStr_4, "33");
}
