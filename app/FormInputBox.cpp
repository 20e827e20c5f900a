// The one-line text prompt.
#include "app/FormInputBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/DialogRunner.h"
#include "platform/Prompter.h"

namespace q2 {

TFormInputBox::TFormInputBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormInputBox"));
    LblTitle = new QLabel(this);
    LblTitle->setObjectName(QStringLiteral("LblTitle"));
    EditContent = new QLineEdit(this);
    EditContent->setObjectName(QStringLiteral("EditContent"));
    EditContent->setAttribute(Qt::WA_InputMethodEnabled, true);
    EditContent->setMinimumWidth(300);
    BtnOK = new QPushButton(this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblTitle);
    layout->addWidget(EditContent);
    layout->addLayout(buttons);

    connect(BtnOK, &QPushButton::clicked, this, &TFormInputBox::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFormInputBox::Execute(const QString& caption, const QString& prompt,
                               const QString& initial, const QString& okCaption,
                               const QString& cancelCaption) {
    setWindowTitle(caption);
    LblTitle->setText(prompt);
    EditContent->setText(initial);
    BtnOK->setText(okCaption);
    BtnCancel->setText(cancelCaption);
    EditContent->setFocus();
    setResult(QDialog::Rejected);
    return GetDialogRunner().Exec(*this) == QDialog::Accepted ? EditContent->text() : QString();
}

void TFormInputBox::BtnOKClick() {
    // No trimming: a single space is an item name.
    if (EditContent->text().isEmpty()) {
        GetPrompter().Inform(QStringLiteral("アイテム名が未入力です"));
        return;
    }
    accept();
}

}  // namespace q2
