// The history entry editor: date, title and content of one entry.
#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace q2 {

struct THistoryObject;

class TFormEditHistory : public QDialog {
    Q_OBJECT
public:
    explicit TFormEditHistory(QWidget* parent = nullptr);

    // True when the user saved; the entry then holds the new values.
    bool Execute(THistoryObject& entry, const QString& caption);

    QLabel* LblHistoryDate;
    QDateEdit* DTPHistoryDate;
    QLabel* LblTitle;
    QLineEdit* EditTitle;
    QLabel* LblContent;
    QLineEdit* EditContent;
    QPushButton* BtnSave;
    QPushButton* BtnCancel;

public slots:
    void BtnSaveClick();

private:
    THistoryObject* entry_ = nullptr;  // only while Execute runs
};

}  // namespace q2
