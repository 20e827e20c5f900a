// New, open and save of the address book, and the toolbar's preconditions.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QToolButton>
#include <QAction>

#include "AppFixture.h"
#include "model/ListFile.h"
#include "platform/SafeFile.h"

namespace q2test {
namespace {

class FileFlow : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(q2::SaveListFile(q2::GetCategory1Path(), {"友達", "仕事関係"}));
        first_ = WriteBook("first.QT2", {{"カトウ", "加藤", "友達"}, {"アベ", "阿部", "仕事関係"}});
        second_ =
            WriteBook("second.QT2", {{"サトウ", "佐藤"}, {"イトウ", "伊藤"}, {"ウノ", "宇野"}});
    }
    QString first_, second_;
};

TEST_F(FileFlow, OpenResetsTabAndFiltersAndSortsByReading) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(first_);
    m.CBDisplayCategory_1->setCurrentIndex(1);
    m.ClickTab(2);
    ASSERT_EQ(m.DisplayList.size(), 1u);
    m.SelectRows({0});
    m.PopPrintCheckClick();  // modified
    prompter.answers = {true};
    runner.fileNames = {second_};
    m.pngBtnOpenClick();
    EXPECT_EQ(
        prompter.asked,
        QStringList(
            {"現在の住所録は変更されています。別の住所録を開く前に保存しますか？"}));
    EXPECT_EQ(runner.fileRequests.front().Folder, m.PersonalFolder);
    EXPECT_EQ(m.TCAddressList->currentIndex(), 0);
    EXPECT_EQ(m.CBDisplayCategory_1->currentIndex(), 0);
    EXPECT_EQ(m.CBDisplayCategory_2->currentIndex(), 0);
    EXPECT_EQ(Names(m.DisplayList), QStringList({"伊藤", "宇野", "佐藤"}));
    EXPECT_TRUE(m.Session.Saved());
    EXPECT_TRUE(m.SortAscending);
    EXPECT_EQ(m.CurrentRecord, nullptr);
    EXPECT_EQ(m.windowTitle(), "second.QT2 — Quintaro2");
}

TEST_F(FileFlow, OpenStopsAtNoAndAtACancelledFileDialog) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(first_);
    m.SelectRows({0});
    m.PopPrintCheckClick();
    prompter.answers = {false};
    runner.fileNames = {second_};
    m.pngBtnOpenClick();
    EXPECT_TRUE(runner.fileRequests.empty());
    EXPECT_FALSE(m.Session.Saved());
    prompter.answers = {true};
    runner.fileNames = {};
    m.pngBtnOpenClick();  // file dialog cancelled
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(m.Session.FileName(), first_);
}

TEST_F(FileFlow, SaveAndCloseWithoutQuestion) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(first_);
    m.SelectRows({0, 1});
    m.PopPrintCheckClick();
    const QString copy = Path("copy.QT2");
    runner.fileNames = {copy};
    m.pngBtnSaveClick();
    EXPECT_EQ(runner.fileRequests.front().FileName, first_);  // preset to the open file
    EXPECT_EQ(runner.fileRequests.front().DefaultSuffix, "QT2");
    EXPECT_TRUE(m.Session.Saved());
    EXPECT_EQ(m.Session.FileName(), copy);
    EXPECT_EQ(m.windowTitle(), "copy.QT2 — Quintaro2");
    EXPECT_TRUE(m.FormCloseQuery());
    q2::TUserInfoList back;
    ASSERT_TRUE(back.LoadFromFile(copy));
    ASSERT_EQ(back.Count(), 2);
    EXPECT_TRUE(back.Item(0)->CommonPrintCheck && back.Item(1)->CommonPrintCheck);
}

TEST_F(FileFlow, AFolderOrAnEmptyFileIsToldAsWhatItIs) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(first_);
    const int count = m.Session.Book.Count();
    QDir().mkpath(Path("folder.QT2"));
    EXPECT_FALSE(m.OpenAddressFile(Path("folder.QT2")));
    QFile empty(Path("empty.QT2"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_FALSE(m.OpenAddressFile(Path("empty.QT2")));
    EXPECT_EQ(prompter.shown,
              QStringList({Path("folder.QT2") + " はファイルではありません",
                           "指定されたファイルは、破損しているか本ソフト用のファイルではないため開けません"}));
    EXPECT_EQ(m.Session.Book.Count(), count);
    EXPECT_EQ(m.Session.FileName(), first_);
}

TEST_F(FileFlow, FailedSaveKeepsTheBookModified) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(first_);
    m.SelectRows({0});
    m.PopPrintCheckClick();
    q2::SetAtomicWriteFailureAfterForTesting(10);
    runner.fileNames = {Path("full-disk.QT2")};
    m.pngBtnSaveClick();
    q2::SetAtomicWriteFailureAfterForTesting(-1);
    // The message says why and where.
    EXPECT_EQ(prompter.shown, QStringList({"ファイルの保存に失敗しました\nディスクの空き容量が足りません: " +
                                           Path("full-disk.QT2")}));
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(m.Session.FileName(), first_);
    EXPECT_FALSE(QFile::exists(Path("full-disk.QT2")));
    prompter.answers = {false};
    EXPECT_FALSE(m.FormCloseQuery());
    EXPECT_EQ(prompter.asked.last(),
              "現在の住所録は変更されています。終了する前に保存しますか？");
}

