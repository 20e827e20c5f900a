// Bulk mail runs against a real SMTP server (aiosmtpd) and a real POP3 server
// (Dovecot) on 127.0.0.1.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "MailServers.h"
#include "mail/MailMessage.h"
#include "mail/SendMailRun.h"

using namespace q2;
using q2test::ParseMail;
using q2test::Pop3Server;
using q2test::SmtpServer;

namespace {

// Records what the status window would show; cancels on request.
struct RecordingSink : TSendMailSink {
    QStringList statuses;
    QList<int> positions;
    int maximum = -1;
    std::function<bool()> cancel = [] { return false; };
    void SetStatus(const QString& text) override { statuses.append(text); }
    void SetRange(int, int max) override { maximum = max; }
    void SetPosition(int p) override { positions.append(p); }
    bool CancelRequested() override { return cancel(); }
};

struct Book {
    std::vector<std::unique_ptr<TUserInfo>> owned;
    std::vector<TUserInfo*> list;
    TUserInfo& Add(const QString& family, const QString& given, const QString& mail) {
        owned.push_back(std::make_unique<TUserInfo>());
        TUserInfo& r = *owned.back();
        r.PerSonalName_1 = family;
        r.PerSonalName_2 = given;
        r.PerSonalHonorificTitle = QStringLiteral("様");
        r.PerSonalMail_1 = mail;
        r.CommonUseTypePersonal = true;
        list.push_back(&r);
        return r;
    }
    explicit Book(int n = 0) {
        for (int i = 0; i < n; ++i)
            Add(QStringLiteral("山田"), QString::number(i + 1),
                QStringLiteral("r%1@example.jp").arg(i + 1));
    }
};

TthMailConfig Config(int smtpPort) {
    TthMailConfig c;
    c.SenderName = QStringLiteral("差出 太郎");
    c.SenderMailAddress = QStringLiteral("sender@example.jp");
    c.SMTPServerAddress = QStringLiteral("127.0.0.1");
    c.SMTPPortNo = smtpPort;
    return c;
}

TMailTransportOptions Quick() {
    TMailTransportOptions o;
    o.ConnectTimeoutSeconds = 10;
    o.ResponseTimeoutSeconds = 10;
    return o;
}

QStringList Rcpts(const SmtpServer& s) {
    QStringList out;
    for (const QJsonObject& e : s.Events("RCPT")) out.append(e["address"].toString());
    return out;
}

}  // namespace

TEST(SendMailRun, ThreeRecordsInOneSessionWithStatusAfterEachMessage) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start({"--auth", "none"}));
    Book book;
    book.Add("山田", "太郎", "a@example.jp").CommonInsertStr_1 = QStringLiteral("東京");
    book.Add("佐藤", "花子", "b@example.jp");
    TUserInfo& office = book.Add("鈴木", "一郎", "private@example.jp");
    office.CommonUseTypePersonal = false;
    office.OfficeMail_1 = QStringLiteral("c@example.jp");
    const TthMailConfig config = Config(smtp.Port());
    TSendMailRun run(config, book.list, QStringLiteral("[NAME]様へのご案内 [str_1]"),
                     QStringLiteral("[name]様\r\n本日は.\r\n.\r\nｶﾞｲﾄﾞです"), Quick());
    RecordingSink sink;
    const TSendMailResult result = run.Execute(sink);

    EXPECT_EQ(result.ErrorText, "");
    EXPECT_FALSE(result.Cancelled);
    EXPECT_EQ(result.HandedOver, 3);
    EXPECT_EQ(sink.statuses,
              (QStringList{"初期化中････", "接続中････", "<a@example.jp> に送信中････1/3",
                           "<b@example.jp> に送信中････2/3", "<c@example.jp> に送信中････3/3",
                           "切断中････"}));
    EXPECT_EQ(sink.maximum, 3);
    EXPECT_EQ(sink.positions, (QList<int>{0, 1, 2, 3}));

    EXPECT_EQ(smtp.Events("CONNECT").size(), 1);
    EXPECT_EQ(smtp.Events("EHLO").size(), 1);
    EXPECT_EQ(smtp.Events("MAIL").size(), 3);
    EXPECT_EQ(smtp.Connections("MAIL"), 1);
    EXPECT_EQ(smtp.Events("QUIT").size(), 1);
    EXPECT_EQ(Rcpts(smtp), (QStringList{"a@example.jp", "b@example.jp", "c@example.jp"}));
    EXPECT_EQ(smtp.Events("MAIL")[0]["address"].toString(), "sender@example.jp");

    const QJsonObject first = ParseMail(smtp.Dir() + "/msg-1.eml");
    EXPECT_EQ(first["from_name"].toString(), "差出 太郎");
    EXPECT_EQ(first["from_address"].toString(), "sender@example.jp");
    EXPECT_EQ(first["to"].toString(), "a@example.jp");
    EXPECT_EQ(first["subject"].toString(), "山田 太郎様へのご案内 東京");
    EXPECT_EQ(first["body"].toString(), "山田 太郎様\n本日は.\n.\nガイドです\n");
    EXPECT_EQ(first["charset"].toString(), "iso-2022-jp");
    EXPECT_TRUE(first["raw_ascii"].toBool());
    for (const char* h :
         {"date", "message-id", "mime-version", "content-transfer-encoding", "x-mailer"})
        EXPECT_TRUE(first["headers"].toArray().contains(QString::fromLatin1(h))) << h;
    EXPECT_EQ(ParseMail(smtp.Dir() + "/msg-3.eml")["subject"].toString(), "鈴木 一郎様へのご案内 ");
}

