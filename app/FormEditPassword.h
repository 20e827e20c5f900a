// The password entry "パスワード設定": a new password typed twice.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace q2 {

class TFormEditPassword : public QDialog {
    Q_OBJECT
public:
    explicit TFormEditPassword(QWidget* parent = nullptr);

    // Empties both boxes and runs the dialog; on QDialog::Accepted the new
    // password is NewPassword().
    int Execute();
    QString NewPassword() const;

    QLabel* lblMsg;
    QLabel* lblPassword1;
    QLineEdit* EditPassword1;
    QLabel* lblPassword2;
    QLineEdit* EditPassword2;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

public slots:
    // Closes with OK only when both boxes hold the same, non-empty text.
    void BtnOKClick();
};

}  // namespace q2
