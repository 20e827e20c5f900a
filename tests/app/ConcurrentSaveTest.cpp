// The program's save when another writer has changed or is changing the book,
// the export onto the open book, and start-up arguments and data files that
// cannot be used, told for what they are; the file chooser's question before
// a file is replaced.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <unistd.h>
#include <sys/stat.h>

#include "AppFixture.h"
#include "platform/BookLock.h"
#include "platform/DialogRunner.h"
#include "platform/FileName.h"
#include "platform/UserFile.h"

namespace q2test {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

class ConcurrentSave : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        book_ = WriteBook("book.QT2", {{"カトウ", "加藤"}, {"アベ", "阿部"}});
        csv_ = Path("in.csv");
        QFile f(csv_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("鈴木\n");
    }
    // q2tool appends one record to the book, as a user would from a terminal.
    void AppendWithTool() {
        QProcess p;
        p.start(QStringLiteral(Q2TOOL_PATH), {"import-csv", csv_, book_, "--map", "0=個人名前"});
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    }
    // Opens the book, changes it in the program, then lets q2tool append.
    q2::TFormMain& OpenChangeAndAppend() {
        book_ = WriteBook("book.QT2", {{"カトウ", "加藤"}, {"アベ", "阿部"}});
        q2::TFormMain& m = Start();
        m.OpenCommandLineFile(book_);
        m.SelectRows({0});
        m.PopPrintCheckClick();
        AppendWithTool();
        return m;
    }
    QString Question() const {
        return QStringLiteral("ファイル %1 は他のプログラムで変更されています").arg(book_);
    }
    QString book_, csv_;
};

int Count(const QString& path) {
    q2::TUserInfoList b;
    return b.LoadFromFile(path) ? b.Count() : -1;
}

TEST_F(ConcurrentSave, ASaveOverAFileChangedSinceAsksAndEachAnswerDoesWhatItSays) {
    using C = q2::TChangedFileChoice;
    {  // キャンセル: nothing written, the book stays modified.
        q2::TFormMain& m = OpenChangeAndAppend();
        const QByteArray onDisk = ReadAll(book_);
        prompter.changedFileChoices = {C::Cancel};
        EXPECT_FALSE(m.SaveInPlace());
        EXPECT_EQ(prompter.asked, QStringList({Question()}));
        EXPECT_EQ(ReadAll(book_), onDisk);
        EXPECT_FALSE(m.Session.Saved());
        // Asked again at the next try: a cancelled question is no permission.
        prompter.changedFileChoices = {C::Cancel};
        EXPECT_FALSE(m.SaveInPlace());
        EXPECT_EQ(prompter.asked.size(), 2);
    }
    prompter.asked.clear();
    {  // 再読み込み: the tool's record is there, the program's change is gone.
        q2::TFormMain& m = OpenChangeAndAppend();
        prompter.changedFileChoices = {C::Reload};
        EXPECT_FALSE(m.SaveInPlace());
        EXPECT_EQ(m.Session.Book.Count(), 3);
        EXPECT_EQ(m.DisplayList.size(), 3u);
        EXPECT_TRUE(m.Session.Saved());
        EXPECT_EQ(Count(book_), 3);
        // The reloaded book saves without a question.
        m.SelectRows({0});
        m.PopPrintCheckClick();
        EXPECT_TRUE(m.SaveInPlace());
        EXPECT_EQ(prompter.asked, QStringList({Question()}));
    }
    prompter.asked.clear();
    {  // 名前を付けて保存: the program's book goes to the new file, the changed one stays.
        q2::TFormMain& m = OpenChangeAndAppend();
        const QByteArray onDisk = ReadAll(book_);
        const QString other = Path("other.QT2");
        prompter.changedFileChoices = {C::SaveAs};
        runner.fileNames = {other};
        EXPECT_TRUE(m.SaveInPlace());
        EXPECT_EQ(ReadAll(book_), onDisk);
        EXPECT_EQ(Count(other), 2);
        EXPECT_EQ(m.Session.FileName(), other);
        EXPECT_TRUE(m.Session.Saved());
    }
    prompter.asked.clear();
    {  // 上書き保存: the user's choice, and then the file is the program's again.
        q2::TFormMain& m = OpenChangeAndAppend();
        prompter.changedFileChoices = {C::Overwrite};
        EXPECT_TRUE(m.SaveInPlace());
        EXPECT_EQ(Count(book_), 2);
        EXPECT_TRUE(m.Session.Saved());
        m.SelectRows({1});
        m.PopPrintCheckClick();
        EXPECT_TRUE(m.SaveInPlace());
        EXPECT_EQ(prompter.asked, QStringList({Question()}));
    }
}