// With authentication on, LOGIN when offered, else PLAIN; a server offering
// neither used to get the mail unauthenticated, in silence.
TEST(SendMailRun, AuthLoginOrPlainWhenOnAndNoMailWithoutEither) {
    struct Case {
        const char* offered;
        bool useAuth;
        const char* account;
        int authEvents;
        const char* mechanism;
    };
    const Case cases[] = {
        {"LOGIN PLAIN", true, "taro", 1, "LOGIN"},
        {"PLAIN", true, "taro", 1, "PLAIN"},
        {"PLAIN LOGIN", true, "taro", 1, "LOGIN"},
        {"none", true, "taro", 0, nullptr},
        {"CRAM-MD5", true, "taro", 0, nullptr},
        {"LOGIN PLAIN", false, "taro", 0, ""},
        {"none", false, "taro", 0, ""},
        {"LOGIN PLAIN", true, "", 0, ""},
        {"refuse-ehlo", true, "taro", 0, nullptr},  // HELO, so no extensions at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.offered) + (c.useAuth ? " on " : " off ") + c.account);
        SmtpServer smtp;
        const QString offered = QString::fromLatin1(c.offered);
        ASSERT_TRUE(smtp.Start(offered == "refuse-ehlo" ? QStringList{"--refuse-ehlo"}
                                                        : QStringList{"--auth", offered}));
        Book book(2);
        TthMailConfig config = Config(smtp.Port());
        config.UseSmtpAuth = c.useAuth;
        config.SMTPAccount = QString::fromLatin1(c.account);
        config.SMTPPassword = QStringLiteral("secret");
        RecordingSink sink;
        const TSendMailResult result =
            TSendMailRun(config, book.list, "S", "B", Quick()).Execute(sink);
        EXPECT_EQ(smtp.Events("AUTH_COMMAND").size(), c.authEvents);
        EXPECT_EQ(smtp.Events("HELO").size(), offered == "refuse-ehlo" ? 1 : 0);
        if (!c.mechanism) {
            // Stopped before the first message, with the server's EHLO answer.
            EXPECT_TRUE(result.ErrorText.startsWith(kNoAuthMechanismText + "\n"))
                << result.ErrorText.toStdString();
            EXPECT_TRUE(result.ErrorText.contains(offered == "refuse-ehlo" ? "502" : "250"));
            EXPECT_EQ(result.HandedOver, 0);
            EXPECT_TRUE(smtp.Events("MAIL").isEmpty());
            continue;
        }
        EXPECT_EQ(result.ErrorText, "");
        EXPECT_EQ(result.HandedOver, 2);
        const auto auth = smtp.Events("AUTH");
        ASSERT_EQ(auth.size(), c.authEvents);
        if (!auth.isEmpty()) {
            EXPECT_EQ(auth[0]["mechanism"].toString(), c.mechanism);
            EXPECT_TRUE(auth[0]["ok"].toBool());
        }
        EXPECT_EQ(smtp.Connections("MAIL"), 1);
    }
}

