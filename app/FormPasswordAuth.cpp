// The password prompt.
#include "app/FormPasswordAuth.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/DialogRunner.h"

namespace q2 {

TFormPasswordAuth::TFormPasswordAuth(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("パスワード入力"));
    setObjectName(QStringLiteral("TFormPasswordAuth"));
    lblMsg = new QLabel(QStringLiteral("パスワードを入力してください"), this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    EditPassword = new QLineEdit(this);
    EditPassword->setObjectName(QStringLiteral("EditPassword"));
    EditPassword->setEchoMode(QLineEdit::Password);
    // A password is typed as plain keys, never composed by the input method.
    EditPassword->setAttribute(Qt::WA_InputMethodEnabled, false);
    EditPassword->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                      Qt::ImhNoPredictiveText | Qt::ImhPreferLatin);
    EditPassword->setMinimumWidth(260);
    BtnOK = new QPushButton(QStringLiteral("認証"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("終了"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMsg);
    layout->addWidget(EditPassword);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(BtnOK, &QPushButton::clicked, this, &TFormPasswordAuth::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormPasswordAuth::Execute() {
    EditPassword->clear();
    EditPassword->setFocus();
    setResult(QDialog::Rejected);
    return GetDialogRunner().Exec(*this);
}

QString TFormPasswordAuth::Password() const {
    return EditPassword->text();
}

void TFormPasswordAuth::BtnOKClick() {
    accept();
}

}  // namespace q2
