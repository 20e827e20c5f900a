// Start-up and shutdown: one instance, the command-line file, automatic
// loading, damaged settings, and the close question.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QThread>
#include <QTranslator>

#include "AppFixture.h"
#include "app/RecordEditor.h"
#include "app/StartUp.h"
#include "model/MailConfig.h"
#include "platform/ProfileFile.h"
#include "platform/SingleInstance.h"

namespace q2test {
namespace {

const QString kCloseQuestion =
    QStringLiteral("現在の住所録は変更されています。終了する前に保存しますか？");

bool Closes(q2::TFormMain& m) {
    QCloseEvent e;
    QCoreApplication::sendEvent(&m, &e);
    return e.isAccepted();
}

TEST_F(AppTest, QtDialogsSpeakJapanese) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    QTranslator* translator = q2::InstallQtJapanese(*app);
    ASSERT_NE(translator, nullptr) << "Qt's Japanese translation is not installed";
    // The standard buttons and the file chooser's own texts.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("File &name:"));
    QCoreApplication::removeTranslator(translator);
}

TEST_F(AppTest, SecondInstanceIsRefused) {
    q2::SingleInstanceLock first;
    ASSERT_TRUE(q2::AcquireSingleInstance(first));
    q2::SingleInstanceLock second;
    EXPECT_FALSE(q2::AcquireSingleInstance(second));
    EXPECT_EQ(prompter.shown, QStringList({"既に起動しています"}));
    EXPECT_TRUE(first.TryAcquire());  // the first keeps its lock
}

TEST_F(AppTest, RunningProgramHoldsTheLockUntilItDies) {
    // The real program, in the same data and runtime folders.
    QProcess program;
    program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    program.start(QStringLiteral(Q2_BINARY_DIR "/app/velmora3"), {});
    ASSERT_TRUE(program.waitForStarted());
    q2::SingleInstanceLock lock;
    for (int i = 0; i < 100 && !QFile::exists(lock.FilePath()); ++i) QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(lock.FilePath()));
    EXPECT_FALSE(q2::AcquireSingleInstance(lock));
    EXPECT_EQ(prompter.shown, QStringList({"既に起動しています"}));
    program.kill();  // no chance to remove its lock file
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_TRUE(QFile::exists(lock.FilePath()));
    EXPECT_TRUE(q2::AcquireSingleInstance(lock));
    EXPECT_EQ(prompter.shown.size(), 1);
}

TEST_F(AppTest, FormCreateStartsEmptyAndSaved) {
    q2::TFormMain& m = Start();
    EXPECT_EQ(m.windowTitle(), "無題 — Quintaro2");
    EXPECT_EQ(m.minimumSize(), QSize(990, 680));
    EXPECT_EQ(m.LblPrintCount->text(), "0/0件該当");
    EXPECT_TRUE(m.Session.Saved());
    EXPECT_TRUE(m.SortAscending);
    EXPECT_EQ(m.Session.Senders.Count(), 5);
    EXPECT_TRUE(QFile::exists(q2::GetSenderPath()));
    EXPECT_TRUE(m.DataFolder.endsWith("/Zabelle/Quintaro2/"));
    EXPECT_TRUE(m.PersonalFolder.endsWith("/"));
    EXPECT_FALSE(m.RecordEditor->InputEnabled());
    EXPECT_FALSE(m.RecordEditor->EditPersonalName_1->isEnabled());
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_TRUE(Closes(m));  // nothing changed: no question
}

TEST_F(AppTest, UncreatableDataFolderIsToldOnce) {
    // A file where the data folder's parent should be.
    QFile blocker(Path("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", Path("blocked").toUtf8());
    q2::TFormMain& m = Start();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown.first().startsWith("データフォルダ「"))
        << prompter.shown.first().toStdString();
    EXPECT_EQ(m.Session.Senders.Count(), 5);
    EXPECT_EQ(m.CBDisplayCategory_1->count(), 1);  // only "指定なし"
}

TEST_F(AppTest, DamagedSenderFileIsToldAndFilledUp) {
    QFile f(q2::GetSenderPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("TPF0\x0bTSenderInfo\x00\x04Nope");
    f.close();
    q2::TFormMain& m = Start();
    EXPECT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(m.Session.Senders.Count(), 5);
}

TEST_F(AppTest, DamagedMailSettingsGiveOneMessageAndDefaults) {
    q2::TthMailConfig config;
    config.SenderName = "送信者";
    config.UseSoftPassword = true;
    config.SoftPassword = "secret";
    const QByteArray bytes = config.ToBytes();
    QFile f(q2::GetMailConfigPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.left(bytes.size() - 3));  // cut inside the last text
    f.close();
    q2::TFormMain& m = Start();
    EXPECT_EQ(prompter.shown, QStringList({"設定ファイルが破損しているため設定を読み込めません"}));
    EXPECT_EQ(m.Session.MailConfig, q2::TthMailConfig());
    EXPECT_EQ(m.Session.MailConfig.SMTPPortNo, 25);
    EXPECT_EQ(m.Session.MailConfig.POP3PortNo, 110);
    m.FormShow();  // the start-up password is off with the defaults
    EXPECT_TRUE(runner.seen.isEmpty());
    EXPECT_FALSE(m.ProgramEnded());
    EXPECT_TRUE(QFile::exists(q2::GetMailConfigPath()));  // left for the settings dialog to replace
}

TEST_F(AppTest, MissingCommandLineFileIsQuotedAsTyped) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile("./nowhere/無い.QT2");
    EXPECT_EQ(prompter.shown, QStringList({"「./nowhere/無い.QT2」は存在しません"}));
    EXPECT_EQ(m.Session.Book.Count(), 0);
    EXPECT_EQ(m.windowTitle(), "無題 — Quintaro2");
}

