// TFormPrintAllAddressList "一覧印刷": printer, orientation, copies, page
// numbers, rules and the print type of the address list print, and its run.
#pragma once

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <vector>

#include "model/UserInfo.h"
#include "print/ListPrint.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace q2 {

class TFormPrintAllAddressList : public QDialog {
    Q_OBJECT
public:
    explicit TFormPrintAllAddressList(QWidget* parent = nullptr);
    ~TFormPrintAllAddressList() override;

    // Shown modally over `records` (the main window's display list); prints
    // their marked records on "印刷開始". Nothing is kept after it closes.
    void Execute(const std::vector<TUserInfo*>& records);

    // The steps of Execute, for a caller that shows the dialog itself.
    void TakeRecords(const std::vector<TUserInfo*>& records);
    void FormShow();  // every control back to its default, the current printer chosen
    // "印刷開始": false when the question was answered No or nothing was printed.
    bool PrintStart();
    void PrinterConfig();            // "プリンタ設定"
    void SelectPrintType(int type);  // 1–5

    int PrintType() const;
    bool Landscape() const;
    // The page setup the run uses with the printer as it stands.
    TListPageSetup CurrentSetup() const;
    const TListRecords& Records() const { return records_; }

    // The platform's printer setup dialog; tests replace it. False when cancelled.
    using PrinterSetup = std::function<bool(QPrinter&, QWidget* parent)>;
    void SetPrinterSetup(PrinterSetup setup) { printerSetup_ = std::move(setup); }
    QPrinter& Printer() { return printer_; }

    QLabel* LblPrinter;
    QComboBox* CBPrinterList;
    QPushButton* BtnPrinterConfig;
    QGroupBox* GBPrintDirection;
    QRadioButton* RBPrintDirectionVertical;
    QRadioButton* RBPrintDirectionHorizontal;
    QGroupBox* GBNumberOfCopies;
    QSpinBox* SENumberOfCopies;
    QCheckBox* CBPrintPageNumber;
    QCheckBox* CBPrintLine;
    QGroupBox* GBPrintContentType;
    QRadioButton* RBPrintType[kListTypeCount + 1] = {};  // 1–5
    QLabel* LblBkType[kListTypeCount + 1] = {};          // 1–5
    QPushButton* BtnPrintStart;
    QPushButton* BtnCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FillPrinterList();
    void ChooseCurrentPrinter();
    void ApplyChosenPrinter();
    void PaintTypeLines();

    QPrinter printer_;
    PrinterSetup printerSetup_;
    TListRecords records_;
};

}  // namespace q2
