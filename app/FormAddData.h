// The quick add dialog "住所追加": the name and reading of a new record, the
// reading captured while the name is composed.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace q2 {

class TFormAddData : public QDialog {
    Q_OBJECT
public:
    explicit TFormAddData(QWidget* parent = nullptr);

    // Empties the boxes and runs the dialog; QDialog::Accepted for "登録".
    int Execute();

    QLabel* Label1;
    QLineEdit* EditName_1;
    QLineEdit* EditName_2;
    QLabel* Label2;
    QLineEdit* EditKana_1;
    QLineEdit* EditKana_2;
    QPushButton* BtnAdd;
    QPushButton* BtnCancel;

public slots:
    void BtnAddClick();
};

}  // namespace q2
