// The quick add dialog with its reading capture, the history editor, the
// input box and the sender editor.
#include <QCheckBox>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "AppFixture.h"
#include "QStringPrinter.h"
#include "app/FormAddData.h"
#include "app/FormEditHistory.h"
#include "app/FormInputBox.h"
#include "app/FormSender.h"

namespace q2test {
namespace {

void Preedit(QWidget* w, const QString& text) {
    QInputMethodEvent e(text, {});
    QCoreApplication::sendEvent(w, &e);
}

void Commit(QWidget* w, const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QCoreApplication::sendEvent(w, &e);
}

// One composition as an input method sends it: romaji steps, kana, the
// conversion, then the commit.
void Compose(QWidget* w, const QStringList& steps, const QString& commit) {
    for (const QString& s : steps) Preedit(w, s);
    Commit(w, commit);
}

TEST(ReadingCapture, FinishedCompositionsAppendTheirReadingAsKatakana) {
    q2::ScriptedDialogRunner runner;
    q2::ScopedDialogRunner scope(runner);
    q2::TFormAddData d;
    ASSERT_TRUE(d.EditName_1->testAttribute(Qt::WA_InputMethodEnabled));
    d.EditKana_1->setText("前回");
    d.Execute();  // no runner step: cancelled, the boxes emptied
    EXPECT_TRUE(d.EditKana_1->text().isEmpty());
    Compose(d.EditName_1, {"y", "や", "やま", "やまd", "やまだ", "山田"}, "山田");
    EXPECT_EQ(d.EditName_1->text(), "山田");  // the name box still gets the text
    EXPECT_EQ(d.EditKana_1->text(), "ヤマダ");
    EXPECT_TRUE(d.EditKana_2->text().isEmpty());

    // A second conversion is appended; half-width katakana become full-width.
    Compose(d.EditName_1, {"ﾀﾞ", "田"}, "田");
    EXPECT_EQ(d.EditKana_1->text(), "ヤマダダ");

    // An apostrophe in the reading arrives without it; so do the other marks.
    Compose(d.EditName_2, {"か", "か'", "か'な", "仮名"}, "仮名");
    EXPECT_EQ(d.EditKana_2->text(), "カナ");
    d.EditKana_2->setText("タ,ロ`ウ");
    Compose(d.EditName_2, {"\"", "\"ん", "ん"}, "ん");
    EXPECT_EQ(d.EditKana_2->text(), "タロウン");
}

TEST(ReadingCapture, TypingPastingDeletingAndCancellingCaptureNothing) {
    q2::TFormAddData d;
    QTest::keyClicks(d.EditName_1, "abc");  // plain keys, no input method
    d.EditName_1->insert("貼付");
    EXPECT_TRUE(d.EditKana_1->text().isEmpty());

    Compose(d.EditName_1, {"や", "やま"}, "山");
    EXPECT_EQ(d.EditKana_1->text(), "ヤマ");
    QTest::keyClick(d.EditName_1, Qt::Key_Backspace);
    EXPECT_EQ(d.EditKana_1->text(), "ヤマ");

    // A composition given up leaves no reading for the next commit.
    Preedit(d.EditName_1, "かわ");
    Preedit(d.EditName_1, "");
    Commit(d.EditName_1, "X");
    EXPECT_EQ(d.EditKana_1->text(), "ヤマ");
}

TEST(FormAddData, AllFourBoxesAreNeededButReturnedUntrimmed) {
    q2::ScriptedPrompter prompter;
    q2::ScopedPrompter scope(prompter);
    q2::TFormAddData d;
    struct Case {
        const char* n1;
        const char* n2;
        const char* k1;
        const char* k2;
        bool accepted;
    };
    const Case cases[] = {
        {" ", " ", " ", " ", false},
        {"山田", "太郎", "ヤマダ", "", false},
        {"山田", "", "ヤマダ", "タロウ", false},
        {"山田", "太郎", "\t", "タロウ", false},
        {" 山田", "太郎 ", "ヤマダ", "タロウ", true},
    };
    for (const Case& c : cases) {
        prompter.shown.clear();
        d.setResult(QDialog::Rejected);
        d.EditName_1->setText(QString::fromUtf8(c.n1));
        d.EditName_2->setText(QString::fromUtf8(c.n2));
        d.EditKana_1->setText(QString::fromUtf8(c.k1));
        d.EditKana_2->setText(QString::fromUtf8(c.k2));
        d.BtnAddClick();
        EXPECT_EQ(d.result() == QDialog::Accepted, c.accepted) << c.n1 << c.n2 << c.k1 << c.k2;
        EXPECT_EQ(prompter.shown,
                  c.accepted ? QStringList() : QStringList{"名前・フリガナは全て入力してください"});
    }
    EXPECT_EQ(d.EditName_1->text(), " 山田");
    EXPECT_EQ(d.EditName_1->maxLength(), 40);
}

TEST(FormEditHistory, BlankTitleOrContentKeepsTheDialogAndTheEntry) {
    q2::ScriptedPrompter prompter;
    q2::ScopedPrompter scope(prompter);
    q2::ScriptedDialogRunner runner;
    q2::ScopedDialogRunner runnerScope(runner);
    q2::TFormEditHistory d;
    q2::THistoryObject entry{QDate(2024, 3, 1), "電話", "見積"};
    const q2::THistoryObject before = entry;
    bool stayedOpen = false;
    runner.dialogs.push_back([&](QDialog&) {
        d.DTPHistoryDate->setDate(QDate(2024, 3, 9));
        d.EditTitle->setText("  ");
        d.BtnSaveClick();
        stayedOpen = d.result() != QDialog::Accepted;
        return int(QDialog::Rejected);  // then cancelled
    });
    EXPECT_FALSE(d.Execute(entry, "履歴編集"));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompter.shown, QStringList{"項目、又は内容が未入力です"});
    EXPECT_EQ(entry, before);

