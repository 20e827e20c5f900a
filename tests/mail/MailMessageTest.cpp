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
        EXPECT_FALSE(one.lastIndexOf("\x1B$B") > one.lastIndexOf("\x1B(B")) << "word ends in JIS";
        jis += one;
        ++*words;
    }
    return jis;
}

// The lines of a folded header value after a field name of `used` characters.
QList<qsizetype> LineLengths(const QByteArray& value, qsizetype used) {
    QList<qsizetype> out;
    for (const QByteArray& line : value.split('\n')) {
        out << used + line.size() - (line.endsWith('\r') ? 1 : 0);
        used = 0;
    }
    return out;
}

// True when every run of JIS X 0208 in the bytes is whole pairs and the bytes
// end in ASCII: the line decodes on its own.
bool DecodesAlone(const QByteArray& jis) {
    bool twoByte = false;
    qsizetype pairBytes = 0;
    for (qsizetype i = 0; i < jis.size(); ++i) {
        if (jis.mid(i, 3) == "\x1B$B" || jis.mid(i, 3) == "\x1B(B") {
            if (pairBytes % 2) return false;
            twoByte = jis[i + 1] == '$';
            pairBytes = 0;
            i += 2;
        } else if (twoByte) {
            ++pairBytes;
        }
    }
    return !twoByte;
}

QByteArray StripEscapes(QByteArray b) {
    return b.replace("\x1B$B", "").replace("\x1B(B", "");
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

// RFC 2047 lets a line with encoded words hold 76 characters, the field name
// included: the first word is shorter by "Subject: ".
TEST(HeaderWords, NoLinePassesTheLimitsWithTheFieldName) {
    const QString japanese = QStringLiteral(
        "【重要】令和九年度 定期総会開催のお知らせと出欠のご返信のお願い（締切は一月三十一日）");
    for (qsizetype used : {0, 6, 9}) {
        const QByteArray header = EncodeHeaderWords(japanese, used);
        for (qsizetype n : LineLengths(header, used)) EXPECT_LE(n, 76) << "used " << used;
        int words = 0;
        EXPECT_EQ(StripEscapes(WordPayload(QByteArray(header).replace("\r\n", ""), &words)),
                  StripEscapes(TPzConv().SjisToJis(EncodeCp932(japanese))));
    }
    // Long plain text folds before a space and unfolds to itself.
    const QByteArray plain =
        "Invitation to the annual general meeting of the association and a request for your reply";
    const QByteArray folded = EncodeHeaderWords(QString::fromLatin1(plain), 9);
    for (qsizetype n : LineLengths(folded, 9)) EXPECT_LE(n, 78);
    EXPECT_EQ(QByteArray(folded).replace("\r\n", ""), plain);
    // A word no space can fold is carried by encoded words rather than a line over 998.
    const QByteArray token(1200, 'x');
    const QByteArray words = EncodeHeaderWords(QString::fromLatin1(token), 9);
    EXPECT_TRUE(words.startsWith("=?ISO-2022-JP?B?"));
    for (qsizetype n : LineLengths(words, 9)) EXPECT_LE(n, 76);
}

TEST(FromHeader, NameThenAddressInAngleBrackets) {
    struct Case {
        const char16_t* name;
        QByteArray from;
    };
    const TPzConv conv;
    const Case cases[] = {
        {u"Taro", "Taro <t@example.jp>"},
        {u"", "<t@example.jp>"},
        {u"  ", "<t@example.jp>"},
        {u"Yamada, Taro", "\"Yamada, Taro\" <t@example.jp>"},
        {u"Evil\r\nBcc: x@y", "\"Evil Bcc: x@y\" <t@example.jp>"},
        {u"山田 太郎",
         conv.EncodeMimeHeader(EncodeCp932(QStringLiteral("山田 太郎"))) + " <t@example.jp>"},
        {u"ﾔﾏﾀﾞ", conv.EncodeMimeHeader(EncodeCp932(QStringLiteral("ヤマダ"))) + " <t@example.jp>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FromHeaderValue(QString::fromUtf16(c.name), "t@example.jp").toStdString(),
                  c.from.toStdString());

    // A long name takes several words, and the address a line of its own
    // when it does not fit after the last one.
    const QString longName =
        QStringLiteral("株式会社サンプル商事 東日本営業本部 第二営業部 山田 太郎");
    const QByteArray address = "taro.yamada.eigyo2@higashi-nihon.sample-shoji.example.co.jp";
    const QByteArray from = FromHeaderValue(longName, QString::fromLatin1(address));
    EXPECT_TRUE(from.endsWith("\r\n <" + address + ">")) << from.constData();
    for (qsizetype n : LineLengths(from, 6)) EXPECT_LE(n, 76);
}

TEST(FoldBodyLine, LinesStayWithinTheLimitAndJoinToTheText) {
    struct Case {
        const char16_t* text;
        qsizetype limit;
        std::vector<const char16_t*> lines;
    };
    const Case cases[] = {
        {u"", 10, {u""}},
        {u"あい", 10, {u"あい"}},  // 3 + 4 + 3 octets: exactly the limit
        {u"あいうえお", 10, {u"あい", u"うえ", u"お"}},
        {u"abcdefghijkl", 10, {u"abcdefghij", u"kl"}},
        {u"abあcd", 10, {u"abあ", u"cd"}},  // "cd" after ESC ( B would pass 10
        // A fold after punctuation in the second half of the line.
        {u"あいう。えおか", 16, {u"あいう。", u"えおか"}},
        {u"あ。いうえおか", 16, {u"あ。いうえ", u"おか"}},
        // Half-width kana are widened before the fold: ｶﾞ never parts.
        {u"ｶﾞｶﾞｶﾞ", 10, {u"ガガ", u"ガ"}},
    };
    TPzConv conv;
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        QList<QByteArray> expected;
        for (const char16_t* l : c.lines)
            expected << conv.SjisToJis(EncodeCp932(QString::fromUtf16(l)));
        EXPECT_EQ(FoldBodyLine(text, c.limit), expected) << text.toStdString();
    }

    // A 700-character paragraph at the real limit: every line decodes on its own.
    const QString sentence = QStringLiteral(
        "本日はお日柄もよく、皆様におかれましてはますますご清祥のこととお慶び申し上げます。");
    QString paragraph;
    while (paragraph.size() < 700) paragraph += sentence;
    paragraph.truncate(700);
    const QList<QByteArray> lines = FoldBodyLine(paragraph);
    ASSERT_EQ(lines.size(), 2);
    QByteArray joined;
    for (const QByteArray& line : lines) {
        EXPECT_LE(line.size(), kBodyLineOctets);
        EXPECT_TRUE(DecodesAlone(line));
        joined += StripEscapes(line);
    }
    const QByteArray last = StripEscapes(lines[0]).right(2);
    EXPECT_TRUE(last == StripEscapes(conv.SjisToJis(EncodeCp932(u"。"))) ||
                last == StripEscapes(conv.SjisToJis(EncodeCp932(u"、"))))
        << "folded after punctuation";
    EXPECT_EQ(joined, StripEscapes(conv.SjisToJis(EncodeCp932(paragraph))));
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
              QByteArray("From: Taro <t@example.jp>\r\n"
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
