// vCard reading, the card-to-record mapping and the round trip through the writer.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QStringEncoder>

#include "QStringPrinter.h"
#include "exchange/VcardImport.h"
#include "exchange/VcardReader.h"
#include "exchange/VcardWriter.h"

using namespace q2;

namespace {

const QDateTime kNow = MakeDateTime(QDate(2024, 6, 1), QTime(12, 30));

TVcardImport Convert(const QByteArray& bytes) { return ConvertVcards(bytes, kNow); }

QByteArray PngBytes() {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// A card as a Japanese feature phone writes it: version 2.1, Shift_JIS text,
// the address and note in QUOTED-PRINTABLE (the address with a soft line
// break in the middle of a character pair) and the reading in half-width
// katakana under SOUND;X-IRMC-N.
const QByteArray kPhoneCard =
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "N;CHARSET=SHIFT_JIS:\x8E\x52\x93\x63;\x91\xBE\x98\x59;;;\r\n"
    "SOUND;X-IRMC-N;CHARSET=SHIFT_JIS:\xD4\xCF\xC0\xDE;\xC0\xDB\xB3;;;\r\n"
    "TEL;HOME;VOICE:03-3344-5566\r\n"
    "TEL;CELL:090-1234-5678\r\n"
    "TEL;HOME;FAX:03-3344-5567\r\n"
    "EMAIL;INTERNET:taro@example.ne.jp\r\n"
    "ADR;HOME;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:;=93=73=92=A1=91=E6=88=EA=96=7B=92=A1=8E="
    "\r\n"
    "=C9;=93=8C=8B=9E=93=73=90=56=8F=68=8B=E6=90=BC=90=56=8F=68=82=51=81=7C=82=57=81=7C=82=50;;;163-8001;\r\n"
    "NOTE;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=89=EF=8B=63=82=CC=8C=E3=82=C9=0D=0A=98=41=97=8D\r\n"
    "BDAY:19700105\r\n"
    "X-DCM-RINGTONE:3\r\n"
    "END:VCARD\r\n";

// A card as a major webmail service exports it: 3.0, UTF-8, phonetic names
// in hiragana, repeated TYPE parameters, grouped properties, an escaped
// colon in the address of the web page and its own system group.
const QByteArray kWebmailCard =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "FN:鈴木 花子\r\n"
    "N:鈴木;花子;;;\r\n"
    "X-PHONETIC-FIRST-NAME:はなこ\r\n"
    "X-PHONETIC-LAST-NAME:すずき\r\n"
    "NICKNAME:はなちゃん\r\n"
    "EMAIL;TYPE=INTERNET;TYPE=HOME:hanako@example.com\r\n"
    "EMAIL;TYPE=INTERNET;TYPE=WORK:suzuki@corp.example.co.jp\r\n"
    "TEL;TYPE=CELL:090-8765-4321\r\n"
    "TEL;TYPE=WORK:03-5555-0000\r\n"
    "TEL;TYPE=WORK;TYPE=FAX:03-5555-0001\r\n"
    "ADR;TYPE=HOME:;;千代田1-1\\nパレス101;千代田区;東京都;100-0001;日本\r\n"
    "ADR;TYPE=WORK:;;丸の内2-7-2;千代田区;東京都;1000005;JP\r\n"
    "item1.URL:https\\://hanako.example.jp/\r\n"
    "item1.X-ABLabel:_$!<HomePage>!$_\r\n"
    "ORG:株式会社サンプル;営業部\r\n"
    "TITLE:課長\r\n"
    "BDAY:1985-07-02\r\n"
    "NOTE:一行目\\n二行目\\, カンマ\r\n"
    "CATEGORIES:myContacts,友人,仕事,その他\r\n"
    "END:VCARD\r\n";

QByteArray ModernCard(const QByteArray& png) {
    QByteArray photo = "PHOTO:data:image/png;base64," + png.toBase64();
    // Folded at 75 bytes as a writer of 4.0 does.
    QByteArray folded;
    for (qsizetype i = 0; i < photo.size(); i += 74) folded += (i ? "\r\n " : "") + photo.mid(i, 74);
    return "BEGIN:VCARD\r\n"
           "VERSION:4.0\r\n"
           "KIND:individual\r\n"
           "FN:山本 次郎\r\n"
           "N;SORT-AS=\"やまもと,じろう\":山本;次郎;;;\r\n"
           "GENDER:M\r\n"
           "TEL;VALUE=uri;TYPE=\"voice,home\":tel:+81-6-1234-5678\r\n"
           "ADR;TYPE=work;LABEL=\"大阪府大阪市北区梅田1-1\":;;梅田1-1;大阪市北区;大阪府;530-0001;\r\n"
           "BDAY:--0415\r\n" +
           folded + "\r\nEND:VCARD\r\n";
}

}  // namespace

TEST(VcardImport, PhoneCardInShiftJisWithQuotedPrintableAndSound) {
    const TVcardImport in = Convert(kPhoneCard);
    ASSERT_EQ(in.Records.size(), 1u);
    const TUserInfo& r = in.Records[0];
    EXPECT_EQ(r.PerSonalName_1, QString("山田"));
    EXPECT_EQ(r.PerSonalName_2, QString("太郎"));
    EXPECT_EQ(r.PerSonalKana_1, QString("ヤマダ"));
    EXPECT_EQ(r.PerSonalKana_2, QString("タロウ"));
    EXPECT_EQ(r.PerSonalTel_1, QString("03-3344-5566"));
    EXPECT_EQ(r.PerSonalTel_2, QString("090-1234-5678"));
    EXPECT_EQ(r.PerSonalMail_1, QString("taro@example.ne.jp"));
    EXPECT_EQ(r.PerSonalZip_1, QString("163"));
    EXPECT_EQ(r.PerSonalZip_2, QString("8001"));
    EXPECT_EQ(r.PerSonalAddress_1, QString("東京都新宿区西新宿２－８－１"));
    EXPECT_EQ(r.PerSonalAddress_2, QString("都庁第一本庁舎"));
    EXPECT_EQ(r.CommonMemo, QString("会議の後に\r\n連絡"));
    EXPECT_EQ(r.CommonBirthday, MakeDateTime(QDate(1970, 1, 5)));
    // The import defaults of the CSV import.
    EXPECT_EQ(r.PerSonalHonorificTitle, QString("様"));
    EXPECT_EQ(r.PerSonalHomePage, QString("http://"));
    EXPECT_TRUE(r.CommonPrintCheck);
    EXPECT_EQ(r.CommonRegistDate, kNow);
    // Both private telephone fields were taken before the fax came.
    EXPECT_EQ(in.Skipped, (TVcardSkipped{{"TEL（入りきらない分）", 1}, {"X-DCM-RINGTONE", 1}}));
    EXPECT_EQ(SkippedSummary(in.Skipped), QString("TEL（入りきらない分） 1件、X-DCM-RINGTONE 1件"));
}

TEST(VcardImport, WebmailCardSortsBothSidesByType) {
    const TVcardImport in = Convert(kWebmailCard);
    ASSERT_EQ(in.Records.size(), 1u);
    const TUserInfo& r = in.Records[0];
    EXPECT_EQ(r.PerSonalKana_1, QString("スズキ"));
    EXPECT_EQ(r.PerSonalKana_2, QString("ハナコ"));
    EXPECT_EQ(r.PerSonalMail_1, QString("hanako@example.com"));
    EXPECT_EQ(r.OfficeMail_1, QString("suzuki@corp.example.co.jp"));
    EXPECT_EQ(r.PerSonalTel_1, QString("090-8765-4321"));
    EXPECT_EQ(r.OfficeTel_1, QString("03-5555-0000"));
    EXPECT_EQ(r.OfficeTel_2, QString("03-5555-0001"));
    EXPECT_EQ(r.PerSonalAddress_1, QString("東京都千代田区千代田1-1"));
    EXPECT_EQ(r.PerSonalAddress_2, QString("パレス101"));
    EXPECT_EQ(r.PersonalFullZip(), QString("100-0001"));
    EXPECT_EQ(r.OfficeAddress_1, QString("東京都千代田区丸の内2-7-2"));
    EXPECT_EQ(r.OfficeAddress_2, QString());
    EXPECT_EQ(r.OfficeFullZip(), QString("100-0005"));
    EXPECT_EQ(r.PerSonalHomePage, QString("https://hanako.example.jp/"));
    EXPECT_EQ(r.OfficeHomePage, QString("http://"));
    EXPECT_EQ(r.OfficeName, QString("株式会社サンプル"));
    EXPECT_EQ(r.OfficePost, QString("営業部"));
    EXPECT_EQ(r.OfficeOfficialPosition, QString("課長"));
    EXPECT_EQ(r.CommonBirthday.date(), QDate(1985, 7, 2));
    EXPECT_EQ(r.CommonMemo, QString("一行目\r\n二行目, カンマ"));
    EXPECT_EQ(r.CommonCategory_1, QString("友人"));
    EXPECT_EQ(r.CommonCategory_2, QString("仕事"));
    EXPECT_EQ(in.Skipped, (TVcardSkipped{{"CATEGORIES（3つ目以降）", 1}, {"NICKNAME", 1}}));
}

TEST(VcardImport, ModernCardWithPhotoGenderAndSortAs) {
    const QByteArray png = PngBytes();
    const TVcardImport in = Convert(ModernCard(png));
    ASSERT_EQ(in.Records.size(), 1u);
    const TUserInfo& r = in.Records[0];
    EXPECT_EQ(r.CommonImg_1.Kind, TPictureKind::Png);
    EXPECT_EQ(r.CommonImg_1.Data, png);
    EXPECT_EQ(r.PersonalSex, TThSex::tsMale);
    EXPECT_EQ(r.PerSonalKana_1, QString("ヤマモト"));
    EXPECT_EQ(r.PerSonalKana_2, QString("ジロウ"));
    EXPECT_EQ(r.PerSonalTel_1, QString("+81-6-1234-5678"));
    EXPECT_EQ(r.OfficeAddress_1, QString("大阪府大阪市北区梅田1-1"));
    EXPECT_EQ(r.OfficeFullZip(), QString("530-0001"));
    // A birthday without a year is none: the record keeps the empty date.
    EXPECT_FALSE(r.HasBirthday());
    EXPECT_EQ(in.Skipped, (TVcardSkipped{{"BDAY（年月日のない日付）", 1}}));
}

TEST(VcardImport, ReadingsBecomeFullWidthKatakana) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"やまだ", "ヤマダ"}, {"ﾊﾟﾋﾟﾌﾟ", "パピプ"}, {"ｳﾞｧｲｵﾘﾝ", "ヴァイオリン"},
        {"ヤマダ", "ヤマダ"}, {"Brown", "Brown"},   {"おおの ｼﾞｭﾝ", "オオノ ジュン"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadingToKatakana(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(VcardImport, AddressLinesFromTheParts) {
    const struct {
        const char* adr;
        const char* line1;
        const char* line2;
        const char* zip;
        const char* memo = "";
    } cases[] = {
        // A building in the extended part, the street in one piece.
        {";ハイツ青山203;南青山5-12-3;港区;東京都;1070062;", "東京都港区南青山5-12-3",
         "ハイツ青山203", "107-0062"},
        // Everything in the street, as phones often write it.
        {";;大阪府大阪市北区梅田1-1;;;〒530-0001;", "大阪府大阪市北区梅田1-1", "", "530-0001"},
        // A Western address keeps its order; a foreign country goes to line 2
        // and its postal code, which fits no box, to the memo.
        {";;1600 Main St;Springfield;IL;62701;USA", "1600 Main St", "Springfield, IL USA", " ",
         "住所（郵便番号 62701）: 1600 Main St Springfield, IL USA 62701"},
        {";;2325 rue de l'Université;Québec;QC;G1V 2M2;", "2325 rue de l'Université", "Québec, QC",
         " ", "住所（郵便番号 G1V 2M2）: 2325 rue de l'Université Québec, QC G1V 2M2"},
        {";;;;;１２３－４５６７;", "", "", "123-4567"},
    };
    for (const auto& c : cases) {
        const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nADR;TYPE=HOME:" + QByteArray(c.adr) +
                                "\r\nEND:VCARD\r\n";
        const TVcardImport in = Convert(card);
        ASSERT_EQ(in.Records.size(), 1u);
        EXPECT_EQ(in.Records[0].PerSonalAddress_1, QString::fromUtf8(c.line1)) << c.adr;
        EXPECT_EQ(in.Records[0].PerSonalAddress_2, QString::fromUtf8(c.line2)) << c.adr;
        EXPECT_EQ(in.Records[0].PersonalFullZip(), QString::fromUtf8(c.zip)) << c.adr;
        EXPECT_EQ(in.Records[0].CommonMemo, QString::fromUtf8(c.memo)) << c.adr;
    }
}

TEST(VcardReader, LinesFoldingAndCardBoundaries) {
    // LF only, a tab fold, lower-case keywords, text before the first card,
    // an AGENT card inside the first card and a last card cut off.
    const QByteArray text =
        "garbage line\n"
        "begin:vcard\nversion:3.0\nN:山\n\t田;太郎\nAGENT:\nBEGIN:VCARD\nN:代理;人\nEND:VCARD\n"
        "TEL:1\nend:vcard\n"
        "BEGIN:VCARD\rVERSION:3.0\rN:鈴木;一郎\rNOTE:no end";
    const std::vector<TVcardCard> cards = ParseVcards(text);
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].Version, QByteArray("3.0"));
    ASSERT_EQ(cards[0].Properties.size(), 3u);  // N, AGENT, TEL
    EXPECT_EQ(VcardRawText(cards[0].Properties[0]), QString("山田;太郎"));
    EXPECT_EQ(cards[0].Properties[2].Line, 10);
    EXPECT_EQ(VcardRawText(cards[1].Properties.back()), QString("no end"));
}

