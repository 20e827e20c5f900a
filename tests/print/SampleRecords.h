// Records and senders the print tests, benchmarks and gallery draw.
#pragma once

#include <QString>

#include "model/SenderInfo.h"
#include "model/UserInfo.h"

namespace q2::sample {

inline QString U(const char16_t* s) { return QString::fromUtf16(s); }

inline TUserInfo Personal(const char16_t* family, const char16_t* given, const char16_t* zip1,
                          const char16_t* zip2, const char16_t* a1, const char16_t* a2) {
    TUserInfo r;
    r.CommonUseTypePersonal = true;
    r.CommonPrintCheck = true;
    r.PerSonalName_1 = U(family);
    r.PerSonalName_2 = U(given);
    r.PerSonalHonorificTitle = U(u"様");
    r.PerSonalZip_1 = U(zip1);
    r.PerSonalZip_2 = U(zip2);
    r.PerSonalAddress_1 = U(a1);
    r.PerSonalAddress_2 = U(a2);
    return r;
}

inline void Joint(TUserInfo& r, int i, const char16_t* name, const char16_t* honorific = u"様") {
    TJointNameObject& j = r.JointName(i);
    j.PrintData = true;
    j.PrintName = U(name);
    j.HonorificTitle = U(honorific);
}

// The barcode example: 263-0023 千葉市稲毛区緑町3丁目30-8.
inline TUserInfo Midoricho() {
    return Personal(u"山田", u"太郎", u"263", u"0023", u"千葉市稲毛区緑町3丁目30-8", u"");
}

// A family card: main name and four joint names, two of the main family.
inline TUserInfo FamilyOfFive() {
    TUserInfo r = Personal(u"佐藤", u"一郎", u"123", u"4567", u"東京都港区芝公園4-2-8",
                           u"ｸﾞﾗﾝﾃﾞ芝公園ー1203号");
    Joint(r, 0, u"佐藤 花子");
    Joint(r, 1, u"佐藤 健太", u"くん");
    Joint(r, 2, u"美咲", u"ちゃん");
    Joint(r, 3, u"鈴木 ハル");
    return r;
}

// A long Kyoto address (通り名 and 上る) with a Latin building name, ＦＬ and 号室.
inline TUserInfo KyotoLong() {
    return Personal(u"西園寺", u"公子", u"604", u"8006", u"京都府京都市中京区河原町通三条上る下丸屋町403-12",
                    u"KYOTO RIVER FLAT 25FL 2503号室");
}

// A Latin name in a building with a Latin name.
inline TUserInfo LatinName() {
    TUserInfo r = Personal(u"Brown", u"Emily", u"105", u"0011", u"東京都港区芝公園1-23-45",
                           u"ＭＩＮＡＴＯ　ＴＯＷＥＲ　７Ｆ");
    return r;
}

inline TUserInfo Office(int mode) {
    (void)mode;
    TUserInfo r;
    r.CommonUseTypePersonal = false;
    r.CommonPrintCheck = true;
    r.PerSonalName_1 = U(u"高橋");
    r.PerSonalName_2 = U(u"誠");
    r.PerSonalHonorificTitle = U(u"様");
    r.OfficeName = U(u"株式会社ゼベル商事");
    r.OfficePost = U(u"営業本部第二営業部");
    r.OfficeOfficialPosition = U(u"部長");
    r.OfficeZip_1 = U(u"530");
    r.OfficeZip_2 = U(u"0001");
    r.OfficeAddress_1 = U(u"大阪府大阪市北区梅田1-2-3");
    r.OfficeAddress_2 = U(u"大阪駅前第3ビル15F");
    return r;
}

inline TSenderInfo PrivateSender() {
    TSenderInfo s;
    s.SenderName_1 = U(u"中村");
    s.SenderName_2 = U(u"大輔");
    s.SenderZip_1 = U(u"150");
    s.SenderZip_2 = U(u"0002");
    s.SenderAddress_1 = U(u"東京都渋谷区渋谷2-21-1");
    s.SenderAddress_2 = U(u"ヒカリエ303");
    s.SenderTel_1 = {true, U(u"03-1234-5678")};
    s.SenderHomePage = {true, U(u"http://")};
    s.PersonalJointNameObj_1 = {true, U(u"中村 由美")};
    s.PersonalJointNameObj_2 = {true, U(u"中村 蓮")};
    return s;
}

inline TSenderInfo OfficeSender() {
    TSenderInfo s = PrivateSender();
    s.OfficeName = {true, U(u"有限会社ザベル")};
    s.OfficePost = {true, U(u"開発部")};
    s.OfficeOfficialPosition = {true, U(u"課長")};
    s.SenderFax_1 = {true, U(u"03-1234-5679")};
    s.SenderMail_1 = {true, U(u"nakamura@example.jp")};
    return s;
}

}  // namespace q2::sample
