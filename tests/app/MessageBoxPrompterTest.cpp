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
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    void Arm() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
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

// The program's own messages and the icon each gets.
TEST(MessageBoxPrompter, ErrorsAndWarningsGetTheirIcons) {
    using K = q2::TMessageKind;
    const std::pair<const char*, K> cases[] = {
        {"ファイルの保存に失敗しました", K::Error},
        {"画像ファイル「a.png」は壊れているか形式が違うため読み込めません", K::Error},
        {"郵便番号データを保存できませんでした。元のデータをそのまま使用します。", K::Error},
        {"ファイル /x/zip.dat が見つかりません", K::Error},
        {"設定ファイルが破損しているため設定を読み込めません", K::Error},
        {"パスワードが違います", K::Warning},
        {"郵便番号が不明です", K::Warning},
        {"印刷対象がありません", K::Warning},
        {"名前・フリガナは全て入力してください", K::Warning},
        {"ラベル幅を入力して下さい", K::Warning},
        {"既に起動しています", K::Warning},
        {"データの更新はありませんでした。", K::Information},
        {"3件の出力を完了しました", K::Information},
        {"更新しました。", K::Information},
    };
    for (const auto& [text, kind] : cases)
        EXPECT_EQ(q2::MessageKindOf(QString::fromUtf8(text)), kind) << text;

    q2::MessageBoxPrompter prompter(QStringLiteral("Quintaro2"));
    for (const auto& [text, icon] :
         {std::pair{"ファイルの保存に失敗しました", QMessageBox::Critical},
          std::pair{"パスワードが違います", QMessageBox::Warning},
          std::pair{"更新しました。", QMessageBox::Information}}) {
        BoxAnswer ok{QMessageBox::Ok, {}, {}};
        ok.Arm();
        prompter.Inform(QString::fromUtf8(text));
        EXPECT_EQ(ok.icon, icon) << text;
    }
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