TEST(VcardReader, ParametersEscapesAndEncodings) {
    const QByteArray text =
        "\xEF\xBB\xBF"
        "BEGIN:VCARD\r\n"
        "item2.ADR;TYPE=\"home,pref\";LABEL=\"a:b;c\":;;x\\;y;z\r\n"
        "NOTE:a\\\\b\\,c\\Nd\r\n"
        "X-ONE;ENCODING=BASE64;CHARSET=UTF-8:" +
        QByteArray("日本").toBase64() +
        "\r\n"
        "END:VCARD\r\n";
    const std::vector<TVcardCard> cards = ParseVcards(text);
    ASSERT_EQ(cards.size(), 1u);
    const TVcardProperty& adr = cards[0].Properties[0];
    EXPECT_EQ(adr.Name, QByteArray("ADR"));
    EXPECT_TRUE(adr.HasType("HOME"));
    EXPECT_TRUE(adr.IsPreferred());
    EXPECT_EQ(adr.Param("LABEL"), QByteArray("a:b;c"));
    EXPECT_EQ(VcardComponents(VcardRawText(adr), u';'), QStringList({"", "", "x;y", "z"}));
    EXPECT_EQ(VcardUnescape(VcardRawText(cards[0].Properties[1])), QString("a\\b,c\nd"));
    EXPECT_EQ(VcardRawText(cards[0].Properties[2]), QString("日本"));

    // The same card in UTF-16 with its byte-order mark.
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray wide = utf16.encode(QString::fromUtf8(text.mid(3)));
    ASSERT_EQ(ParseVcards(wide).size(), 1u);
    EXPECT_TRUE(LooksLikeVcard(wide));
    EXPECT_TRUE(LooksLikeVcard("\r\n  BEGIN:VCARD\r\n"));
    EXPECT_FALSE(LooksLikeVcard("氏名,住所\r\nBEGIN:VCARD\r\n"));
}

