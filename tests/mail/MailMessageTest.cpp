// Placeholders, recipients, header words, the message text and template files.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "mail/MailMessage.h"
#include "mail/MailTemplate.h"
#include "mail/PzConv.h"
#include "platform/Cp932.h"

using namespace q2;

namespace {

TUserInfo Yamada() {
    TUserInfo r;
    r.PerSonalName_1 = QStringLiteral("山田");
    r.PerSonalName_2 = QStringLiteral("太郎");
    r.PerSonalHonorificTitle = QStringLiteral("様");
    r.CommonInsertStr_1 = QStringLiteral("一");
    r.CommonInsertStr_2 = QStringLiteral("[STR_3]");
    r.CommonInsertStr_3 = QStringLiteral("三");
    r.CommonInsertStr_4 = QStringLiteral("[name]");
    r.PerSonalMail_1 = QStringLiteral("taro@home.example");
    r.OfficeMail_1 = QStringLiteral("yamada@office.example");
    r.CommonUseTypePersonal = true;
    return r;
}

// The ISO-2022-JP bytes inside the encoded words of a header, joined.
QByteArray WordPayload(const QByteArray& header, int* words) {
    QByteArray jis;
    *words = 0;
    for (QByteArray w : header.split(' ')) {
        w = w.trimmed();
        if (w.isEmpty()) continue;
        EXPECT_TRUE(w.startsWith("=?ISO-2022-JP?B?") && w.endsWith("?=")) << w.constData();
        EXPECT_LE(w.size(), 75);
        const QByteArray one = QByteArray::fromBase64(w.mid(16, w.size() - 18));
        EXPECT_TRUE(one.startsWith("\x1B$B") || !one.startsWith("\x1B")) << "word starts in JIS";
        EXPECT_FALSE(one.contains("\x1B$B") && !one.endsWith("\x1B(B")) << "word ends in JIS";
        jis += one;
        ++*words;
    }
    return jis;
}

}  // namespace

