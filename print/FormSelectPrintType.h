// TFormSelectPrintType "印刷選択": before printing, address print or list print.
#pragma once

#include <QDialog>

class QPushButton;

namespace q2 {

enum class TPrintTypeChoice { AddressPrint, ListPrint, Cancel };

class TFormSelectPrintType : public QDialog {
    Q_OBJECT
public:
    // How the dialog closes: "宛名印刷…" with OK, "一覧印刷" with Yes,
    // "キャンセル" (and the window's close box) with Cancel.
    static constexpr int kAddressPrintResult = QDialog::Accepted;
    static constexpr int kListPrintResult = 6;
    static constexpr int kCancelResult = QDialog::Rejected;

    explicit TFormSelectPrintType(QWidget* parent = nullptr);

    // The choice a result of exec() (or of a dialog runner) stands for.
    static TPrintTypeChoice ChoiceOf(int result);
    // Shows the dialog modally and returns the choice.
    TPrintTypeChoice Choose();

    QPushButton* BtnAddressPrint;
    QPushButton* BtnListPrint;
    QPushButton* BtnCancel;
};

}  // namespace q2