TEST(VcardImport, CardWithoutNameUsesTheFormattedName) {
    const TVcardImport in =
        Convert("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:佐藤　一郎\r\nEND:VCARD\r\n"
                "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cafe\r\nSORT-STRING:かふぇ\r\nEND:VCARD\r\n");
    ASSERT_EQ(in.Records.size(), 2u);
    EXPECT_EQ(in.Records[0].PerSonalName_1, QString("佐藤"));
    EXPECT_EQ(in.Records[0].PerSonalName_2, QString("一郎"));
    EXPECT_EQ(in.Records[1].PerSonalName_1, QString("Cafe"));
    EXPECT_EQ(in.Records[1].PerSonalKana_1, QString("カフェ"));
    EXPECT_TRUE(in.Skipped.isEmpty());
}

// A record that uses every field, with the texts that need escaping and
// folding, and values different from the import defaults.
TUserInfo RichRecord() {
    TUserInfo r;
    r.PerSonalKana_1 = "ヤマダ";
    r.PerSonalKana_2 = "タロウ";
    r.PerSonalName_1 = "山田";
    r.PerSonalName_2 = "太郎";
    r.PerSonalHonorificTitle = "";
    r.PerSonalZip_1 = "";
    r.PerSonalZip_2 = "0001";
    r.PerSonalAddress_1 = "東京都千代田区千代田1-1;2,3\\4";
    r.PerSonalAddress_2 = "とても長い建物の名前がここに入りますとても長い建物の名前がここに入ります101";
    r.PerSonalTel_2 = "03-1111-2222";
    r.PerSonalMail_2 = "b@example.jp";
    r.PerSonalHomePage = "";
    r.PersonalSex = TThSex::tsFemale;
    r.OfficeKana = "サンプル";
    r.OfficeName = "株式会社サンプル";
    r.OfficeZip_1 = "100";
    r.OfficeAddress_1 = "1-2";
    r.OfficeTel_1 = "03-0000-0000";
    r.OfficeMail_1 = "w@example.co.jp";
    r.OfficeHomePage = "https://example.co.jp/";
    r.OfficePost = "営業部";
    r.OfficeOfficialPosition = "部長";
    r.CommonJointNameObj_1 = {true, "花子", "様"};
    r.CommonJointNameObj_3 = {false, "", ""};
    r.CommonMemo = "一行目\r\n二行目: a;b,c";
    r.CommonHistoryObjectList.Add({QDate(2024, 1, 10), "年賀状", "受け取り\r\n済み"});
    r.CommonHistoryObjectList.Add({QDate(2023, 12, 1), "訪問;電話", ""});
    r.CommonPrintCheck = false;
    r.CommonUseTypePersonal = false;
    r.CommonRegistDate = MakeDateTime(QDate(2020, 2, 3), QTime(4, 5, 6));
    r.CommonBirthday = MakeDateTime(QDate(1962, 2, 22));
    r.CommonCategory_2 = "友達,仕事";
    r.CommonInsertStr_1 = "差込;一";
    r.CommonInsertStr_4 = "四";
    r.CommonImg_1.Kind = TPictureKind::Png;
    r.CommonImg_1.Data = PngBytes();
    return r;
}