TEST(Personalize, ReplacesPlaceholdersInOrderIgnoringCase) {
    const TUserInfo r = Yamada();
    struct Case {
        const char16_t* text;
        const char16_t* result;
    };
    const Case cases[] = {
        {u"[name]様", u"山田 太郎様"},
        {u"[NAME][Name_Title]", u"山田 太郎様"},
        {u"[STR_1]-[str_2]-[STR_4]", u"一-三-[name]"},  // [STR_2] gives [STR_3], replaced later
        {u"[NAME", u"[NAME"},
        {u"", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Personalize(QString::fromUtf16(c.text), r), QString::fromUtf16(c.result));
}

TEST(RecipientAddress, FollowsTheUseType) {
    TUserInfo r = Yamada();
    EXPECT_EQ(RecipientAddress(r), "taro@home.example");
    r.CommonUseTypePersonal = false;
    EXPECT_EQ(RecipientAddress(r), "yamada@office.example");
}

TEST(IsUsableMailAddress, RefusesWhatWouldBreakCommandsOrHeaders) {
    EXPECT_TRUE(IsUsableMailAddress("a.b+c@example.jp"));
    for (const char16_t* bad : {u"", u"a@b\r\nRCPT TO:<x@y>", u"a b@c", u"<a@b>", u"a@b,c@d",
                                u"山田@example.jp", u"a@b\n"})
        EXPECT_FALSE(IsUsableMailAddress(QString::fromUtf16(bad)))
            << QString::fromUtf16(bad).toStdString();
}

TEST(HeaderWords, PlainAsciiStaysAndJapaneseIsSplitIntoWholeWords) {
    EXPECT_EQ(EncodeHeaderWords("Hello"), "Hello");
    EXPECT_EQ(EncodeHeaderWords(""), "");
    EXPECT_EQ(EncodeHeaderWords("a\r\nBcc: x@y"), "a Bcc: x@y");

    const QString shortText = QStringLiteral("ご案内");
    int words = 0;
    const TPzConv conv;
    EXPECT_EQ(EncodeHeaderWords(shortText), conv.EncodeMimeHeader(EncodeCp932(shortText)));

    // Forty characters need several words; each is whole and they join to the text.
    const QString longText = QStringLiteral(
        "新年会のご案内（株式会社サンプル商事 営業部）ｶﾞ：日時は一月十日、会場は本社ビル八階です");
    const QByteArray header = EncodeHeaderWords(longText);
    EXPECT_TRUE(header.contains("\r\n ")) << "folded between words";
    const QByteArray jis = WordPayload(QByteArray(header).replace("\r\n", ""), &words);
    EXPECT_GT(words, 2);
    QByteArray expected = conv.SjisToJis(EncodeCp932(longText));
    // Mode switches may fall at word ends; compare the text without escapes.
    auto strip = [](QByteArray b) { return b.replace("\x1B$B", "").replace("\x1B(B", ""); };
    EXPECT_EQ(strip(jis), strip(expected));

    // Half-width katakana alone have no lead byte but are not ASCII either.
    EXPECT_TRUE(EncodeHeaderWords(QStringLiteral("ｶﾀｶﾅ")).startsWith("=?ISO-2022-JP?B?"));
}

TEST(FromHeader, NameThenAddressInAngleBrackets) {
    struct Case {
        const char16_t* name;
        QByteArray from;
    };
    const TPzConv conv;
    const Case cases[] = {
        {u"Taro", "Taro<t@example.jp>"},
        {u"", "<t@example.jp>"},
        {u"Yamada, Taro", "\"Yamada, Taro\"<t@example.jp>"},
        {u"Evil\r\nBcc: x@y", "\"Evil Bcc: x@y\"<t@example.jp>"},
        {u"山田 太郎",
         conv.EncodeMimeHeader(EncodeCp932(QStringLiteral("山田 太郎"))) + "<t@example.jp>"},
        {u"ﾔﾏﾀﾞ", conv.EncodeMimeHeader(EncodeCp932(QStringLiteral("ヤマダ"))) + "<t@example.jp>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FromHeaderValue(QString::fromUtf16(c.name), "t@example.jp").toStdString(),
                  c.from.toStdString());
}

TEST(ComposeMailMessage, HeadersAndJisBodyWithCrLf) {
    TthMailConfig config;
    config.SenderName = QStringLiteral("Taro");
    config.SenderMailAddress = QStringLiteral("t@example.jp");
    TMailMessageParts parts;
    parts.Subject = QStringLiteral("Hi");
    parts.Body = QStringLiteral("あ\nb\r\n");
    parts.To = QStringLiteral("r@example.jp");
    parts.Date = QDateTime(QDate(2026, 12, 10), QTime(9, 30), Qt::OffsetFromUTC, 9 * 3600);
    parts.MessageId = "id@example.jp";
    EXPECT_EQ(ComposeMailMessage(config, parts).toStdString(),
              QByteArray("From: Taro<t@example.jp>\r\n"
                         "To: r@example.jp\r\n"
                         "Subject: Hi\r\n"
                         "Date: 10 Dec 2026 09:30:00 +0900\r\n"
                         "Message-ID: <id@example.jp>\r\n"
                         "MIME-Version: 1.0\r\n"
                         "Content-Type: text/plain;charset=\"iso-2022-jp\";\r\n"
                         "Content-Transfer-Encoding: 7bit\r\n"
                         "X-Mailer: Quintaro2\r\n"
                         "\r\n"
                         "\x1B$B\x24\x22\x1B(B\r\n"
                         "b\r\n")
                  .toStdString());
    EXPECT_TRUE(NewMessageId("t@example.jp").endsWith("@example.jp"));
    EXPECT_NE(NewMessageId("t@example.jp"), NewMessageId("t@example.jp"));
}

TEST(MailTemplate, SubjectAndTwoBodyLinesAreThreeLines) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.mtl");
    ASSERT_TRUE(SaveMailTemplate(path, QStringLiteral("件名"), QStringLiteral("一行目\n二行目")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), EncodeCp932(QStringLiteral("件名\r\n一行目\r\n二行目\r\n")));

    TMailTemplate t;
    ASSERT_TRUE(LoadMailTemplate(path, &t));
    EXPECT_EQ(t.Subject, QStringLiteral("件名"));
    EXPECT_EQ(t.Body, QStringLiteral("一行目\r\n二行目\r\n"));

    // A body that ends with a line break gains no empty line.
    EXPECT_EQ(MailTemplateBytes("S", "a\r\n"), "S\r\na\r\n");
    const TMailTemplate empty = MailTemplateFromBytes("");
    EXPECT_TRUE(empty.Subject.isEmpty() && empty.Body.isEmpty());
    EXPECT_FALSE(LoadMailTemplate(dir.filePath("missing.mtl"), &t));
}