TEST(SendMailRun, WrongSmtpPasswordOrNoServerIsAConnectionError) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start());
    Book book(2);
    TthMailConfig config = Config(smtp.Port());
    config.UseSmtpAuth = true;
    config.SMTPAccount = QStringLiteral("taro");
    config.SMTPPassword = QStringLiteral("wrong");
    RecordingSink sink;
    TSendMailResult result = TSendMailRun(config, book.list, "S", "B", Quick()).Execute(sink);
    EXPECT_EQ(result.ErrorText, kConnectErrorText);
    EXPECT_TRUE(smtp.Events("MAIL").isEmpty());
    EXPECT_EQ(sink.statuses, (QStringList{"初期化中････", "接続中････"}));

    const int port = smtp.Port();
    smtp.Stop();
    result = TSendMailRun(Config(port), book.list, "S", "B", Quick()).Execute(sink);
    EXPECT_EQ(result.ErrorText, kConnectErrorText);
}

TEST(SendMailRun, RefusedSecondRecipientStopsTheRunThere) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start({"--reject-rcpt", "2"}));
    Book book(3);
    RecordingSink sink;
    const TthMailConfig config = Config(smtp.Port());
    const TSendMailResult result = TSendMailRun(config, book.list, "S", "B", Quick()).Execute(sink);
    EXPECT_EQ(result.HandedOver, 1);
    EXPECT_FALSE(result.Cancelled);
    EXPECT_EQ(Rcpts(smtp), (QStringList{"r1@example.jp", "r2@example.jp"}));
    EXPECT_EQ(smtp.Events("STORED").size(), 1);
    EXPECT_EQ(
        result.ErrorText.toStdString(),
        "2/3 件目（山田 2）の送信先 <r2@example.jp> への送信に失敗したため、送信を中止しました。\n"
        "サーバーの応答: 550 5.1.1 <r2@example.jp>: Recipient address rejected\n"
        "それまでに 1 件のメールを送信しました。");
    EXPECT_FALSE(sink.statuses.contains("切断中････"));
}

TEST(SendMailRun, RecordTextsCannotInjectCommandsOrHeaders) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start());
    Book book;
    book.Add("A", "B", "a@example.jp").CommonInsertStr_1 =
        QStringLiteral("x\r\nBcc: evil@example.jp");
    book.Add("C", "D", "b@example.jp\r\nRCPT TO:<evil@example.jp>");
    book.Add("E", "F", "c@example.jp");
    RecordingSink sink;
    const TthMailConfig config = Config(smtp.Port());
    const TSendMailResult result =
        TSendMailRun(config, book.list, "Hi [STR_1]", "body", Quick()).Execute(sink);
    EXPECT_EQ(Rcpts(smtp), QStringList{"a@example.jp"});
    EXPECT_EQ(result.HandedOver, 1);
    EXPECT_TRUE(result.ErrorText.contains("2/3 件目")) << result.ErrorText.toStdString();
    EXPECT_TRUE(result.ErrorText.contains("メールアドレスに使えない文字が含まれています。"));
    const QJsonObject mail = ParseMail(smtp.Dir() + "/msg-1.eml");
    EXPECT_FALSE(mail["headers"].toArray().contains(QStringLiteral("bcc")));
    EXPECT_EQ(mail["subject"].toString(), "Hi x Bcc: evil@example.jp");
}