TEST(VcardRoundTrip, EveryFieldComesBackInBothVersions) {
    TUserInfoList book;
    book.Add(std::make_unique<TUserInfo>(RichRecord()));
    // The zero birthday, no sex, no picture, a home page of "http://".
    auto plain = std::make_unique<TUserInfo>();
    plain->PerSonalName_1 = "株式会社山手ビル管理";
    plain->PerSonalHomePage = "http://";
    plain->OfficeHomePage = "http://";
    plain->CommonPrintCheck = true;
    book.Add(std::move(plain));
    for (TVcardVersion v : {TVcardVersion::V30, TVcardVersion::V40}) {
        const QByteArray vcf = ComposeVcards(book, v);
        for (const QByteArray& line : vcf.split('\n')) EXPECT_LE(line.size(), 76) << line.constData();
        const TVcardImport in = Convert(vcf);
        EXPECT_TRUE(in.Skipped.isEmpty()) << SkippedSummary(in.Skipped).toStdString();
        ASSERT_EQ(in.Records.size(), 2u);
        EXPECT_TRUE(in.Records[0] == *book.Item(0)) << vcf.constData();
        EXPECT_TRUE(in.Records[1] == *book.Item(1)) << vcf.constData();
    }
}

TEST(VcardPreview, ListsWhatTheCardFilled) {
    const TVcardImport in = Convert(kWebmailCard);
    const auto rows = VcardPreviewRows(in.Records[0], kNow);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], std::make_pair(QString("個人フリガナ"), QString("スズキ ハナコ")));
    EXPECT_EQ(rows[1], std::make_pair(QString("個人名前"), QString("鈴木 花子")));
    EXPECT_EQ(rows[2], std::make_pair(QString("個人郵便番号"), QString("100-0001")));
    EXPECT_EQ(rows.back(), std::make_pair(QString("備考"), QString("一行目 二行目, カンマ")));
}

