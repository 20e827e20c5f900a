// A one-line text prompt for the settings dialog's list editing.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace q2 {

class TFormInputBox : public QDialog {
    Q_OBJECT
public:
    explicit TFormInputBox(QWidget* parent = nullptr);

    // The text entered when closed with OK, an empty text otherwise.
    QString Execute(const QString& caption, const QString& prompt, const QString& initial,
                    const QString& okCaption, const QString& cancelCaption);

    QLabel* LblTitle;
    QLineEdit* EditContent;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

public slots:
    void BtnOKClick();
};

}  // namespace q2