// A record without an address used to stop the whole run before it; now it
// is passed over and named at the end.
TEST(SendMailRun, RecordsWithoutAnAddressAreSkippedAndListed) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start({"--auth", "none"}));
    Book book(4);
    book.list[0]->PerSonalMail_1.clear();
    book.list[2]->PerSonalMail_1 = QStringLiteral("  ");
    RecordingSink sink;
    const TthMailConfig config = Config(smtp.Port());
    const TSendMailResult result = TSendMailRun(config, book.list, "S", "B", Quick()).Execute(sink);
    EXPECT_EQ(result.ErrorText, "");
    EXPECT_EQ(result.HandedOver, 2);
    EXPECT_EQ(result.Skipped, (std::vector<int>{0, 2}));
    EXPECT_EQ(Rcpts(smtp), (QStringList{"r2@example.jp", "r4@example.jp"}));
    EXPECT_EQ(sink.positions, (QList<int>{0, 1, 2, 3, 4})) << "the gauge ends full";
    EXPECT_EQ(CompletionText(result, book.list).toStdString(),
              "送信処理が完了しました\n"
              "2 件を送信しました。アドレスのない 2 件は送信していません\n"
              "1 件目 山田 1\n"
              "3 件目 山田 3");
    EXPECT_EQ(CompletionText(TSendMailResult{}, book.list), kCompletedText);
}

// A 700-character paragraph used to go out as one line of 1,406 octets,
// which a server keeping to the 998-octet limit refuses.
TEST(SendMailRun, LongLinesArriveFoldedAndThePartsParseWithoutDefects) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start({"--auth", "none"}));  // aiosmtpd's own line limit
    Book book(1);
    TthMailConfig config = Config(smtp.Port());
    config.SenderName = QStringLiteral("株式会社サンプル商事 東日本営業本部 第二営業部 差出 太郎");
    const QString sentence = QStringLiteral(
        "本日はお日柄もよく、皆様におかれましてはますますご清祥のこととお慶び申し上げます。");
    QString paragraph;
    while (paragraph.size() < 700) paragraph += sentence;
    paragraph.truncate(700);
    const QString subject = QStringLiteral(
        "【重要】令和九年度 定期総会開催のお知らせと出欠のご返信のお願い（[NAME]様）");
    const QString body =
        QStringLiteral("[NAME]様\r\n") + paragraph + QStringLiteral("\r\n以上\r\n");
    RecordingSink sink;
    const TSendMailResult result =
        TSendMailRun(config, book.list, subject, body, Quick()).Execute(sink);
    ASSERT_EQ(result.ErrorText.toStdString(), "");
    ASSERT_EQ(result.HandedOver, 1);

    QFile stored(smtp.Dir() + "/msg-1.eml");
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const QByteArray raw = stored.readAll();
    const qsizetype headerEnd = raw.indexOf("\r\n\r\n");
    ASSERT_GT(headerEnd, 0);
    for (const QByteArray& line : raw.split('\n'))
        EXPECT_LE(line.size(), 999) << "998 octets and the CR";
    for (const QByteArray& line : raw.left(headerEnd).split('\n'))
        if (line.contains("=?")) {
            EXPECT_LE(line.size(), 77) << line.constData();
        }
    EXPECT_FALSE(raw.contains("?=<")) << "a space before the address";

    const QJsonObject mail = ParseMail(stored.fileName());
    EXPECT_EQ(mail["defects"].toArray(), QJsonArray()) << QJsonDocument(mail).toJson().constData();
    // Python's email shows the folding space between the words of a display
    // name, which other readers drop; the words break at the name's spaces.
    EXPECT_EQ(mail["from_name"].toString().simplified(), config.SenderName);
    EXPECT_EQ(mail["subject"].toString(), Personalize(subject, *book.list[0]));
    QStringList lines = mail["body"].toString().split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines.first(), "山田 1様");
    EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{"以上", ""}));
    EXPECT_EQ(lines.mid(1, lines.size() - 3).join(""), paragraph)
        << "the folded lines join to the text";
}

