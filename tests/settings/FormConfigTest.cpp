// The settings dialog: validation order, what is stored, lists and enabling.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/FormConfig.h"
#include "app/ScriptedDialogRunner.h"
#include "model/DataPaths.h"
#include "model/ListFile.h"
#include "model/UserInfoList.h"
#include "platform/DataFolder.h"
#include "platform/Prompter.h"

using namespace q2;

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        ASSERT_TRUE(EnsureDataFolder());
        SaveListFile(GetCategory2Path(), {QStringLiteral("男")});
        SetPrompter(&prompter);
        SetDialogRunner(&runner);
        mail.SenderName = QStringLiteral("山田");
        mail.SMTPServerAddress = "smtp.example.jp";
    }
    void TearDown() override {
        SetPrompter(nullptr);
        SetDialogRunner(nullptr);
    }
    // Opens the dialog, lets `act` work on it, then presses 設定 (or cancels)
    // and returns the dialog's result.
    int Run(const std::function<void(TFormConfig&)>& act, bool save = true) {
        runner.dialogs.push_front([&, act, save](QDialog& d) {
            auto& f = static_cast<TFormConfig&>(d);
            act(f);
            if (!save) return int(QDialog::Rejected);
            return f.BtnSaveClick() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        return dialog.Execute(book, mail);
    }

    QTemporaryDir home;
    ScriptedPrompter prompter;
    ScriptedDialogRunner runner;
    TUserInfoList book;
    TthMailConfig mail;
    TFormConfig dialog;
};

}  // namespace

TEST_F(Settings, PortsMustBeIntegers) {
    struct Case { const char* smtp; bool ok; int stored; };
    const Case cases[] = {{"25 ", false, 25}, {"-1", true, -1}, {"587", true, 587}, {"", false, 25},
                          {"+2", true, 2}, {"99999999999", false, 25}};
    for (const Case& c : cases) {
        prompter.shown.clear();
        mail.SMTPPortNo = 25;
        Run([&](TFormConfig& f) { f.EditSMTPPortNo->setText(c.smtp); });
        EXPECT_EQ(mail.SMTPPortNo, c.stored) << c.smtp;
        EXPECT_EQ(prompter.shown.isEmpty(), c.ok) << c.smtp;
        if (!c.ok) {
            EXPECT_EQ(prompter.shown.value(0), QStringLiteral("SMTP接続に使うポート番号は半角数字で入力してください"));
        }
    }
}

TEST_F(Settings, ChecksComeInTheirOrder) {
    Run([](TFormConfig& f) {
        f.CBUseSmtpAuth->setChecked(true);
        f.EditSMTPAccount->setText("   ");
        f.EditSMTPPassword->clear();
        f.CBUseSoftPassword->setChecked(true);
    });
    EXPECT_EQ(prompter.shown, QStringList{QStringLiteral("SMTP認証を使用する場合は、SMTPアカウントを入力してください")});
    prompter.shown.clear();
    Run([](TFormConfig& f) { f.CBUseSoftPassword->setChecked(true); });
    EXPECT_EQ(prompter.shown,
              QStringList{QStringLiteral("ソフト起動時のパスワードを設定する場合は、パスワードを入力してください")});
    prompter.shown.clear();
    Run([&](TFormConfig& f) {
        f.CBUseAutoLoadFile->setChecked(true);
        f.EditAutoLoadFile->setText(home.filePath("missing.QT2"));
    });
    EXPECT_EQ(prompter.shown, QStringList{QStringLiteral(
                                  "ソフト起動時に自動的に下記ファイルを読み込む機能で指定したファイルが存在しません")});
}

