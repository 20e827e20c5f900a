// q2tool mail, run as a user would run it: message files to look at, and the
// same messages sent to a real SMTP server (aiosmtpd) on 127.0.0.1.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>

#include "MailServers.h"
#include "mail/MailTemplate.h"
#include "model/MailConfig.h"

using namespace q2;
using q2test::ParseMail;
using q2test::SmtpServer;

namespace {

struct ToolRun {
    int code;
    QString out, err;
};

// A user's set-up: a book of three, the second without an address, a
// template, and a data folder whose mail settings name the test server.
class MailTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QByteArray book = R"({"password": "", "records": [
            {"PerSonalName_1": "山田", "PerSonalName_2": "太郎", "PerSonalHonorificTitle": "様",
             "PerSonalMail_1": "taro@example.jp", "CommonUseTypePersonal": true},
            {"PerSonalName_1": "鈴木", "PerSonalName_2": "一郎", "CommonUseTypePersonal": true},
            {"PerSonalName_1": "佐藤", "PerSonalName_2": "花子", "PerSonalHonorificTitle": "様",
             "PerSonalMail_1": "hanako@example.jp", "CommonUseTypePersonal": true}]})";
        ASSERT_EQ(Run({"create", Book()}, book).code, 0);
        ASSERT_TRUE(
            SaveMailTemplate(Template(), QStringLiteral("[NAME][NAME_TITLE]へのご案内"),
                             QStringLiteral("[NAME][NAME_TITLE]\r\n総会のご案内です。\r\n")));
        WriteMailSettings(25);
    }
    void WriteMailSettings(int port) {
        TthMailConfig c;
        c.SenderName = QStringLiteral("差出 太郎");
        c.SenderMailAddress = QStringLiteral("sender@example.jp");
        c.SMTPServerAddress = QStringLiteral("127.0.0.1");
        c.SMTPPortNo = port;
        ASSERT_TRUE(QDir().mkpath(dir.filePath("data/Zabelle/Quintaro2")));
        ASSERT_TRUE(c.SaveToFile(dir.filePath("data/Zabelle/Quintaro2/mail.dat")));
    }
    ToolRun Run(const QStringList& args, const QByteArray& input = {}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", dir.filePath("data"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(Q2TOOL_PATH), args);
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString Book() const { return dir.filePath("book.QT2"); }
    QString Template() const { return dir.filePath("t.mtl"); }
    QString Out() const { return dir.filePath("out"); }
    QStringList OutFiles() const { return QDir(Out()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir dir;
};

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST_F(MailTool, OutWritesOneMessageFilePerAddressAndRefusesAFolderInUse) {
    EXPECT_EQ(Run({"mail", Book(), Template()}).code, 2) << "--out or --send is needed";

    ToolRun r = Run({"mail", Book(), Template(), "--out", Out()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("2 件のメールを %1 に書き出しました").arg(Out()));
    EXPECT_TRUE(r.err.contains("mail-no-address")) << "the check's findings are listed";
    EXPECT_TRUE(r.err.contains("書き出していません\n2 件目 鈴木 一郎")) << r.err.toStdString();
    EXPECT_EQ(OutFiles(), (QStringList{"0001.eml", "0003.eml"}));
    const QJsonObject first = ParseMail(QDir(Out()).filePath("0001.eml"));
    EXPECT_EQ(first["defects"].toArray(), QJsonArray());
    EXPECT_EQ(first["to"].toString(), "taro@example.jp");
    EXPECT_EQ(first["from_name"].toString(), "差出 太郎");
    EXPECT_EQ(first["subject"].toString(), "山田 太郎様へのご案内");
    EXPECT_EQ(first["body"].toString(), "山田 太郎様\n総会のご案内です。\n");

    // A second run would mix with the first; with --force only earlier
    // message files go, anything else in the folder stays.
    ASSERT_TRUE(QFile::rename(QDir(Out()).filePath("0003.eml"), QDir(Out()).filePath("0009.eml")));
    QFile note(QDir(Out()).filePath("note.txt"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.close();
    r = Run({"mail", Book(), Template(), "--out", Out()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("フォルダ %1 は空ではありません").arg(Out())))
        << r.err.toStdString();
    EXPECT_EQ(OutFiles(), (QStringList{"0001.eml", "0009.eml", "note.txt"}));
    r = Run({"mail", Book(), Template(), "--out", Out(), "--force"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(OutFiles(), (QStringList{"0001.eml", "0003.eml", "note.txt"}));

    r = Run({"mail", Book(), Template(), "--out", Book()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("はフォルダではありません"));
}

TEST_F(MailTool, SendHandsOverTheFilesItWroteAndSkipsTheRecordWithoutAnAddress) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start({"--auth", "none"}));
    WriteMailSettings(smtp.Port());

    // The check found a record without an address: nothing goes without --continue.
    ToolRun r = Run({"mail", Book(), Template(), "--send"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("確認で問題が見つかったため送信していません"))
        << r.err.toStdString();
    EXPECT_TRUE(smtp.Events("MAIL").isEmpty());

    r = Run({"mail", Book(), Template(), "--out", Out(), "--send", "--continue"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed().toStdString(),
              "2 件のメールを " + Out().toStdString() +
                  " に書き出しました\n"
                  "送信処理が完了しました\n"
                  "2 件を送信しました。アドレスのない 1 件は送信していません\n"
                  "2 件目 鈴木 一郎");
    ASSERT_EQ(smtp.Events("STORED").size(), 2);
    EXPECT_EQ(ReadFile(smtp.Dir() + "/msg-1.eml"), ReadFile(QDir(Out()).filePath("0001.eml")));
    EXPECT_EQ(ReadFile(smtp.Dir() + "/msg-2.eml"), ReadFile(QDir(Out()).filePath("0003.eml")));
    EXPECT_FALSE(ReadFile(smtp.Dir() + "/msg-1.eml").isEmpty());

    // Settings that name no server are told as the main window tells them.
    TthMailConfig none;
    ASSERT_TRUE(none.SaveToFile(dir.filePath("data/Zabelle/Quintaro2/mail.dat")));
    r = Run({"mail", Book(), Template(), "--send", "--continue"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("メール送信設定が完了していないため使用できません"));
}