    runner.dialogs.push_back([&](QDialog&) {
        EXPECT_EQ(d.windowTitle(), "履歴追加");
        EXPECT_EQ(d.EditTitle->text(), "電話");
        d.DTPHistoryDate->setDate(QDate(2024, 3, 9));
        d.EditContent->setText(" 受注 ");
        d.BtnSaveClick();
        return d.result();
    });
    EXPECT_TRUE(d.Execute(entry, "履歴追加"));
    EXPECT_EQ(entry, (q2::THistoryObject{QDate(2024, 3, 9), "電話", " 受注 "}));
}

TEST(FormInputBox, ReturnsTheTextUntrimmedAndRefusesAnEmptyOne) {
    q2::ScriptedPrompter prompter;
    q2::ScopedPrompter scope(prompter);
    q2::ScriptedDialogRunner runner;
    q2::ScopedDialogRunner runnerScope(runner);
    q2::TFormInputBox d;
    runner.dialogs.push_back([&](QDialog&) {
        EXPECT_EQ(d.windowTitle(), "分類１追加");
        EXPECT_EQ(d.BtnOK->text(), "追加");
        d.EditContent->clear();
        d.BtnOKClick();
        EXPECT_NE(d.result(), QDialog::Accepted);
        d.EditContent->setText(" ");
        d.BtnOKClick();
        return d.result();
    });
    EXPECT_EQ(d.Execute("分類１追加", "分類１に追加するアイテム名", "", "追加", "キャンセル"), " ");
    EXPECT_EQ(prompter.shown, QStringList{"アイテム名が未入力です"});
    // Cancelled: empty, whatever the box held.
    EXPECT_EQ(d.Execute("分類１編集", "新しいアイテム名", "友達", "編集", "キャンセル"), "");
}

class SenderEditor : public AppTest {};

TEST_F(SenderEditor, CancelUndoesTheChangesOfEveryTabAndOkSavesThem) {
    q2::TFormMain& m = Start();
    m.Session.Senders.Item(0)->SenderName_1 = "元一";
    m.Session.Senders.Item(2)->SenderName_1 = "元三";
    ASSERT_TRUE(q2::SaveSenderFile(q2::GetSenderPath(), m.Session.Senders));
    q2::TFormSender& f = *m.FormSender;
    auto edit = [&f](bool ok) {
        return [&f, ok](QDialog&) {
            EXPECT_EQ(f.TCSender->count(), 5);
            EXPECT_EQ(f.EditName_1->text(), "元一");
            f.EditName_1->setText("新一");
            f.TCSenderType->setCurrentIndex(1);
            f.CBPrintOfficeName->setChecked(true);
            f.TCSenderType->setCurrentIndex(0);  // the office page only hides its items
            f.TCSender->setCurrentIndex(2);
            EXPECT_EQ(f.EditName_1->text(), "元三");
            f.EditName_1->setText("新三");
            f.EditZip_1->setText("1234");
            if (!ok) return int(QDialog::Rejected);
            f.BtnOKClick();
            return f.result();
        };
    };
    runner.dialogs.push_back(edit(false));
    m.pngBtnAddSenderClick();
    EXPECT_EQ(m.Session.Senders.Item(0)->SenderName_1, "元一");
    EXPECT_FALSE(m.Session.Senders.Item(0)->OfficeName.PrintData);
    EXPECT_EQ(m.Session.Senders.Item(2)->SenderName_1, "元三");
    EXPECT_TRUE(m.Session.Saved());

    runner.dialogs.push_back(edit(true));
    m.pngBtnAddSenderClick();
    q2::TSenderInfoList reread;
    ASSERT_EQ(q2::LoadSenderFile(q2::GetSenderPath(), reread), q2::TSenderFileState::Loaded);
    EXPECT_EQ(reread.Item(0)->SenderName_1, "新一");
    EXPECT_TRUE(reread.Item(0)->OfficeName.PrintData);
    EXPECT_EQ(reread.Item(2)->SenderName_1, "新三");
    EXPECT_EQ(reread.Item(2)->SenderZip_1, "123");  // the box holds three characters
    EXPECT_FALSE(m.Session.Saved());
}

}  // namespace
}  // namespace q2test
