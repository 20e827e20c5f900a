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

}  // namespace q2
