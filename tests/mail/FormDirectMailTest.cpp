// The bulk mail dialog offscreen: list, placeholders, preview, templates, and
// whole runs on the worker thread against a real SMTP server.
#include <gtest/gtest.h>

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "MailServers.h"
#include "mail/FormDirectMail.h"
#include "mail/FormSendStatus.h"
#include "mail/SendMailRun.h"
#include "platform/Cp932.h"
#include "platform/Prompter.h"

using namespace q2;
using q2test::SmtpServer;

namespace {

class DirectMailDialog : public ::testing::Test {
protected:
    void SetUp() override {
        Add("山田", "太郎", "yamada@example.jp").CommonInsertStr_1 = QStringLiteral("営業部");
        TUserInfo& office = Add("佐藤", "花子", "hanako@home.example");
        office.CommonUseTypePersonal = false;
        office.OfficeMail_1 = QStringLiteral("sato@office.example");
        config.SenderName = QStringLiteral("差出 太郎");
        config.SenderMailAddress = QStringLiteral("sender@example.jp");
        config.SMTPServerAddress = QStringLiteral("127.0.0.1");
        form.SetUp(list, config);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
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
    QString Cell(int row, int column) const {
        return form.LVAddress->model()->index(row, column).data().toString();
    }
    void SelectRow(int row) { form.LVAddress->selectRow(row); }
    // Runs one send to its end, answering the start question with Yes.
    void SendAndWait() {
        prompter.answers.push_back(true);
        QSignalSpy finished(&form, &TFormDirectMail::SendFinished);
        form.BtnSendClick();
        ASSERT_TRUE(form.Sending());
        EXPECT_FALSE(form.Contents->isEnabled());
        EXPECT_TRUE(form.FormSendStatus->isVisible());
        EXPECT_TRUE(form.FormSendStatus->isEnabled());
        ASSERT_TRUE(finished.wait(30000));
        EXPECT_TRUE(form.Contents->isEnabled());
        EXPECT_FALSE(form.FormSendStatus->isVisible());
    }

    std::vector<std::unique_ptr<TUserInfo>> owned;
    std::vector<TUserInfo*> list;
    TthMailConfig config;
    ScriptedPrompter prompter;
    ScopedPrompter scoped{prompter};
    TFormDirectMail form;
};

}  // namespace

TEST_F(DirectMailDialog, ListsRecordsWithTheirRecipientAddress) {
    EXPECT_EQ(form.windowTitle(), "同報メール送信");
    ASSERT_EQ(form.LVAddress->model()->rowCount(), 2);
    QStringList headers;
    for (int c = 0; c < 7; ++c)
        headers << form.LVAddress->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers,
              (QStringList{"名前", "敬称", "ﾒｰﾙｱﾄﾞﾚｽ", "差込１", "差込２", "差込３", "差込４"}));
    EXPECT_EQ(Cell(0, 0), "山田 太郎");
    EXPECT_EQ(Cell(0, 1), "様");
    EXPECT_EQ(Cell(0, 2), "yamada@example.jp");
    EXPECT_EQ(Cell(0, 3), "営業部");
    EXPECT_EQ(Cell(1, 2), "sato@office.example");  // office side
}

TEST_F(DirectMailDialog, PreviewIsRawWithoutSelectionAndPersonalisedWithIt) {
    form.EditSubject->setText("[NAME_TITLE]のお知らせ");
    form.MemoBody->setPlainText("[name]様\n[STR_1]");
    EXPECT_EQ(form.EditPrevSubject->text(), "[NAME_TITLE]のお知らせ");
    EXPECT_EQ(form.MemoPrevBody->toPlainText(), "[name]様\n[STR_1]");
    SelectRow(0);
    EXPECT_EQ(form.EditPrevSubject->text(), "様のお知らせ");
    EXPECT_EQ(form.MemoPrevBody->toPlainText(), "山田 太郎様\n営業部");
    form.MemoBody->setPlainText("[NAME]");
    EXPECT_EQ(form.MemoPrevBody->toPlainText(), "山田 太郎");
    form.LVAddress->clearSelection();
    EXPECT_EQ(form.MemoPrevBody->toPlainText(), "[NAME]");

    // Opening the dialog again starts from empty texts.
    form.hide();
    form.show();
    EXPECT_EQ(form.EditSubject->text(), "");
    EXPECT_EQ(form.MemoPrevBody->toPlainText(), "");
}

