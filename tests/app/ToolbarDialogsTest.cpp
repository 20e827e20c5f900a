// The toolbar's dialog buttons: settings, import, bulk mail, postal update
// and the about box, each through the hook its dialog plugs into.
#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QToolButton>

#include "AppFixture.h"
#include "app/RecordEditor.h"
#include "model/ListFile.h"

using namespace q2;
using q2test::AppTest;

namespace {
bool Enabled(QToolButton* b) { return b->defaultAction()->isEnabled(); }
}  // namespace

TEST_F(AppTest, ButtonsStayOffUntilTheirDialogIsPluggedIn) {
    TFormMain& m = Start();
    for (QToolButton* b : {m.pngBtnConfig, m.pngBtnImport, m.PngBtnDirectMail, m.PngBtnZipUpdate})
        EXPECT_FALSE(Enabled(b));
    m.SetConfigDialog([](TUserInfoList&, TthMailConfig&) { return false; });
    m.SetImportDialog(
        [](const QString&, TUserInfoList&) { return TFormMain::TImportResult::Cancelled; });
    m.SetDirectMailDialog([](TDisplayList&, TthMailConfig&) {});
    m.SetZipUpdateDialog([] {});
    for (QToolButton* b : {m.pngBtnConfig, m.pngBtnImport, m.PngBtnDirectMail, m.PngBtnZipUpdate})
        EXPECT_TRUE(Enabled(b));
}

TEST_F(AppTest, SettingsOkReloadsTheListsKeepsTextsAndResetsTheFilters) {
    TFormMain& m = Start();
    m.SetConfigDialog([](TUserInfoList& book, TthMailConfig&) {
        SaveListFile(GetCategory1Path(), {QStringLiteral("取引先"), QStringLiteral("友達")});
        book.Password = "pw";
        return true;
    });
    m.CBDisplayCategory_1->setCurrentIndex(1);
    m.RecordEditor->CBCategory_1->setEditText(QStringLiteral("自由な分類"));
    ASSERT_TRUE(m.Session.Saved());
    m.pngBtnConfig->defaultAction()->trigger();
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(m.CBDisplayCategory_1->currentIndex(), 0);
    EXPECT_EQ(m.CBDisplayCategory_1->itemText(1), QStringLiteral("取引先"));
    EXPECT_EQ(m.RecordEditor->CBCategory_1->currentText(), QStringLiteral("自由な分類"));
    EXPECT_EQ(m.RecordEditor->CBCategory_1->count(), 2);
}

TEST_F(AppTest, SettingsCancelChangesNothing) {
    TFormMain& m = Start();
    m.SetConfigDialog([](TUserInfoList&, TthMailConfig&) { return false; });
    m.CBDisplayCategory_1->setCurrentIndex(1);
    m.pngBtnConfig->defaultAction()->trigger();
    EXPECT_TRUE(m.Session.Saved());
    EXPECT_EQ(m.CBDisplayCategory_1->currentIndex(), 1);
}

TEST_F(AppTest, ImportMarksTheBookModifiedEvenWhenCancelled) {
    TFormMain& m = Start();
    QString seenPath;
    TFormMain::TImportResult answer = TFormMain::TImportResult::Cancelled;
    m.SetImportDialog([&](const QString& path, TUserInfoList&) {
        seenPath = path;
        return answer;
    });
    runner.fileNames = {Path("in.csv")};
    m.pngBtnImport->defaultAction()->trigger();
    EXPECT_EQ(seenPath, Path("in.csv"));
    EXPECT_FALSE(m.Session.Saved());
    // A file that could not be used never opened the dialog: the book stays as it was.
    m.Session.SetSaved(true);
    answer = TFormMain::TImportResult::NotRun;
    runner.fileNames = {Path("empty.csv")};
    m.pngBtnImport->defaultAction()->trigger();
    EXPECT_TRUE(m.Session.Saved());
    // The file dialog cancelled: nothing happens at all.
    m.Session.SetSaved(true);
    m.pngBtnImport->defaultAction()->trigger();
    EXPECT_TRUE(m.Session.Saved());
}

TEST_F(AppTest, BulkMailNeedsCompleteSettingsAndRecipients) {
    TFormMain& m = Start();
    int opened = 0;
    m.SetDirectMailDialog([&](TDisplayList&, TthMailConfig&) { ++opened; });
    m.PngBtnDirectMail->defaultAction()->trigger();
    EXPECT_EQ(prompter.shown.value(0), QStringLiteral(
        "メール送信設定が完了していないため使用できません\n設定ボタンから設定を行ってください"));
    m.Session.MailConfig.SenderName = "a";
    m.Session.MailConfig.SenderMailAddress = "a@example.jp";
    m.Session.MailConfig.SMTPServerAddress = "127.0.0.1";
    m.PngBtnDirectMail->defaultAction()->trigger();
    EXPECT_EQ(prompter.shown.value(1),
              QStringLiteral("メール送信の対象がいないため使用できません\n送信対象者を抽出してください"));
    EXPECT_EQ(opened, 0);
    m.Session.Book.Add()->PerSonalName_1 = "x";
    m.RebuildDisplayList();
    m.PngBtnDirectMail->defaultAction()->trigger();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(m.Session.Saved());
}

TEST_F(AppTest, AboutNamesVersionPostalDataAndDataFolder) {
    TFormMain& m = Start();
    const QString text = m.AboutText();
    EXPECT_TRUE(text.startsWith("Quintaro2"));
    EXPECT_TRUE(text.contains(QStringLiteral("2025/09/30 日本郵便公開データ"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ライセンス未定")));
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(DataFolderPath())));
    // The box carries the program's icon, not a message icon.
    bool hasIcon = false;
    QString shownText;
    runner.dialogs.push_back([&](QDialog& d) {
        auto& box = static_cast<QMessageBox&>(d);
        hasIcon = !box.iconPixmap().isNull() && box.icon() == QMessageBox::NoIcon;
        shownText = box.text();
        return int(QDialog::Accepted);
    });
    m.ShowAbout();
    EXPECT_EQ(runner.seen, QStringList{"バージョン情報"});
    EXPECT_TRUE(hasIcon);
    EXPECT_EQ(shownText, text);
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(AppTest, PrintAsksWhatToPrintFirst) {
    TFormMain& m = Start();
    m.Session.Book.Add()->PerSonalName_1 = "x";  // not marked for printing
    m.RebuildDisplayList();
    int addressPrints = 0, listPrints = 0;
    m.SetPrintDialog([&](TDisplayList&, TSenderInfoList&) { ++addressPrints; });
    std::deque<TFormMain::TPrintKind> answers = {TFormMain::TPrintKind::Cancel,
                                                 TFormMain::TPrintKind::List,
                                                 TFormMain::TPrintKind::Address};
    m.SetListPrintDialog(
        [&] {
            const auto a = answers.front();
            answers.pop_front();
            return a;
        },
        [&](TDisplayList& records) {
            EXPECT_EQ(records.size(), 1u);
            ++listPrints;
        });
    for (int i = 0; i < 3; ++i) m.pngBtnPrint->defaultAction()->trigger();
    EXPECT_EQ(listPrints, 1);
    EXPECT_EQ(addressPrints, 0);  // no record marked: the address print's own message
    EXPECT_EQ(prompter.shown, QStringList{QStringLiteral("印刷対象がありません")});
}
