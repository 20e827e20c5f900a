// The password prompt "パスワード入力", used for the start-up and the file password.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace q2 {

class TFormPasswordAuth : public QDialog {
    Q_OBJECT
public:
    explicit TFormPasswordAuth(QWidget* parent = nullptr);

    // Empties the box, gives it the focus and runs the dialog;
    // QDialog::Accepted for "認証", QDialog::Rejected for "終了".
    int Execute();
    QString Password() const;

    QLabel* lblMsg;
    QLineEdit* EditPassword;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

public slots:
    void BtnOKClick();
};

}  // namespace q2