TEST_F(ConcurrentSave, AFileTouchedOrRewrittenWithTheSameBytesIsNoChange) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(book_);
    m.SelectRows({0});
    m.PopPrintCheckClick();
    // Rewritten with the same bytes (a new inode and time), then touched.
    const QByteArray same = ReadAll(book_);
    ASSERT_TRUE(QFile::remove(book_));
    QFile f(book_);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(same);
    f.close();
    EXPECT_TRUE(m.SaveInPlace());
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.asked.join('\n').toStdString();
    EXPECT_EQ(Count(book_), 2);
}

TEST_F(ConcurrentSave, ASaveWaitsForAnotherWriterAndNamesIt) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(book_);
    m.SelectRows({0});
    m.PopPrintCheckClick();
    m.Session.LockWaitMs = 300;
    const QByteArray onDisk = ReadAll(book_);
    {
        q2::TBookLock other;
        ASSERT_EQ(other.Acquire(book_, QStringLiteral("q2tool import-csv")),
                  q2::TBookLock::TState::Held);
        EXPECT_FALSE(m.SaveInPlace());
    }
    EXPECT_EQ(
        prompter.shown,
        QStringList({QStringLiteral("ファイル %1 は q2tool import-csv（プロセス %2） が書き込み中の"
                                    "ため保存できません。しばらくしてからもう一度お試しください")
                         .arg(book_)
                         .arg(::getpid())}));
    EXPECT_EQ(ReadAll(book_), onDisk);
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_TRUE(m.SaveInPlace());  // once the other writer is done
}

TEST_F(ConcurrentSave, TheExportRefusesTheOpenBook) {
    q2::TFormMain& m = Start();
    int exported = 0;
    m.SetExportDialog([&](const QString&, q2::TUserInfoList&) { ++exported; });
    m.OpenCommandLineFile(book_);
    const QByteArray onDisk = ReadAll(book_);
    const QString link = Path("link.QT2");
    ASSERT_TRUE(QFile::link(book_, link));
    for (const QString& target : {book_, link}) {
        prompter.shown.clear();
        runner.fileNames = {target};
        m.pngBtnExportClick();
        EXPECT_EQ(prompter.shown,
                  QStringList({QStringLiteral("開いている住所録 %1 にはエクスポートできません。"
                                              "別のファイル名を指定してください")
                                   .arg(target)}));
    }
    EXPECT_EQ(exported, 0);
    EXPECT_EQ(ReadAll(book_), onDisk);
    runner.fileNames = {Path("out.csv")};
    m.pngBtnExportClick();
    EXPECT_EQ(exported, 1);
}

