// Passwords: the start-up check, the file check and the password entry dialog.
#include <QLineEdit>
#include <QPushButton>

#include <QFile>

#include "AppFixture.h"
#include "app/FormEditPassword.h"
#include "app/FormPasswordAuth.h"
#include "model/MailConfig.h"

namespace q2test {
namespace {

const QString kWrong = QStringLiteral("パスワードが違います");
const QString kTooMany = QStringLiteral("規定の回数パスワードを間違えたため、ソフトを終了します");

class Passwords : public AppTest {
protected:
    void StartupPassword(const QString& password) {
        q2::TthMailConfig c;
        c.UseSoftPassword = true;
        c.SoftPassword = password;
        ASSERT_TRUE(c.SaveToFile(q2::GetMailConfigPath()));
    }
};

TEST_F(Passwords, StartupWrongWrongRight) {
    StartupPassword("Secret");
    const QString autoBook = WriteBook("auto.QT2", {{"ア", "一"}});
    ASSERT_TRUE(q2::SetAutoLoadFile(autoBook, true));
    q2::TFormMain& m = Start();
    AnswerPasswords({"secret", "Secret ", "Secret"});
    m.FormShow();
    EXPECT_EQ(prompter.shown, QStringList({kWrong, kWrong}));
    EXPECT_EQ(runner.seen, QStringList({"パスワード入力", "パスワード入力", "パスワード入力"}));
    EXPECT_FALSE(m.ProgramEnded());
    EXPECT_EQ(m.Session.Book.Count(), 1);  // automatic loading follows
}

TEST_F(Passwords, StartupThreeWrongEndsBeforeAutomaticLoading) {
    StartupPassword("Secret");
    const QString autoBook = WriteBook("auto.QT2", {{"ア", "一"}});
    ASSERT_TRUE(q2::SetAutoLoadFile(autoBook, true));
    q2::TFormMain& m = Start();
    int endRequests = 0;
    QObject::connect(&m, &q2::TFormMain::ProgramEndRequested, [&] { ++endRequests; });
    AnswerPasswords({"a", "b", "c", "Secret"});
    m.FormShow();
    EXPECT_EQ(prompter.shown, QStringList({kWrong, kWrong, kWrong, kTooMany}));
    EXPECT_EQ(runner.dialogs.size(), 1u);  // no fourth prompt
    EXPECT_TRUE(m.ProgramEnded());
    EXPECT_EQ(endRequests, 1);
    EXPECT_EQ(m.Session.Book.Count(), 0);
    // Ending asks nothing more, not even about changes.
    m.Session.SetSaved(false);
    EXPECT_TRUE(m.close());
    EXPECT_TRUE(prompter.asked.isEmpty());
}

TEST_F(Passwords, StartupCancelEndsSilently) {
    StartupPassword("Secret");
    q2::TFormMain& m = Start();
    AnswerPasswords({nullptr});
    m.FormShow();
    EXPECT_TRUE(m.ProgramEnded());
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(Passwords, SwitchOnWithEmptyPasswordAcceptsAnEmptyAnswer) {
    StartupPassword("");
    q2::TFormMain& m = Start();
    AnswerPasswords({""});
    m.FormShow();
    EXPECT_FALSE(m.ProgramEnded());
    EXPECT_EQ(runner.seen.size(), 1);
}

TEST_F(Passwords, CommandLineFileIsAskedBeforeTheStartupPassword) {
    StartupPassword("start");
    const QString locked = WriteBook("locked.QT2", {{"ア", "一"}}, "file");
    q2::TFormMain& m = Start();
    AnswerPasswords({"file", "start"});
    m.OpenCommandLineFile(locked);
    EXPECT_EQ(m.Session.Book.Count(), 1);
    m.FormShow();
    EXPECT_FALSE(m.ProgramEnded());
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(Passwords, FileThreeWrongEndsWithoutLoading) {
    const QString locked = WriteBook("locked.QT2", {{"ア", "一"}}, "file");
    q2::TFormMain& m = Start();
    AnswerPasswords({"FILE", "x", "y"});
    m.OpenCommandLineFile(locked);
    EXPECT_EQ(prompter.shown, QStringList({kWrong, kWrong, kWrong, kTooMany}));
    EXPECT_TRUE(m.ProgramEnded());
    EXPECT_EQ(m.Session.Book.Count(), 0);
    EXPECT_EQ(m.Session.FileName(), "");
    m.FormShow();  // nothing further happens
    EXPECT_EQ(runner.seen.size(), 3);
}

TEST_F(Passwords, CancelAtAFilePromptLeavesTheBookUnchanged) {
    const QString plain = WriteBook("plain.QT2", {{"ア", "一"}, {"イ", "二"}});
    const QString locked = WriteBook("locked.QT2", {{"ウ", "三"}}, "file");
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(plain);
    m.SelectRows({0});
    m.PopPrintCheckClick();
    prompter.answers = {true};
    runner.fileNames = {locked};
    AnswerPasswords({nullptr});
    m.pngBtnOpenClick();
    EXPECT_EQ(prompter.shown.size(), 1);  // only the open question, no message
    EXPECT_FALSE(m.ProgramEnded());
    EXPECT_EQ(m.Session.Book.Count(), 2);
    EXPECT_EQ(m.Session.FileName(), plain);
    // The earlier change is still unsaved: closing asks about it.
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(m.windowTitle(), "*plain.QT2 — Quintaro2");
    prompter.answers = {false};
    EXPECT_FALSE(m.FormCloseQuery());
}

TEST_F(Passwords, ADamagedFileLeavesTheBookAndItsChangesAsTheyWere) {
    const QString plain = WriteBook("plain.QT2", {{"ア", "一"}, {"イ", "二"}});
    QFile damaged(Path("damaged.QT2"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a book");
    damaged.close();
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(plain);
    m.SelectRows({1});
    m.PopPrintCheckClick();
    const QByteArray before = m.Session.Book.ToBytes();
    prompter.answers = {true};
    runner.fileNames = {Path("damaged.QT2")};
    m.pngBtnOpenClick();
    EXPECT_EQ(prompter.shown.last(),
              "指定されたファイルは、破損しているか本ソフト用のファイルではないため開けません");
    EXPECT_EQ(m.Session.Book.ToBytes(), before);
    EXPECT_EQ(m.Session.FileName(), plain);
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(m.SelectedRows(), QList<int>({1}));  // the list is left alone too
}

TEST_F(Passwords, PromptIsEmptiedEachTime) {
    q2::TFormPasswordAuth auth;
    auth.EditPassword->setText("left over");
    QString seen = "unset";
    runner.dialogs.push_back([&](QDialog&) {
        seen = auth.EditPassword->text();
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(auth.Execute(), QDialog::Rejected);
    EXPECT_EQ(seen, "");
    EXPECT_EQ(auth.EditPassword->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(auth.EditPassword->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(auth.windowTitle(), "パスワード入力");
    EXPECT_EQ(auth.BtnOK->text(), "認証");
    EXPECT_EQ(auth.BtnCancel->text(), "終了");
}

TEST_F(Passwords, EditPasswordNeedsTwoEqualTexts) {
    q2::TFormEditPassword edit;
    struct Case {
        const char* first;
        const char* second;
        const char* message;
        bool accepted;
    };
    const Case cases[] = {
        {"abc", "", "パスワードを入力してください", false},
        {"", "abc", "パスワードを入力してください", false},
        {"abc", "abd", "パスワードとパスワード確認に入力された内容が異なります", false},
        {"  ", "  ", nullptr, true},
        {"abc", "abc", nullptr, true},
    };
    for (const Case& c : cases) {
        prompter.shown.clear();
        runner.dialogs.push_back([&](QDialog&) {
            edit.EditPassword1->setText(c.first);
            edit.EditPassword2->setText(c.second);
            edit.BtnOKClick();
            return edit.result();
        });
        EXPECT_EQ(edit.Execute() == QDialog::Accepted, c.accepted) << c.first << "/" << c.second;
        if (c.message)
            EXPECT_EQ(prompter.shown, QStringList({c.message}));
        else
            EXPECT_EQ(edit.NewPassword(), c.first);
    }
}

}  // namespace
}  // namespace q2test