TEST_F(AppTest, CommandLineFileWithRecordsSuppressesAutomaticLoading) {
    const QString cmd = WriteBook("folder/cmd.QT2", {{"ア", "一"}, {"イ", "二"}});
    const QString autoBook = WriteBook("auto.QT2", {{"ウ", "三"}});
    ASSERT_TRUE(q2::SetAutoLoadFile(autoBook, true));
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(cmd);
    m.FormShow();
    EXPECT_EQ(m.Session.Book.Count(), 2);
    EXPECT_EQ(m.Session.FileName(), cmd);
    EXPECT_EQ(m.windowTitle(), "cmd.QT2 — Quintaro2");
    EXPECT_EQ(m.LblPrintCount->text(), "2/2件該当");
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_TRUE(Closes(m));
}

TEST_F(AppTest, EmptyCommandLineFileLetsAutomaticLoadingRun) {
    const QString cmd = WriteBook("empty.QT2", {});
    const QString autoBook = WriteBook("auto.QT2", {{"ウ", "三"}});
    ASSERT_TRUE(q2::SetAutoLoadFile(autoBook, true));
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(cmd);
    m.FormShow();
    EXPECT_EQ(m.Session.Book.Count(), 1);
    EXPECT_EQ(m.windowTitle(), "auto.QT2 — Quintaro2");
}

TEST_F(AppTest, AutomaticLoadingWithoutAFileName) {
    ASSERT_TRUE(q2::SetAutoLoadFile(QString(), true));
    q2::TFormMain& m = Start();
    m.FormShow();
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(m.Session.Book.Count(), 0);
}

TEST_F(AppTest, AutomaticLoadingOfAMissingFileNamesItWithoutFolder) {
    ASSERT_TRUE(q2::SetAutoLoadFile(Path("gone/住所録.QT2"), true));
    q2::TFormMain& m = Start();
    m.FormShow();
    EXPECT_EQ(prompter.shown,
              QStringList({"自動読み込みに設定されている「住所録."
                           "QT2」は、削除又は移動されたため開く事ができませんでした"}));
    EXPECT_EQ(q2::GetAutoLoadFileName(), Path("gone/住所録.QT2"));  // the setting stays
    EXPECT_TRUE(q2::GetUseAutoLoadFile());
}

TEST_F(AppTest, AutomaticLoadingOffOpensNothing) {
    const QString autoBook = WriteBook("auto.QT2", {{"ウ", "三"}});
    ASSERT_TRUE(q2::SetAutoLoadFile(autoBook, false));
    q2::TFormMain& m = Start();
    m.FormShow();
    EXPECT_EQ(m.Session.Book.Count(), 0);
}

TEST_F(AppTest, DamagedBookKeepsTheOpenOne) {
    const QString good = WriteBook("good.QT2", {{"ア", "一"}});
    QFile bad(Path("bad.QT2"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\x05\x00\x00\x00garbage", 11);
    bad.close();
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(good);
    EXPECT_FALSE(m.OpenAddressFile(Path("bad.QT2")));
    EXPECT_EQ(
        prompter.shown,
        QStringList(
            {"指定されたファイルは、破損しているか本ソフト用のファイルではないため開けません"}));
    EXPECT_EQ(m.Session.FileName(), good);
    EXPECT_EQ(m.windowTitle(), "good.QT2 — Quintaro2");
    EXPECT_EQ(m.Session.Book.Count(), 1);
}

TEST_F(AppTest, CloseAsksOnlyAfterAChange) {
    const QString book = WriteBook("b.QT2", {{"ア", "一"}, {"イ", "二"}});
    const QByteArray before = [&] {
        QFile f(book);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(book);
    m.SelectRows({0});
    m.PopPrintCheckClick();
    prompter.answers = {false};
    EXPECT_FALSE(Closes(m));
    prompter.answers = {true};
    EXPECT_TRUE(Closes(m));
    EXPECT_EQ(prompter.asked, QStringList({kCloseQuestion, kCloseQuestion}));
    QFile f(book);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);  // closing wrote nothing
}

}  // namespace
}  // namespace q2test