TEST(VcardImport, AppleCardTakesTheSideFromTheGroupsLabel) {
    // As the iPhone writes a contact known only at work: the address and the
    // mail carry no TYPE, their group's X-ABLabel says where they belong.
    const TVcardImport in = Convert(
        "BEGIN:VCARD\r\n"
        "VERSION:3.0\r\n"
        "PRODID:-//Apple Inc.//iPhone OS 17.5//EN\r\n"
        "N:田中;一郎;;;\r\n"
        "FN:田中 一郎\r\n"
        "X-PHONETIC-FIRST-NAME:いちろう\r\n"
        "X-PHONETIC-LAST-NAME:たなか\r\n"
        "ORG:田中商店;\r\n"
        "TEL;type=CELL;type=VOICE;type=pref:090-1111-2222\r\n"
        "item1.ADR;type=pref:;;丸の内1-1-1;千代田区;東京都;100-0005;日本\r\n"
        "item1.X-ABADR:jp\r\n"
        "item1.X-ABLabel:会社\r\n"
        "item2.EMAIL;type=INTERNET:ichiro@tanaka.example.jp\r\n"
        "item2.X-ABLabel:_$!<Work>!$_\r\n"
        "item3.TEL:03-1234-5678 x102\r\n"
        "item3.X-ABLabel:_$!<Work>!$_\r\n"
        "REV:2024-05-01T00:00:00Z\r\n"
        "END:VCARD\r\n");
    ASSERT_EQ(in.Records.size(), 1u);
    const TUserInfo& r = in.Records[0];
    EXPECT_EQ(r.PersonalFullNameKana(), QString("タナカ イチロウ"));
    EXPECT_EQ(r.OfficeAddress_1, QString("東京都千代田区丸の内1-1-1"));
    EXPECT_EQ(r.OfficeFullZip(), QString("100-0005"));
    EXPECT_EQ(r.PerSonalAddress_1, QString());
    EXPECT_EQ(r.OfficeMail_1, QString("ichiro@tanaka.example.jp"));
    EXPECT_EQ(r.OfficeTel_1, QString("03-1234-5678 内線102"));
    EXPECT_EQ(r.PerSonalTel_1, QString("090-1111-2222"));
    // Only an office address: the record prints to the office.
    EXPECT_FALSE(r.CommonUseTypePersonal);
    EXPECT_TRUE(in.Skipped.isEmpty()) << SkippedSummary(in.Skipped).toStdString();
}