TEST_F(Settings, PopPortIsForgivenWhenPopIsOffAndItsControlsFollowTheBox) {
    ASSERT_EQ(Run([](TFormConfig& f) {
                  f.CBUsePopBeforeSMTP->setChecked(true);
                  EXPECT_TRUE(f.EditPop3Password->isEnabled());
                  f.CBUsePopBeforeSMTP->setChecked(false);
                  for (QWidget* w : std::initializer_list<QWidget*>{
                           f.EditPOP3ServerAddress, f.EditPOP3PortNo, f.BtnPOP3PortNo,
                           f.EditPOP3Account, f.EditPop3Password})
                      EXPECT_FALSE(w->isEnabled());
                  f.EditPOP3PortNo->setText("abc");
              }),
              QDialog::Accepted);
    EXPECT_EQ(mail.POP3PortNo, 110);
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(Settings, StoresEverythingOnOk) {
    QFile book2(home.filePath("auto.QT2"));
    book2.open(QIODevice::WriteOnly);
    book2.close();
    mail.SoftPassword = "old";
    mail.UseSoftPassword = true;
    runner.fileNames = {home.filePath("auto.QT2")};
    ASSERT_EQ(Run([](TFormConfig& f) {
                  f.CBUseSoftPassword->setChecked(false);  // off: the old password goes
                  f.CBSMTPSecurity->setCurrentIndex(1);
                  f.BtnSMTPPortNo->click();
                  f.CBUsePopBeforeSMTP->setChecked(true);
                  f.CBPOP3Security->setCurrentIndex(2);
                  f.BtnPOP3PortNo->click();
                  f.EditPOP3ServerAddress->setText("pop.example.jp");
                  f.EditPOP3Account->setText("taro");
                  f.EditPop3Password->setText("pw");
                  f.EditSenderName->setText(QStringLiteral(" 山田 太郎 "));
                  f.CBUseFilePassword->setChecked(true);
                  f.EditFilePassword->setText(QStringLiteral("秘密"));
                  f.CBUseAutoLoadFile->setChecked(true);
                  f.BtnAutoLoadFileSelect->click();
              }),
              QDialog::Accepted);
    EXPECT_EQ(mail.SenderName, QStringLiteral(" 山田 太郎 "));  // stored as typed
    EXPECT_FALSE(mail.UseSoftPassword);
    EXPECT_EQ(mail.SoftPassword, "");
    EXPECT_EQ(mail.SMTPPortNo, 587);
    EXPECT_EQ(mail.SMTPSecurity, TMailSecurity::StartTls);
    EXPECT_EQ(mail.POP3PortNo, 995);
    TthMailConfig stored;
    ASSERT_TRUE(stored.LoadFromFile(GetMailConfigPath()));
    EXPECT_EQ(stored, mail);
    EXPECT_TRUE(book.HasPassword);
    EXPECT_EQ(book.Password, QStringLiteral("秘密"));
    EXPECT_TRUE(GetUseAutoLoadFile());
    EXPECT_EQ(GetAutoLoadFileName(), home.filePath("auto.QT2"));
    // Every list file exists now, the missing ones empty.
    bool exists = false;
    EXPECT_TRUE(LoadListFile(GetCategory1Path(), &exists).isEmpty());
    EXPECT_TRUE(exists);
}

TEST_F(Settings, ListEditingAndCancel) {
    runner.dialogs = {ScriptedDialogRunner::Reject(),  // add answered with nothing
                      ScriptedDialogRunner::TypeAndAccept("EditContent", QStringLiteral("女"))};
    prompter.answers = {true};
    Run(
        [](TFormConfig& f) {
            ASSERT_EQ(f.LBCategory_2->count(), 1);
            f.LBDel(1);  // the last item: its edit and delete buttons go off
            EXPECT_EQ(f.LBCategory_2->count(), 0);
            EXPECT_FALSE(f.BtnEditCategory_2->isEnabled());
            EXPECT_FALSE(f.BtnDeleteCategory_2->isEnabled());
            f.LBAdd(1);
            EXPECT_EQ(f.LBCategory_2->count(), 0);
            f.LBAdd(1);
            EXPECT_EQ(f.LBCategory_2->count(), 1);
            EXPECT_TRUE(f.BtnEditCategory_2->isEnabled());
        },
        /*save=*/false);
    EXPECT_EQ(prompter.asked, QStringList{QStringLiteral("男を削除してよろしいですか？")});
    EXPECT_EQ(runner.seen.mid(1), (QStringList{QStringLiteral("分類２追加"), QStringLiteral("分類２追加")}));
    // Cancelled: the file still holds the old list, and so does the next opening.
    EXPECT_EQ(LoadListFile(GetCategory2Path()), QStringList{QStringLiteral("男")});
    Run([](TFormConfig& f) { EXPECT_EQ(f.LBCategory_2->item(0)->text(), QStringLiteral("男")); }, false);
    prompter.shown.clear();
    Run([](TFormConfig& f) {
        f.LBCategory_1->setCurrentRow(-1);
        f.LBEdit(0);
    }, false);
    EXPECT_EQ(prompter.shown, QStringList{QStringLiteral("編集するアイテムを選択してください")});
}
