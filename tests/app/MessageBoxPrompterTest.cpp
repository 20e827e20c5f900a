// The message boxes the program shows: caption, text and the Yes/No answer.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/MessageBoxPrompter.h"

namespace {

// Answers the next message box with `button` and records what it showed.
struct BoxAnswer {
    QMessageBox::StandardButton button;
    QString title, text;
    void Arm() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            text = box->text();
            box->button(button)->click();
        });
    }
};

TEST(MessageBoxPrompter, CaptionTextAndAnswers) {
    q2::MessageBoxPrompter prompter(QStringLiteral("Quintaro2"));
    BoxAnswer yes{QMessageBox::Yes, {}, {}};
    yes.Arm();
    EXPECT_TRUE(prompter.Ask(QStringLiteral("住所録を新規作成しますか？")));
    EXPECT_EQ(yes.title, "Quintaro2");
    EXPECT_EQ(yes.text, "住所録を新規作成しますか？");
    BoxAnswer no{QMessageBox::No, {}, {}};
    no.Arm();
    EXPECT_FALSE(prompter.Ask(QStringLiteral("選択中の住所を削除しますか？")));
    BoxAnswer ok{QMessageBox::Ok, {}, {}};
    ok.Arm();
    prompter.Inform(QStringLiteral("印刷対象がありません"));
    EXPECT_EQ(ok.text, "印刷対象がありません");
    EXPECT_EQ(ok.title, "Quintaro2");
}

TEST(MessageBoxPrompter, SaveQuestionHasThreeAnswersAndEscapeCancels) {
    q2::MessageBoxPrompter prompter(QStringLiteral("Quintaro2"));
    const auto answer = [&](const char* caption) {
        QString buttons;
        QTimer::singleShot(0, [&buttons, caption] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            for (QAbstractButton* b : box->buttons()) buttons += b->text() + "|";
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8(caption)) b->click();
            if (!*caption) box->reject();  // Escape
        });
        return std::pair{prompter.AskSave(QStringLiteral("保存しますか？")), buttons};
    };
    const auto [save, buttons] = answer("保存(&S)");
    EXPECT_EQ(save, q2::TSaveChoice::Save);
    EXPECT_TRUE(buttons.contains("保存しない(&N)") && buttons.contains("キャンセル")) << buttons.toStdString();
    EXPECT_EQ(answer("保存しない(&N)").first, q2::TSaveChoice::Discard);
    EXPECT_EQ(answer("").first, q2::TSaveChoice::Cancel);
}

TEST(MessageBoxPrompter, ChangedFileQuestionHasFourAnswersAndEscapeCancels) {
    q2::MessageBoxPrompter prompter(QStringLiteral("Quintaro2"));
    const auto answer = [&](const QString& caption) {
        QTimer::singleShot(0, [caption] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            for (QAbstractButton* b : box->buttons())
                if (b->text() == caption) b->click();
            if (caption.isEmpty()) box->reject();  // Escape
        });
        return prompter.AskChangedFile(QStringLiteral("ファイル a.QT2 は他のプログラムで変更されています"));
    };
    using C = q2::TChangedFileChoice;
    EXPECT_EQ(answer("再読み込み(&R)"), C::Reload);
    EXPECT_EQ(answer("上書き保存(&O)"), C::Overwrite);
    EXPECT_EQ(answer("名前を付けて保存(&A)"), C::SaveAs);
    EXPECT_EQ(answer("キャンセル"), C::Cancel);
    EXPECT_EQ(answer(""), C::Cancel);
}

}  // namespace