TEST_F(ConcurrentSave, ANameThatIsNotUtf8OpensAndSavesToItself) {
    const QByteArray raw = QFile::encodeName(QFileInfo(book_).absolutePath()) + "/\x8f\x5a.QT2";
    ASSERT_EQ(::rename(QFile::encodeName(book_).constData(), raw.constData()), 0);
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(q2::DecodeFileName(raw));  // as the start-up argument arrives
    ASSERT_EQ(m.Session.Book.Count(), 2) << prompter.shown.join('\n').toStdString();
    m.SelectRows({0});
    m.PopPrintCheckClick();
    EXPECT_TRUE(m.SaveInPlace());
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join('\n').toStdString();
    QByteArray bytes;
    ASSERT_EQ(q2::ReadUserFile(q2::DecodeFileName(raw), &bytes), q2::FileProblem::None);
    q2::TUserInfoList back;
    ASSERT_TRUE(back.FromBytes(bytes));
    EXPECT_EQ(back.Count(), 2);
    EXPECT_NE(back.Item(0)->CommonPrintCheck, back.Item(1)->CommonPrintCheck);
    // QTemporaryDir cannot remove names it cannot spell.
    ::unlink(raw.constData());
    ::unlink((QFile::encodeName(QFileInfo(book_).absolutePath()) + "/.\x8f\x5a.QT2.lock").constData());
}

TEST_F(ConcurrentSave, ADeviceOnTheCommandLineIsNotAFile) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile("/dev/zero");
    m.OpenCommandLineFile(Path("missing.QT2"));
    EXPECT_EQ(prompter.shown, QStringList({"/dev/zero はファイルではありません",
                                           "「" + Path("missing.QT2") + "」は存在しません"}));
    EXPECT_TRUE(m.Session.FileName().isEmpty());
}

}  // namespace
}  // namespace q2test

namespace q2test {
namespace {

class StartUpReasons : public AppTest {};

TEST_F(StartUpReasons, AClosedDataFolderOrMailFileIsToldAsWhatItIs) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads folders and files of mode 0";
    const QString folder = QDir::cleanPath(q2::DataFolderPath());
    {  // The folder itself: said once, with what it means for the settings.
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0), 0);
        Start();
        ::chmod(QFile::encodeName(folder).constData(), 0700);
        EXPECT_EQ(prompter.shown,
                  QStringList(
                      {QStringLiteral(
                           "データフォルダ「%1」を読み書きできません（アクセス権がありません）。\n"
                           "設定や差出人は読み込まれず、保存もされません。")
                           .arg(QDir::toNativeSeparators(q2::DataFolderPath()))}));
    }
    prompter.shown.clear();
    {  // mail.dat that cannot be read is not called damaged.
        const QString mail = q2::GetMailConfigPath();
        QFile f(mail);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        ASSERT_EQ(::chmod(QFile::encodeName(mail).constData(), 0), 0);
        Start();
        EXPECT_EQ(
            prompter.shown,
            QStringList({QStringLiteral("ファイル %1 を読み込めません（アクセス権がありません）\n"
                                        "メールの設定は既定の値で始めます")
                             .arg(mail)}));
    }
}

}  // namespace
}  // namespace q2test

namespace q2test {
namespace {

// The file chooser of the program's saves and exports, as it runs on screen.
TEST(SaveFileDialog, AsksBeforeAnExistingFileIsReplaced) {
    QTemporaryDir dir;
    QFile existing(dir.filePath("out.csv"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    q2::SetDialogRunner(nullptr);
    QStringList questions;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            questions << box->text();
            box->button(QMessageBox::No)->click();
        } else if (auto* chooser = qobject_cast<QFileDialog*>(w)) {
            // Queued: the question runs its own loop, in which this timer must fire again.
            if (questions.isEmpty())  // the preset name, which is the existing file
                QMetaObject::invokeMethod(chooser, "accept", Qt::QueuedConnection);
            else
                chooser->reject();
        }
    });
    poll.start(20);
    const QString chosen = q2::GetDialogRunner().SaveFileName(
        nullptr, {QStringLiteral("エクスポート"), dir.path(), QStringLiteral("out.csv"),
                  QStringLiteral("CSV (*.csv)"), QStringLiteral("csv")});
    EXPECT_TRUE(chosen.isEmpty());  // No to the question, then cancelled
    EXPECT_EQ(questions.size(), 1);
}

}  // namespace
}  // namespace q2test
