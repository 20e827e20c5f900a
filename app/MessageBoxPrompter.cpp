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

}  // namespace q2
