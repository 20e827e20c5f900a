// Message boxes over whichever window is active, so that they stay on top of it.
#include "app/MessageBoxPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace q2 {

TMessageKind MessageKindOf(const QString& text) {
    static const QRegularExpression error(QStringLiteral(
        "失敗|できません|開けません|読み込めません|破損|壊れ|エラーが発生|権限がありません|"
        "見つかりません|ファイルではありません|データではありません"));
    static const QRegularExpression warning(QStringLiteral(
        "違います|不明です|既に起動|存在しません|存在します|未入力|して(ください|下さい)|"
        "注意|ありません(?!でした)|いないため"));
    if (error.match(text).hasMatch()) return TMessageKind::Error;
    if (warning.match(text).hasMatch()) return TMessageKind::Warning;
    return TMessageKind::Information;
}

void MessageBoxPrompter::Inform(const QString& text) {
    const TMessageKind kind = MessageKindOf(text);
    const QMessageBox::Icon icon = kind == TMessageKind::Error     ? QMessageBox::Critical
                                   : kind == TMessageKind::Warning ? QMessageBox::Warning
                                                                   : QMessageBox::Information;
    QMessageBox box(icon, caption_, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool MessageBoxPrompter::Ask(const QString& text) {
    QMessageBox box(QMessageBox::Question, caption_, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

TSaveChoice MessageBoxPrompter::AskSave(const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption_, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* save = box.addButton(QStringLiteral("保存(&S)"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("保存しない(&N)"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return TSaveChoice::Save;
    if (box.clickedButton() == discard) return TSaveChoice::Discard;
    return TSaveChoice::Cancel;
}

TChangedFileChoice MessageBoxPrompter::AskChangedFile(const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption_, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* reload = box.addButton(QStringLiteral("再読み込み(&R)"), QMessageBox::DestructiveRole);
    QPushButton* overwrite = box.addButton(QStringLiteral("上書き保存(&O)"), QMessageBox::AcceptRole);
    QPushButton* saveAs = box.addButton(QStringLiteral("名前を付けて保存(&A)"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    // Nothing is lost by the default: the user's changes go to a new file.
    box.setDefaultButton(saveAs);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == reload) return TChangedFileChoice::Reload;
    if (box.clickedButton() == overwrite) return TChangedFileChoice::Overwrite;
    if (box.clickedButton() == saveAs) return TChangedFileChoice::SaveAs;
    return TChangedFileChoice::Cancel;
}

}  // namespace q2