TEST(SendMailRun, CancelIsNoticedAtTheNextPoll) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start());
    Book book(5);
    RecordingSink sink;
    // The user presses cancel while the second message is on its way.
    sink.cancel = [&] { return smtp.Events("STORED").size() >= 2; };
    const TthMailConfig config = Config(smtp.Port());
    const TSendMailResult result = TSendMailRun(config, book.list, "S", "B", Quick()).Execute(sink);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.ErrorText, "");
    EXPECT_EQ(result.HandedOver, 2);
    EXPECT_EQ(smtp.Events("MAIL").size(), 2);
    EXPECT_EQ(sink.statuses.mid(2), (QStringList{"<r1@example.jp> に送信中････1/5",
                                                 "<r2@example.jp> に送信中････2/5", "切断中････"}));
    EXPECT_EQ(smtp.Events("QUIT").size(), 1);

    // A cancel before connecting ends the run without any connection.
    SmtpServer idle;
    ASSERT_TRUE(idle.Start());
    RecordingSink early;
    early.cancel = [] { return true; };
    const TSendMailResult before =
        TSendMailRun(Config(idle.Port()), book.list, "S", "B").Execute(early);
    EXPECT_TRUE(before.Cancelled);
    EXPECT_EQ(early.statuses, QStringList{"初期化中････"});
    EXPECT_TRUE(idle.Events("CONNECT").isEmpty());
}

TEST(SendMailRun, StartTlsAndTlsWithATestCertificate) {
    QTemporaryDir dir;
    const QString pem = dir.filePath("server.pem");
    ASSERT_TRUE(q2test::MakeTestCertificate(pem));
    for (TMailSecurity security : {TMailSecurity::StartTls, TMailSecurity::Tls}) {
        SmtpServer smtp;
        QStringList args{"--cert", pem};
        if (security == TMailSecurity::Tls) args << "--tls";
        ASSERT_TRUE(smtp.Start(args));
        Book book(2);
        TthMailConfig config = Config(smtp.Port());
        config.SMTPSecurity = security;
        config.UseSmtpAuth = true;
        config.SMTPAccount = QStringLiteral("taro");
        config.SMTPPassword = QStringLiteral("secret");
        TMailTransportOptions options = Quick();
        RecordingSink sink;

        // Without the test certificate among the trusted ones the server is refused.
        EXPECT_EQ(TSendMailRun(config, book.list, "S", "B", options).Execute(sink).ErrorText,
                  kConnectErrorText);
        EXPECT_TRUE(smtp.Events("MAIL").isEmpty());

        options.CaFile = pem + ".crt";
        const TSendMailResult result =
            TSendMailRun(config, book.list, "S", "B", options).Execute(sink);
        EXPECT_EQ(result.ErrorText, "");
        EXPECT_EQ(result.HandedOver, 2);
        EXPECT_EQ(smtp.Events("STORED").size(), 2);
        if (security == TMailSecurity::StartTls) {
            const auto ehlo = smtp.Events("EHLO");
            ASSERT_FALSE(ehlo.isEmpty());
            EXPECT_TRUE(ehlo.last()["tls"].toBool());
        }
        EXPECT_EQ(smtp.Events("AUTH").size(), 1);
    }
}

TEST(SendMailRun, PopBeforeSmtpLogsInFirstAndAWrongPasswordOpensNoSmtp) {
    Pop3Server pop;
    ASSERT_TRUE(pop.Start());
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start());
    Book book(1);
    TthMailConfig config = Config(smtp.Port());
    config.UsePopBeforeSMTP = true;
    config.POP3ServerAddress = QStringLiteral("127.0.0.1");
    config.POP3PortNo = pop.Port();
    config.POP3Account = QString::fromLatin1(Pop3Server::kUser);
    config.Pop3Password = QString::fromLatin1(Pop3Server::kPassword);
    RecordingSink sink;
    TSendMailResult result = TSendMailRun(config, book.list, "S", "B", Quick()).Execute(sink);
    EXPECT_EQ(result.ErrorText, "");
    EXPECT_EQ(result.HandedOver, 1);
    EXPECT_TRUE(pop.Log().contains("Login: user=<hanako>, method=PLAIN"))
        << pop.Log().toStdString();
    EXPECT_EQ(smtp.Events("STORED").size(), 1);

    config.Pop3Password = QStringLiteral("wrong");
    result = TSendMailRun(config, book.list, "S", "B", Quick()).Execute(sink);
    EXPECT_EQ(result.ErrorText, kConnectErrorText);
    EXPECT_EQ(smtp.Events("CONNECT").size(), 1) << "no second SMTP connection";
}