TEST_F(DirectMailDialog, PlaceholderGoesToTheEditBoxLastFocused) {
    form.BtnInsertName->click();  // the subject is the target at first
    EXPECT_EQ(form.EditSubject->text(), "[NAME]");

    form.MemoBody->setPlainText("ab");
    form.MemoBody->setFocus();
    QTextCursor c = form.MemoBody->textCursor();
    c.setPosition(1);
    form.MemoBody->setTextCursor(c);
    form.BtnInsertNameTitle->click();
    EXPECT_EQ(form.MemoBody->toPlainText(), "a[NAME_TITLE]b");

    QTest::mouseClick(form.EditSubject, Qt::LeftButton);
    form.EditSubject->selectAll();
    form.BtnInsertNameTitle->click();
    EXPECT_EQ(form.EditSubject->text(), "[NAME_TITLE]");
    form.BtnInsertStr_4->click();
    EXPECT_EQ(form.EditSubject->text(), "[NAME_TITLE][STR_4]");
}

TEST_F(DirectMailDialog, TemplateSavesThreeLinesAndReopensBodyWithOneCrLf) {
    QTemporaryDir dir;
    const QString path = dir.filePath("news.mtl");
    form.EditSubject->setText("件名S");
    form.MemoBody->setPlainText("一行目\n二行目");
    ASSERT_TRUE(form.SaveTemplate(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), EncodeCp932(QStringLiteral("件名S\r\n一行目\r\n二行目\r\n")));

    form.EditSubject->clear();
    form.MemoBody->clear();
    ASSERT_TRUE(form.OpenTemplate(path));
    EXPECT_EQ(form.SubjectText(), "件名S");
    EXPECT_EQ(form.BodyText(), "一行目\r\n二行目\r\n");

    EXPECT_FALSE(form.OpenTemplate(dir.filePath("missing.mtl")));
    EXPECT_EQ(prompter.shown.last(), "ファイル " + dir.filePath("missing.mtl") + " が見つかりません");
    EXPECT_EQ(form.SubjectText(), "件名S");
}

TEST_F(DirectMailDialog, SendingRunsOnTheWorkerAndReportsCompletion) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start());
    config.SMTPPortNo = smtp.Port();
    form.EditSubject->setText("[NAME]様");
    form.MemoBody->setPlainText("本文");

    form.BtnSendClick();  // answered No: nothing happens
    EXPECT_EQ(prompter.asked, QStringList{"送信を開始しますがよろしいですか？"});
    EXPECT_FALSE(form.Sending());

    QStringList statuses;
    QObject::connect(form.FormSendStatus, &TFormSendStatus::StatusChanged,
                     [&](const QString& s) { statuses << s; });
    SendAndWait();
    EXPECT_EQ(statuses,
              (QStringList{"初期化中････", "接続中････", "<yamada@example.jp> に送信中････1/2",
                           "<sato@office.example> に送信中････2/2", "切断中････"}));
    EXPECT_EQ(form.FormSendStatus->GaugeStatus->value(), 2);
    EXPECT_EQ(form.FormSendStatus->GaugeStatus->maximum(), 2);
    EXPECT_EQ(prompter.shown.last(), "送信処理が完了しました");
    EXPECT_EQ(smtp.Events("STORED").size(), 2);
    EXPECT_EQ(q2test::ParseMail(smtp.Dir() + "/msg-2.eml")["subject"].toString(), "佐藤 花子様");
    EXPECT_EQ(form.SubjectText(), "[NAME]様") << "the dialog keeps its texts";
}

