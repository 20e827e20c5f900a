// The findings before printing and mailing, with the real postal data, the
// installed IPA fonts and the barcode library.
#include <gtest/gtest.h>

#include <QStringList>

#include "preflight/Preflight.h"
#include "tests/app/QStringPrinter.h"
#include "zip/ZipReview.h"

namespace q2 {
namespace {

QString U(const char16_t* s) { return QString::fromUtf16(s); }

const TZipIndex& ShippedZip() {
    static const TZipIndex index = [] {
        TZipIndex i;
        EXPECT_TRUE(i.Load(QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat")));
        return i;
    }();
    return index;
}

TUserInfo Person(const char16_t* zip1, const char16_t* zip2, const char16_t* address) {
    TUserInfo r;
    r.CommonUseTypePersonal = true;
    r.CommonPrintCheck = true;
    r.PerSonalName_1 = U(u"山田");
    r.PerSonalName_2 = U(u"太郎");
    r.PerSonalHonorificTitle = U(u"様");
    r.PerSonalZip_1 = U(zip1);
    r.PerSonalZip_2 = U(zip2);
    r.PerSonalAddress_1 = U(address);
    return r;
}

TPieceSetup Nenga(bool barcode = false, bool vertical = true) {
    TPrintSettings st;
    st.PostcardIndex = kNengaKind;
    st.Vertical = vertical;
    st.Font = vertical ? U(u"@ＭＳ Ｐゴシック") : U(u"ＭＳ Ｐゴシック");
    st.Frames = DefaultFrames(kNengaKind, vertical);
    st.PrintCostom = barcode;
    return MakePieceSetup(st, std::nullopt, nullptr);
}

QList<TPreflightFinding> CheckOne(const TUserInfo& r, const TPieceSetup& setup) {
    return CheckPrint({&r}, setup, {&ShippedZip(), LayoutFitMarks});
}

QStringList Codes(const QList<TPreflightFinding>& findings) {
    QStringList codes;
    for (const TPreflightFinding& f : findings) codes << PreflightCodeName(f.Code);
    return codes;
}

// The fields of a record that differ from another, by property name.
QStringList ChangedFields(const TUserInfo& a, const TUserInfo& b) {
    QStringList changed;
    for (const TUserInfoTextField& f : UserInfoTextFields())
        if (a.*(f.Member) != b.*(f.Member)) changed << QString::fromLatin1(f.Name);
    for (int i = 0; i < 4; ++i)
        if (!(a.JointName(i) == b.JointName(i))) changed << QStringLiteral("CommonJointNameObj_%1").arg(i + 1);
    return changed;
}

// Applies every fix of the findings to a copy; each must change exactly the
// fields its edits name. Returns the record after all of them.
TUserInfo ApplyAll(const TUserInfo& r, const QList<TPreflightFinding>& findings) {
    TUserInfo fixed = r;
    for (const TPreflightFinding& f : findings) {
        if (!f.Fixable()) continue;
        TUserInfo before = fixed;
        EXPECT_TRUE(ApplyFix(f, &fixed)) << f.Message.toStdString();
        QStringList expected;
        for (const TFieldEdit& e : f.Fix) expected << e.Field.section(u'.', 0, 0);
        EXPECT_EQ(ChangedFields(before, fixed), expected) << f.Message.toStdString();
    }
    return fixed;
}

struct ZipCase {
    const char16_t *zip1, *zip2, *address;
    bool barcode;
    const char* code;  // expected findings, comma-separated; "" for none
    const char16_t* fixedZip = nullptr;       // after the fix, "" when none is offered
    const char16_t* fixedAddress = nullptr;
};

TEST(PreflightPrint, PostalCodesAgainstTheShippedData) {
    const ZipCase cases[] = {
        {u"100", u"0013", u"東京都千代田区霞が関1-1", true, ""},
        {u"100", u"0013", u"千代田区霞が関1-1", false, ""},  // written without the prefecture
        {u"263", u"0023", u"千葉県千葉市稲毛区緑町3丁目30-8", true, ""},
        {u"", u"", u"東京都千代田区霞が関1-1", false, "zip-empty", u"100-0013"},
        {u"", u"", u"", false, "zip-empty,address-empty", u""},
        {u"12", u"345", u"東京都千代田区霞が関1-1", false, "zip-malformed", u""},
        {u"１００", u"００１３", u"東京都千代田区霞が関1-1", false, "zip-malformed", u"100-0013"},
        {u"1000013", u"", u"東京都千代田区霞が関1-1", false, "zip-malformed", u"100-0013"},
        {u"123", u"4567", u"東京都千代田区霞が関1-1", false, "zip-unknown", u"100-0013"},
        {u"100", u"0013", u"東京都港区芝公園4-2-8", false, "zip-town", nullptr, u"東京都千代田区霞が関4-2-8"},
        {u"100", u"0000", u"東京都千代田区", true, "zip-no-address-number"},
        {u"100", u"0000", u"東京都千代田区", false, ""},  // the barcode is off: nothing to say
    };
    for (const ZipCase& c : cases) {
        const TUserInfo r = Person(c.zip1, c.zip2, c.address);
        const QList<TPreflightFinding> found = CheckOne(r, Nenga(c.barcode));
        SCOPED_TRACE(QString::fromUtf16(c.zip1).toStdString() + "-" + QString::fromUtf16(c.zip2).toStdString());
        const QStringList codes = Codes(found);
        if (*c.code == 0) {
            EXPECT_TRUE(codes.isEmpty()) << codes.join(u',').toStdString();
            continue;
        }
        ASSERT_EQ(codes.join(u','), QString::fromLatin1(c.code));
        const TUserInfo fixed = ApplyAll(r, found);
        if (c.fixedZip) {
            EXPECT_EQ(found[0].Fixable(), *c.fixedZip != 0);
            if (*c.fixedZip) {
                EXPECT_EQ(fixed.PersonalFullZip(), U(c.fixedZip));
            }
        }
        if (c.fixedAddress) {
            EXPECT_EQ(fixed.PerSonalAddress_1, U(c.fixedAddress));
        }
    }
}

// A card with a name and a valid postal code but no first address line on
// the side that prints cannot be delivered: an error, with nothing to fix.
TEST(PreflightPrint, EmptyAddressOnThePrintedSideIsAnError) {
    struct Case {
        bool personal;
        const char16_t *personal1, *personal2, *office1;
        const char* field;  // the finding's field, nullptr for none
    };
    const Case cases[] = {
        {true, u"", u"", u"東京都千代田区霞が関1-1", "PerSonalAddress_1"},
        {true, u"　 ", u"", u"東京都千代田区霞が関1-1", "PerSonalAddress_1"},  // blanks only
        {true, u"", u"霞ビル3F", u"", "PerSonalAddress_1"},  // a building alone is no address
        {false, u"東京都千代田区霞が関1-1", u"", u"", "OfficeAddress_1"},
        {false, u"", u"", u"東京都千代田区霞が関1-1", nullptr},  // the empty side does not print
    };
    for (const Case& c : cases) {
        TUserInfo r = Person(u"100", u"0013", c.personal1);
        r.PerSonalAddress_2 = U(c.personal2);
        r.CommonUseTypePersonal = c.personal;
        r.OfficeName = U(u"霞商事");
        r.OfficeZip_1 = r.PerSonalZip_1;
        r.OfficeZip_2 = r.PerSonalZip_2;
        r.OfficeAddress_1 = U(c.office1);
        SCOPED_TRACE(c.field ? c.field : "none");
        const QList<TPreflightFinding> found = CheckOne(r, Nenga());
        if (!c.field) {
            EXPECT_TRUE(found.isEmpty()) << Codes(found).join(u',').toStdString();
            continue;
        }
        ASSERT_EQ(Codes(found), QStringList{QStringLiteral("address-empty")});
        EXPECT_EQ(found[0].Field, QString::fromLatin1(c.field));
        EXPECT_EQ(found[0].Message, U(u"住所１がありません"));
        EXPECT_FALSE(found[0].Fixable());
        EXPECT_TRUE(HasFault(found));
    }
}

TEST(PreflightPrint, BusinessCodeOfTheNoNumberTableIsInformationOnly) {
    // 001-8501 is in the data and in the barcode library's no-number table.
    const QStringList towns = ShippedZip().TextsOf(QStringLiteral("0018501"));
    ASSERT_FALSE(towns.isEmpty());
    TUserInfo r = Person(u"001", u"8501", u"");
    r.PerSonalAddress_1 = towns[0] + U(u"1-2-3");
    const QList<TPreflightFinding> found = CheckOne(r, Nenga(true));
    EXPECT_EQ(Codes(found), QStringList{QStringLiteral("zip-no-address-number")});
    EXPECT_FALSE(HasFault(found));
}

TEST(PreflightPrint, GlyphsOfThePrintFace) {
    // U+E000 is the first user-defined character of CP932 (F040): a 外字 the
    // IPA faces cannot draw.
    TUserInfo gaiji = Person(u"100", u"0013", u"東京都千代田区霞が関1-1");
    gaiji.PerSonalName_2 = U(u"太\uE000");
    const QList<TPreflightFinding> found = CheckOne(gaiji, Nenga());
    ASSERT_EQ(Codes(found), QStringList{QStringLiteral("glyph-missing")});
    EXPECT_EQ(found[0].Field, QStringLiteral("PerSonalName_2"));
    EXPECT_TRUE(found[0].Message.contains(QStringLiteral("IPAPGothic"))) << found[0].Message.toStdString();
    EXPECT_FALSE(found[0].Fixable());
    EXPECT_TRUE(HasFault(found));

    // Brackets, long vowel marks, small kana and wave dashes all have vertical
    // forms in the IPA faces, in both directions nothing is found.
    TUserInfo plain = Person(u"100", u"0013", u"東京都千代田区霞が関1-1（ヴィラー〜「ぁっ」）");
    EXPECT_TRUE(CheckOne(plain, Nenga()).isEmpty());
    EXPECT_TRUE(CheckOne(plain, Nenga(false, false)).isEmpty());

    // IPAGothic draws the full-width colon only lying down in a column; its
    // proportional sibling has the upright form.
    TUserInfo colon = Person(u"100", u"0013", u"東京都千代田区霞が関1-1");
    colon.PerSonalAddress_2 = U(u"受付：三階");
    TPieceSetup gothic = Nenga();
    gothic.Settings.Font = U(u"@IPAGothic");
    const QList<TPreflightFinding> vertical = CheckOne(colon, gothic);
    ASSERT_EQ(Codes(vertical), QStringList{QStringLiteral("glyph-no-vertical-form")});
    EXPECT_EQ(vertical[0].Message, U(u"「：」の縦書き用の字形が印刷フォント IPAGothic になく、横書きの字形を回して印刷します"));
    EXPECT_FALSE(HasFault(vertical));
    EXPECT_TRUE(CheckOne(colon, Nenga()).isEmpty());
    TPieceSetup horizontal = Nenga(false, false);
    horizontal.Settings.Font = U(u"IPAGothic");
    EXPECT_TRUE(CheckOne(colon, horizontal).isEmpty());
}

TEST(PreflightPrint, FitFromTheLayoutAndFromAProbe) {
    TUserInfo longAddress = Person(u"100", u"0013", u"東京都千代田区霞が関1-1");
    longAddress.PerSonalAddress_2 = QString(400, QChar(u'霞'));
    const QList<TPreflightFinding> found = CheckOne(longAddress, Nenga());
    ASSERT_EQ(Codes(found), QStringList{QStringLiteral("fit-overflow")});
    EXPECT_EQ(found[0].Field, QStringLiteral("PerSonalAddress_1"));

    // What the layout reports is passed through as it is.
    const TUserInfo r = Person(u"100", u"0013", u"東京都千代田区霞が関1-1");
    TPrintCheckOptions options{&ShippedZip(), [](const TUserInfo&, const TPieceSetup&) {
                                   return QList<TFitMark>{{U(u"宛名"), QStringLiteral("PerSonalName_1"), Points(6), true, false}};
                               }};
    const QList<TPreflightFinding> probed = CheckPrint({&r}, Nenga(), options);
    ASSERT_EQ(Codes(probed), QStringList{QStringLiteral("fit-floor")});
    EXPECT_FALSE(HasFault(probed));
    EXPECT_TRUE(CheckPrint({&r}, Nenga(), {&ShippedZip(), {}}).isEmpty());
}

struct NameCase {
    const char16_t *name1, *honorific, *company, *post;
    bool personal;
    int mode;
    const char* code;
    const char16_t* fixedField = nullptr;  // the field's text after the fix
};

TEST(PreflightPrint, Names) {
    const NameCase cases[] = {
        {u"山田", u"様", u"", u"", true, 0, ""},
        {u"", u"様", u"", u"", true, 0, "name-empty"},
        {u"山田", u"", u"", u"", true, 0, "name-no-honorific", u"様"},
        {u"山田", u"御中様", u"", u"", true, 0, "name-onchu-sama", u"様"},
        {u"山田", u"様", u"ゼベル商事", u"総務部 御中", false, 3, "name-onchu-sama", u"総務部"},
        {u"山田", u"様", u"ゼベル商事", u"総務部", false, 3, ""},
        {u"山田", u"様", u"ゼベル商事", u"総務部", false, 1, ""},  // 御中 printed, 様 not
        {u"", u"", u"", u"", false, 1, "name-empty"},
    };
    for (const NameCase& c : cases) {
        TUserInfo r = Person(u"100", u"0013", u"東京都千代田区霞が関1-1");
        r.CommonUseTypePersonal = c.personal;
        r.PerSonalName_1 = U(c.name1);
        r.PerSonalName_2.clear();
        r.PerSonalHonorificTitle = U(c.honorific);
        r.OfficeName = U(c.company);
        r.OfficePost = U(c.post);
        r.OfficeZip_1 = r.PerSonalZip_1;
        r.OfficeZip_2 = r.PerSonalZip_2;
        r.OfficeAddress_1 = r.PerSonalAddress_1;
        TPieceSetup setup = Nenga();
        setup.Settings.SprintControl = c.mode;
        SCOPED_TRACE(std::string(c.code) + " " + QString::fromUtf16(c.honorific).toStdString());
        const QList<TPreflightFinding> found = CheckOne(r, setup);
        if (*c.code == 0) {
            EXPECT_TRUE(found.isEmpty()) << Codes(found).join(u',').toStdString();
            continue;
        }
        ASSERT_EQ(Codes(found), QStringList{QString::fromLatin1(c.code)});
        if (c.fixedField) {
            const TUserInfo fixed = ApplyAll(r, found);
            EXPECT_EQ(fixed.PerSonalHonorificTitle == U(c.fixedField) || fixed.OfficePost == U(c.fixedField), true);
        }
    }
}

TEST(PreflightMail, CharactersAddressesAndSubstitutes) {
    TUserInfo ok;
    ok.CommonUseTypePersonal = true;
    ok.PerSonalName_1 = U(u"山田");
    ok.PerSonalName_2 = U(u"太郎");
    ok.PerSonalHonorificTitle = U(u"様");
    ok.PerSonalMail_1 = QStringLiteral("yamada@example.jp");
    ok.CommonInsertStr_1 = U(u"ｶﾀｶﾅは送れます");  // half-width katakana are widened
    TUserInfo bad = ok;
    bad.PerSonalName_1 = U(u"髙﨑");
    bad.CommonInsertStr_1 = U(u"㈱ゼベル ①番 ㍉");
    bad.CommonInsertStr_2 = U(u"\uE000");  // not sent, the template does not use [STR_2]
    TUserInfo noAddress = ok;
    noAddress.PerSonalMail_1.clear();
    TUserInfo spaced = ok;
    spaced.PerSonalMail_1 = U(u" ｙａｍａｄａ＠example.jp ");
    TUserInfo angle = ok;
    angle.PerSonalMail_1 = QStringLiteral("a@b.jp>\r\nBcc: c@d.jp");

    const QString subject = U(u"[NAME]様へ ②のお知らせ"), body = U(u"[str_1]\r\n");
    const QList<TPreflightFinding> found = CheckMail({&ok, &bad, &noAddress, &spaced, &angle}, subject, body);
    QStringList lines;
    for (const TPreflightFinding& f : found)
        lines << QStringLiteral("%1 %2 %3 %4").arg(f.Record).arg(f.Field, PreflightCodeName(f.Code), f.Suggestion);
    EXPECT_EQ(lines, (QStringList{
                         U(u"-1 件名 mail-charset 「②」→「(2)」"),
                         U(u"1 PerSonalName_1 mail-charset 「髙」→「高」"),
                         U(u"1 PerSonalName_1 mail-charset 「﨑」→「崎」"),
                         U(u"1 CommonInsertStr_1 mail-charset 「㈱」→「(株)」"),
                         U(u"1 CommonInsertStr_1 mail-charset 「①」→「(1)」"),
                         U(u"1 CommonInsertStr_1 mail-charset 「㍉」→「ミリ」"),
                         U(u"2 PerSonalMail_1 mail-no-address "),
                         U(u"3 PerSonalMail_1 mail-unsafe-address yamada@example.jp"),
                         U(u"4 PerSonalMail_1 mail-unsafe-address "),
                     }));

    // Each substitute changes its one field; the template's goes to the subject.
    const TUserInfo fixed = ApplyAll(bad, found.mid(1, 5));
    EXPECT_EQ(fixed.PerSonalName_1, U(u"高崎"));
    EXPECT_EQ(fixed.CommonInsertStr_1, U(u"(株)ゼベル (1)番 ミリ"));
    QString s = subject, b = body;
    ASSERT_TRUE(ApplyFix(found[0], nullptr, &s, &b));
    EXPECT_EQ(s, U(u"[NAME]様へ (2)のお知らせ"));
    EXPECT_EQ(b, body);
    // A field changed since the check is left alone.
    TUserInfo moved = spaced;
    moved.PerSonalMail_1 = QStringLiteral("other@example.jp");
    EXPECT_FALSE(ApplyFix(found[7], &moved));
    EXPECT_EQ(moved.PerSonalMail_1, QStringLiteral("other@example.jp"));
}

TEST(PreflightMail, WhatIso2022JpCarries) {
    for (char32_t c : {U'a', U'ｱ', U'あ', U'亜', U'熙', U'≒', U'∵', U'￢', U'―'}) EXPECT_TRUE(Iso2022JpCarries(c)) << uint32_t(c);
    for (char32_t c : {U'①', U'㈱', U'㍉', U'髙', U'﨑', U'Ⅰ', U'ⅰ', U'№', U'\uE000', U'é', U'𠮷'})
        EXPECT_FALSE(Iso2022JpCarries(c)) << uint32_t(c);
    EXPECT_EQ(MailSubstitute(U'Ⅳ'), QStringLiteral("IV"));
    EXPECT_EQ(MailSubstitute(U'㌔'), U(u"キロ"));
    EXPECT_EQ(MailSubstitute(U'\uE000'), QString());
}

TEST(PreflightLine, TabSeparatedWithTheRecordIndex) {
    TPreflightFinding f{3, U(u"山田 太郎"), QStringLiteral("PerSonalZip_1"), TPreflightCode::ZipUnknown,
                        U(u"郵便番号 123-4567 は郵便番号データにありません"), U(u"住所から\t〒100-0013"), {}};
    EXPECT_EQ(PreflightLine(f, 7), U(u"7\t山田 太郎\tPerSonalZip_1\tzip-unknown\t郵便番号 123-4567 は郵便番号データにありません\t住所から 〒100-0013"));
    f.Record = -1;
    EXPECT_TRUE(PreflightLine(f, -1).startsWith(QStringLiteral("-\t")));
}

}  // namespace
}  // namespace q2
