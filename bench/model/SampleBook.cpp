// Generated benchmark books.
#include "SampleBook.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <random>

namespace q2bench {
namespace {

const char16_t* kFamilies[][2] = {{u"佐藤", u"サトウ"}, {u"鈴木", u"スズキ"}, {u"高橋", u"タカハシ"},
                                  {u"田中", u"タナカ"}, {u"伊藤", u"イトウ"}, {u"渡辺", u"ワタナベ"},
                                  {u"山本", u"ヤマモト"}, {u"中村", u"ナカムラ"}, {u"小林", u"コバヤシ"},
                                  {u"加藤", u"カトウ"}, {u"吉田", u"ヨシダ"}, {u"山田", u"ヤマダ"}};
const char16_t* kGiven[][2] = {{u"太郎", u"タロウ"}, {u"花子", u"ハナコ"}, {u"健一", u"ケンイチ"},
                               {u"美咲", u"ミサキ"}, {u"翔太", u"ショウタ"}, {u"陽菜", u"ヒナ"},
                               {u"大輔", u"ダイスケ"}, {u"由美", u"ユミ"}};
const char16_t* kTowns[][3] = {{u"263", u"0023", u"千葉県千葉市稲毛区緑町"},
                               {u"100", u"0013", u"東京都千代田区霞が関"},
                               {u"064", u"0804", u"北海道札幌市中央区南四条西"},
                               {u"910", u"0067", u"福井県福井市新田塚"},
                               {u"170", u"6045", u"東京都豊島区東池袋サンシャイン６０　４５階"},
                               {u"530", u"0001", u"大阪府大阪市北区梅田"}};

QByteArray MakeJpeg() {
    QImage img(160, 120, QImage::Format_RGB32);
    std::mt19937 rng(7);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, rng());
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", 60);
    return bytes;
}

}  // namespace

void FillSampleBook(q2::TUserInfoList& book, int count, int pictureEvery) {
    const QByteArray jpeg = pictureEvery > 0 ? MakeJpeg() : QByteArray();
    std::mt19937 rng(42);
    auto pick = [&](int n) { return int(rng() % n); };
    for (int i = 0; i < count; ++i) {
        q2::TUserInfo* r = book.Add();
        const auto& f = kFamilies[pick(12)];
        const auto& g = kGiven[pick(8)];
        const auto& t = kTowns[pick(6)];
        r->PerSonalName_1 = QString::fromUtf16(f[0]);
        r->PerSonalKana_1 = QString::fromUtf16(f[1]);
        r->PerSonalName_2 = QString::fromUtf16(g[0]);
        r->PerSonalKana_2 = QString::fromUtf16(g[1]);
        r->PerSonalHonorificTitle = QStringLiteral("様");
        r->PerSonalZip_1 = QString::fromUtf16(t[0]);
        r->PerSonalZip_2 = QString::fromUtf16(t[1]);
        r->PerSonalAddress_1 = QString::fromUtf16(t[2]) + QStringLiteral("%1丁目%2-%3")
                                                              .arg(pick(9) + 1).arg(pick(40) + 1).arg(pick(20) + 1);
        if (i % 3 == 0) r->PerSonalAddress_2 = QStringLiteral("コーポ緑%1号室").arg(100 + pick(400));
        r->PerSonalTel_1 = QStringLiteral("043-%1-%2").arg(200 + pick(700)).arg(1000 + pick(8999));
        r->PerSonalMail_1 = QStringLiteral("user%1@example.jp").arg(i);
        r->PersonalSex = static_cast<q2::TThSex>(pick(3));
        if (i % 4 == 0) {
            r->OfficeName = QStringLiteral("株式会社サンプル商事");
            r->OfficeKana = QStringLiteral("サンプルショウジ");
            r->OfficePost = QStringLiteral("営業部");
            r->OfficeOfficialPosition = QStringLiteral("課長");
        }
        if (i % 5 == 0) r->CommonJointNameObj_1 = {true, QStringLiteral("花子"), QStringLiteral("様")};
        r->CommonMemo = i % 7 == 0 ? QStringLiteral("年賀状は毎年送る\r\n住所変更あり") : QString();
        r->CommonPrintCheck = pick(2) == 0;
        r->CommonUseTypePersonal = true;
        r->CommonRegistDate = q2::MakeDateTime(QDate(2020, 1, 1).addDays(pick(2000)), QTime(0, 0));
        r->CommonBirthday = q2::MakeDateTime(QDate(1950, 1, 1).addDays(pick(20000)), QTime(0, 0));
        r->CommonCategory_1 = QStringLiteral("友達");
        r->CommonHistoryObjectList.Add({QDate(2024, 1, 1), QStringLiteral("年賀状"), QStringLiteral("送付済み")});
        r->CommonHistoryObjectList.Add({QDate(2024, 7, 15), QStringLiteral("暑中見舞い"), QString()});
        if (pictureEvery > 0 && i % pictureEvery == 0) r->CommonImg_1 = {q2::TPictureKind::Jpeg, jpeg};
    }
}

}  // namespace q2bench