TEST_F(FileFlow, TextsTheFileCannotHoldAreNamedBeforeSaving) {
    q2::TFormMain& m = Start();
    m.OpenCommandLineFile(first_);
    q2::TUserInfo* kato =
        m.DisplayList[0]->PerSonalName_1 == "加藤" ? m.DisplayList[0] : m.DisplayList[1];
    kato->PerSonalAddress_1 = QString::fromUtf8("𠮷野町1-2");
    kato->CommonHistoryObjectList.Add({QDate(2024, 1, 1), "訪問", QString::fromUtf8("café")});
    m.Session.SetSaved(false);
    const QString path = Path("out.QT2");
    prompter.answers = {false};
    EXPECT_FALSE(m.SaveAddressFile(path));
    ASSERT_EQ(prompter.asked.size(), 1);
    const QString q = prompter.asked.first();
    EXPECT_TRUE(q.contains("「加藤」の住所１：𠮷")) << q.toStdString();
    EXPECT_TRUE(q.contains("履歴1の内容：é")) << q.toStdString();
    EXPECT_TRUE(q.endsWith("保存してよろしいですか？"));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(m.Session.Saved());
    prompter.answers = {true};
    EXPECT_TRUE(m.SaveAddressFile(path));
    EXPECT_TRUE(m.Session.Saved());
    q2::TUserInfoList back;
    ASSERT_TRUE(back.LoadFromFile(path));
    bool found = false;
    for (int i = 0; i < back.Count(); ++i) found |= back.Item(i)->PerSonalAddress_1 == "?野町1-2";
    EXPECT_TRUE(found);
}

TEST_F(FileFlow, NewAsksAccordingToTheSavedFlagAndKeepsThePassword) {
    const QString locked = WriteBook("locked.QT2", {{"ア", "一"}}, "pw");
    q2::TFormMain& m = Start();
    AnswerPasswords({"pw"});
    m.OpenCommandLineFile(locked);
    ASSERT_EQ(m.Session.Book.Count(), 1);
    m.CBDisplayCategory_1->setCurrentIndex(1);
    prompter.answers = {false};
    m.pngBtnNewClick();
    EXPECT_EQ(m.Session.Book.Count(), 1);
    prompter.answers = {true};
    m.pngBtnNewClick();
    EXPECT_EQ(prompter.asked,
              QStringList({"住所録を新規作成しますか？", "住所録を新規作成しますか？"}));
    EXPECT_EQ(m.Session.Book.Count(), 0);
    EXPECT_EQ(m.Session.Book.Password, "pw");
    EXPECT_EQ(m.CBDisplayCategory_1->currentIndex(), 0);
    EXPECT_EQ(m.Session.FileName(), "");
    EXPECT_EQ(m.windowTitle(), "無題 — Quintaro2");
    EXPECT_TRUE(m.Session.Saved());
    // The saved copy carries the password in its header.
    runner.fileNames = {Path("renamed.QT2")};
    m.pngBtnSaveClick();
    EXPECT_EQ(q2::TUserInfoList::ReadPassword(Path("renamed.QT2")), "pw");

    m.Session.Book.Add();
    m.Session.SetSaved(false);
    prompter.answers = {true};
    m.pngBtnNewClick();
    EXPECT_EQ(prompter.asked.last(),
              "現在の住所録は変更されています。新規住所録を作成する前に保存しますか？");
    EXPECT_FALSE(m.Session.Saved());  // New leaves the flag alone
}

TEST_F(FileFlow, PrintAndExportPreconditions) {
    q2::TFormMain& m = Start();
    EXPECT_TRUE(m.pngBtnPrint->isEnabled());  // the program installs its print dialog
    EXPECT_FALSE(m.pngBtnExport->isEnabled());
    int printed = 0, exported = 0;
    m.SetPrintDialog([&](q2::TDisplayList& list, q2::TSenderInfoList& senders) {
        ++printed;
        EXPECT_EQ(senders.Count(), 5);
        EXPECT_FALSE(list.empty());
    });
    m.SetExportDialog([&](const QString& path, q2::TUserInfoList& book) {
        ++exported;
        EXPECT_EQ(path, Path("out.csv"));
        EXPECT_EQ(book.Count(), 2);
    });
    EXPECT_TRUE(m.pngBtnPrint->isEnabled());
    m.pngBtnExportClick();
    EXPECT_EQ(prompter.shown, QStringList({"エクスポート対象がありません"}));
    m.OpenCommandLineFile(first_);
    m.pngBtnPrintClick();
    EXPECT_EQ(prompter.shown.last(), "印刷対象がありません");
    // An empty extraction still exports the whole book.
    m.CBDisplayCategory_1->setCurrentIndex(1);
    m.ClickTab(5);
    ASSERT_TRUE(m.DisplayList.empty());
    runner.fileNames = {Path("out.csv")};
    m.pngBtnExportClick();
    EXPECT_EQ(exported, 1);
    EXPECT_EQ(runner.fileRequests.back().DefaultSuffix, "csv");
    m.ClickTab(0);
    m.SelectRows({0});
    m.PopPrintCheckClick();
    m.pngBtnPrintClick();
    EXPECT_EQ(printed, 1);
    EXPECT_TRUE(m.Session.Saved() == false);
}

}  // namespace
}  // namespace q2test