TEST(VcardImport, TelephoneExtensionsBecomeNaisen) {
    const struct {
        const char* line;
        const char* tel;
    } cases[] = {
        {"TEL;VALUE=uri;TYPE=work:tel:+81-3-1234-5678;ext=102", "+81-3-1234-5678 内線102"},
        {"TEL;TYPE=WORK:03-1234-5678 ext. 7", "03-1234-5678 内線7"},
        {"TEL;TYPE=WORK:03-1234-5678 内線 55", "03-1234-5678 内線55"},
        {"TEL;TYPE=WORK:03-1234-5678", "03-1234-5678"},
    };
    for (const auto& c : cases) {
        const TVcardImport in =
            Convert("BEGIN:VCARD\r\nVERSION:4.0\r\n" + QByteArray(c.line) + "\r\nEND:VCARD\r\n");
        ASSERT_EQ(in.Records.size(), 1u);
        EXPECT_EQ(in.Records[0].OfficeTel_1, QString::fromUtf8(c.tel)) << c.line;
    }
}

TEST(VcardImport, PhotoThatDoesNotDecodeIsRefusedWithAWord) {
    // A JPEG's first bytes, then nothing a decoder can read.
    const QByteArray broken =
        QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11) + QByteArray(40, 'x');
    const TVcardImport in = Convert(
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:写真 壊れ\r\n"
        "PHOTO;ENCODING=b;TYPE=JPEG:" +
        broken.toBase64() + "\r\nEND:VCARD\r\n");
    ASSERT_EQ(in.Records.size(), 1u);
    EXPECT_TRUE(in.Records[0].CommonImg_1.IsEmpty());
    EXPECT_EQ(in.Skipped, (TVcardSkipped{{"PHOTO（壊れた画像）", 1}}));
}

