// Message boxes over whichever window is active, so that they stay on top of it.
#include "app/MessageBoxPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace q2 {

void MessageBoxPrompter::Inform(const QString& text) {
    QMessageBox box(QMessageBox::Information, caption_, text, QMessageBox::Ok,
                    QApplication::activeWindow());
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
