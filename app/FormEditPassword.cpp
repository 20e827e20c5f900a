// The password entry dialog.
#include "app/FormEditPassword.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/DialogRunner.h"
#include "platform/Prompter.h"

namespace q2 {
namespace {

QLineEdit* NewPasswordBox(QWidget* parent, const QString& name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setEchoMode(QLineEdit::Password);
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText |
                           Qt::ImhPreferLatin);
    e->setMinimumWidth(220);
    return e;
}

}  // namespace

TFormEditPassword::TFormEditPassword(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("パスワード設定"));
    setObjectName(QStringLiteral("TFormEditPassword"));
    lblMsg = new QLabel(QStringLiteral("設定するパスワードを入力してください"), this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblPassword1 = new QLabel(QStringLiteral("パスワード"), this);
    lblPassword1->setObjectName(QStringLiteral("lblPassword1"));
    EditPassword1 = NewPasswordBox(this, QStringLiteral("EditPassword1"));
    lblPassword2 = new QLabel(QStringLiteral("パスワード(確認)"), this);
    lblPassword2->setObjectName(QStringLiteral("lblPassword2"));
    EditPassword2 = NewPasswordBox(this, QStringLiteral("EditPassword2"));
    lblPassword1->setBuddy(EditPassword1);
    lblPassword2->setBuddy(EditPassword2);
    BtnOK = new QPushButton(QStringLiteral("設定"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    auto* grid = new QGridLayout;
    grid->addWidget(lblPassword1, 0, 0);
    grid->addWidget(EditPassword1, 0, 1);
    grid->addWidget(lblPassword2, 1, 0);
    grid->addWidget(EditPassword2, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMsg);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(BtnOK, &QPushButton::clicked, this, &TFormEditPassword::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormEditPassword::Execute() {
    EditPassword1->clear();
    EditPassword2->clear();
    EditPassword1->setFocus();
    setResult(QDialog::Rejected);
    return GetDialogRunner().Exec(*this);
}

QString TFormEditPassword::NewPassword() const {
    return EditPassword1->text();
}

void TFormEditPassword::BtnOKClick() {
    // The raw texts count here: a password of spaces is refused later, by the
    // settings dialog.
    if (EditPassword1->text().isEmpty() || EditPassword2->text().isEmpty()) {
        GetPrompter().Inform(QStringLiteral("パスワードを入力してください"));
        return;
    }
    if (EditPassword1->text() != EditPassword2->text()) {
        GetPrompter().Inform(
            QStringLiteral("パスワードとパスワード確認に入力された内容が異なります"));
        return;
    }
    accept();
}

}  // namespace q2
