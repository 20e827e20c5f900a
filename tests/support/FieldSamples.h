// Records for the tests of the views that show record fields: the list,
// the search, the CSV export and import and the print lists.
#pragma once

#include <QDate>
#include <QString>

#include "model/UserInfo.h"

namespace q2test {

// The day the samples' ages are counted on.
inline const QDate kFieldSampleToday(2024, 6, 15);

// A record whose every field holds a text of its own, so that a column that
// shows the wrong field shows the wrong text.
inline q2::TUserInfo DistinctRecord() {
    auto u = [](const char16_t* s) { return QString::fromUtf16(s); };
    q2::TUserInfo r;
    r.PerSonalKana_1 = u(u"ヤマダ");
    r.PerSonalKana_2 = u(u"タロウ");
    r.PerSonalName_1 = u(u"山田");
    r.PerSonalName_2 = u(u"太郎");
    r.PerSonalHonorificTitle = u(u"様");
    r.PerSonalZip_1 = u(u"263");
    r.PerSonalZip_2 = u(u"0023");
    r.PerSonalAddress_1 = u(u"千葉県千葉市稲毛区");
    r.PerSonalAddress_2 = u(u"緑町1-1");
    r.PerSonalTel_1 = u(u"043-111");
    r.PerSonalTel_2 = u(u"043-222");
    r.PerSonalMail_1 = u(u"a@home.jp");
    r.PerSonalMail_2 = u(u"b@home.jp");
    r.PerSonalHomePage = u(u"http://home.jp/");
    r.PersonalSex = q2::TThSex::tsFemale;
    r.OfficeKana = u(u"ミドリショウジ");
    r.OfficeName = u(u"緑商事");
    r.OfficeZip_1 = u(u"100");
    r.OfficeZip_2 = u(u"0005");
    r.OfficeAddress_1 = u(u"東京都千代田区");
    r.OfficeAddress_2 = u(u"丸の内1-1");
    r.OfficeTel_1 = u(u"03-333");
    r.OfficeTel_2 = u(u"03-444");
    r.OfficeMail_1 = u(u"c@work.jp");
    r.OfficeMail_2 = u(u"d@work.jp");
    r.OfficeHomePage = u(u"http://work.jp/");
    r.OfficePost = u(u"営業部");
    r.OfficeOfficialPosition = u(u"課長");
    const char16_t* joint[4][2] = {
        {u"一郎", u"様"}, {u"花子", u"殿"}, {u"次郎", u"くん"}, {u"三郎", u"ちゃん"}};
    for (int i = 0; i < 4; ++i) r.JointName(i) = {true, u(joint[i][0]), u(joint[i][1])};
    r.CommonMemo = u(u"一行目\r\n二行目");
    r.CommonHistoryObjectList.Add({QDate(2024, 1, 2), u(u"年賀状"), u(u"送付")});
    r.CommonPrintCheck = true;
    r.CommonUseTypePersonal = false;
    r.CommonRegistDate = q2::MakeDateTime(QDate(2023, 12, 1), QTime(10, 0));
    r.CommonBirthday = q2::MakeDateTime(QDate(1980, 6, 16));
    r.CommonCategory_1 = u(u"友達");
    r.CommonCategory_2 = u(u"仕事");
    r.CommonInsertStr_1 = u(u"差込A");
    r.CommonInsertStr_2 = u(u"差込B");
    r.CommonInsertStr_3 = u(u"差込C");
    r.CommonInsertStr_4 = u(u"差込D");
    return r;
}

// A record at the edges: no birthday, no sex, not marked, the private side,
// spaces of both widths, half-width kana and an empty postal code.
inline q2::TUserInfo EdgeRecord() {
    auto u = [](const char16_t* s) { return QString::fromUtf16(s); };
    q2::TUserInfo r;
    r.PerSonalKana_1 = u(u"ｽｽﾞｷ");
    r.PerSonalName_1 = u(u"鈴木　一");
    r.PerSonalZip_2 = u(u" ");
    r.OfficeZip_2 = u(u"0005");
    r.PerSonalTel_1 = u(u"０３ 1234");
    r.OfficeName = u(u"Ａ社, \"B\"");
    r.CommonJointNameObj_4.HonorificTitle = u(u"御中");
    r.CommonMemo = u(u"\r\n");
    r.CommonUseTypePersonal = true;
    r.CommonRegistDate = q2::MakeDateTime(QDate(2030, 1, 1));
    r.CommonInsertStr_2 = u(u"x");
    return r;
}

}  // namespace q2test