TEST(VcardImport, OwnPropertiesReadBackWhetherALibraryEscapedThemAgainOrNot) {
    // Our own writing, and the same after a library took each value for one
    // text and escaped every ";" on writing it back.
    for (const char* sep : {";", "\\;"}) {
        const QByteArray s(sep);
        const TVcardImport in = Convert(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:山田 太郎\r\n"
            "X-QUINTARO2-JOINT-NAME:2" +
            s + "1" + s + "花子" + s +
            "様\r\n"
            "X-QUINTARO2-HISTORY:2024-01-10" +
            s + "年賀状" + s +
            "受け取り\\n済み\r\n"
            "X-QUINTARO2-HISTORY:2023-12-01" +
            s + "訪問" + s +
            "見積\\, 提出\r\n"
            "X-QUINTARO2-HISTORY:2025-02-03" +
            s + "電話" + s +
            "\r\n"
            "END:VCARD\r\n");
        ASSERT_EQ(in.Records.size(), 1u);
        const TUserInfo& r = in.Records[0];
        EXPECT_EQ(r.CommonJointNameObj_2, (TJointNameObject{true, "花子", "様"})) << sep;
        // In the order written, not sorted by date.
        ASSERT_EQ(r.CommonHistoryObjectList.Count(), 3) << sep;
        EXPECT_EQ(r.CommonHistoryObjectList.Item(0),
                  (THistoryObject{QDate(2024, 1, 10), "年賀状", "受け取り\r\n済み"}));
        EXPECT_EQ(r.CommonHistoryObjectList.Item(1).HistoryContent, QString("見積, 提出"));
        EXPECT_EQ(r.CommonHistoryObjectList.Item(2).HistoryDate, QDate(2025, 2, 3));
    }
}