TEST_F(DirectMailDialog, CancelDuringTheSecondOfFiveMessages) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start({"--data-delay", "0.8"}));
    config.SMTPPortNo = smtp.Port();
    for (int i = 3; i <= 5; ++i)
        Add("鈴木", QString::number(i), QStringLiteral("r%1@example.jp").arg(i));
    form.SetUp(list, config);
    QStringList statuses;
    QObject::connect(form.FormSendStatus, &TFormSendStatus::StatusChanged,
                     [&](const QString& s) { statuses << s; });
    // Press cancel as soon as the server has begun to take the second message.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (const QJsonObject& e : smtp.Events("DATA"))
            if (e["number"].toInt() == 2 && smtp.Events("STORED").size() < 2) {
                form.FormSendStatus->BtnCancel->click();
                watch.stop();
            }
    });
    watch.start(20);
    SendAndWait();
    EXPECT_FALSE(watch.isActive()) << "cancel was pressed during the second message";
    EXPECT_EQ(smtp.Events("STORED").size(), 2);
    EXPECT_EQ(smtp.Events("MAIL").size(), 2);
    ASSERT_GE(statuses.size(), 2);
    EXPECT_EQ(statuses.mid(statuses.size() - 2),
              (QStringList{"<sato@office.example> に送信中････2/5", "切断中････"}));
    EXPECT_EQ(prompter.shown.last(), "送信処理をキャンセルしました");
}

TEST_F(DirectMailDialog, ConnectionErrorIsShownInsteadOfCompletion) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start());
    config.SMTPPortNo = smtp.Port();
    smtp.Stop();
    SendAndWait();
    EXPECT_EQ(prompter.shown.last(), "接続中にエラーが発生しました");
    EXPECT_EQ(form.HandedOverTotal(), 0);
}

// Closing used to drop typed texts without a word; texts a template file
// holds are not lost, and closing with them asks nothing.
TEST_F(DirectMailDialog, ClosingWithUnsavedTextsAsksFirst) {
    QTemporaryDir dir;
    struct Case {
        const char* subject;
        const char* body;
        bool saved;
        bool asks;
    };
    const Case cases[] = {
        {"", "", false, false},
        {"件名", "", false, true},
        {"", "本文", false, true},
        {"件名", "本文", true, false},
    };
    for (const Case& c : cases) {
        form.show();
        form.EditSubject->setText(QString::fromUtf8(c.subject));
        form.MemoBody->setPlainText(QString::fromUtf8(c.body));
        if (c.saved) {
            ASSERT_TRUE(form.SaveTemplate(dir.filePath("t.mtl")));
        }
        prompter.asked.clear();
        // The close button and the window's close box both ask; No keeps the dialog.
        for (bool closeBox : {false, true}) {
            prompter.answers = {false};
            closeBox ? (void)form.close() : form.BtnCancel->click();
            EXPECT_EQ(form.isVisible(), c.asks) << c.subject << "/" << c.body;
            form.show();
        }
        prompter.answers = {true};
        form.BtnCancel->click();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(prompter.asked, c.asks ? QStringList(3, kCloseUnkeptQuestion) : QStringList())
            << c.subject << "/" << c.body;
        prompter.answers.clear();
    }
}

TEST_F(DirectMailDialog, RecipientsWithoutAnAddressAreNamedAtTheEnd) {
    SmtpServer smtp;
    ASSERT_TRUE(smtp.Start());
    config.SMTPPortNo = smtp.Port();
    list[0]->PerSonalMail_1.clear();
    form.EditSubject->setText("S");
    SendAndWait();
    EXPECT_EQ(smtp.Events("STORED").size(), 1);
    EXPECT_EQ(prompter.shown.last(),
              "送信処理が完了しました\n1 件を送信しました。アドレスのない 1 件は送信していません\n"
              "1 件目 山田 太郎");
}
