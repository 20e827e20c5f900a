// TFormAddPaper "用紙追加": registers a label sheet of the user's own under
// the maker "オリジナル" in paper.cfg.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace q2 {

class TFormAddPaper : public QDialog {
    Q_OBJECT
public:
    explicit TFormAddPaper(QWidget* parent = nullptr);

    void SetPaperPath(const QString& path) { paperPath_ = path; }
    // Clears the edits and shows the dialog modally; true when a label was added.
    bool Execute();
    void ClearEdits();
    // "登録": checks the edits, appends the record and closes; false (the
    // dialog stays open) when a check fails or the file cannot be written.
    bool RegisterLabelPaper();

    QRadioButton* RadioButtonPaperA4;
    QRadioButton* RadioButtonPaperA4T;
    QLineEdit* EditTitle;
    QLineEdit* EditLabelHor;
    QLineEdit* EditLabelVer;
    QLineEdit* EditOffsetUpper;
    QLineEdit* EditOffsetLower;
    QLineEdit* EditOffsetLeft;
    QLineEdit* EditOffsetRight;
    QLineEdit* EditLow;
    QLineEdit* EditColumn;
    QPushButton* BtnRegist;
    QPushButton* BtnCancel;

private:
    QString paperPath_;
};

}  // namespace q2
