// TFormPrintAddress "宛名印刷": the print list, the live preview with its
// frames, the paper and label choice, and the print run into any printer.
#pragma once

#include <QDialog>
#include <QHash>
#include <QPrinter>
#include <functional>
#include <optional>
#include <vector>

#include "model/SenderInfo.h"
#include "model/UserInfo.h"
#include "print/LabelCatalog.h"
#include "print/PieceRenderer.h"
#include "print/PreviewWidget.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFrame;
class QGroupBox;
class QListWidget;
class QPushButton;
class QLabel;
class QRadioButton;
class QScrollArea;
class QTabBar;
class QTabWidget;
class QTableView;
class QToolButton;
class QTreeWidget;

namespace q2 {

class TFormAddPaper;
class TPrintListModel;

class TFormPrintAddress : public QDialog {
    Q_OBJECT
public:
    explicit TFormPrintAddress(QWidget* parent = nullptr);
    ~TFormPrintAddress() override;

    // The main window's print button: the marked records of `records`, the
    // senders, the dialog shown modally; nothing is kept after it closes.
    void ShowPrintDialog(const std::vector<TUserInfo*>& records, TSenderInfoList& senders);

    // The steps of ShowPrintDialog, for a caller that shows the dialog itself.
    void TakeRecords(const std::vector<TUserInfo*>& records, TSenderInfoList& senders);
    void FormShow();
    void ButtonCancelClick();  // "閉じる": settings saved, print list emptied

    void SelectPaperKind(int kind);
    void SetFrames(const TLayoutFrames& frames);
    void SelectLabelPaper();
    void LoadLabelList();
    void LoadPrintSettings();
    void SavePrintSettings();
    void PCPrintTypeChange();
    void RefreshPreview();
    // "印刷": false when nothing was printed.
    bool PrintAll();
    // Told the records of every print run that reached the printer.
    std::function<void(const QList<const TUserInfo*>& printed)> OnPrinted;
    void DeleteLabelPaper();
    void SetVertical(bool vertical);  // "縦書き" / "横書き"
    void SelectPrintRow(int row);     // -1: none
    // "印刷位置の調整": the offset of the current paper kind or label sheet, mm.
    void SetOffset(double dxMm, double dyMm);
    // "調整用シートを印刷": the calibration sheet of the current kind.
    bool PrintCalibrationSheet();

    // The printer setup dialog; tests and scripts replace it to choose the
    // printer or an output file. It returns false when cancelled.
    using PrinterSetup = std::function<bool(QPrinter&, QWidget* parent)>;
    void SetPrinterSetup(PrinterSetup setup) { printerSetup_ = std::move(setup); }
    QPrinter& Printer() { return printer_; }
    // Where paper.cfg and config.ini are (the data folder unless told).
    void SetDataFiles(const QString& paperPath, const QString& configPath);

    // The state the preview and the print run work from.
    TPieceSetup CurrentSetup() const;
    TPaperGeometry PaperGeometry() const { return CurrentSetup().Geometry(); }
    int RememberedKind() const { return kind_; }
    int CheckedPaperKind() const;  // 0 when no paper button is pressed
    bool Vertical() const;
    const std::optional<TLabelPaper>& SelectedLabel() const { return label_; }
    int SelectedLabelRow() const;
    QList<const TUserInfo*> PrintList() const { return printList_; }
    TPreviewWidget* Preview() const { return DrawTextImage; }
    QString SelectedFontName() const;
    int FallbackFontRow() const;
    TFormAddPaper* AddPaperForm() const { return formAddPaper_; }

    // Controls, named as the program's documents name them.
    QFrame* PanelPreview;
    TPreviewWidget* DrawTextImage;
    QTabWidget* PCPrintType;
    QButtonGroup* PaperButtons;
    QAbstractButton* PaperButton[11] = {};  // 1–10
    QRadioButton* RadioButtonTate;
    QRadioButton* RadioButtonYoko;
    QGroupBox* GroupSender;
    QCheckBox* CheckBoxPrintSender;
    QComboBox* CBSenderName;
    QComboBox* CBSenderConfig;
    QCheckBox* CheckBoxPrintSenderZipSenderArea;
    QTabBar* TCMaker;
    QTreeWidget* ListViewPaper;
    QPushButton* Button4;  // 登録
    QPushButton* Button3;  // 削除
    QCheckBox* CBCostom;
    QComboBox* CBPrintControl;
    QComboBox* CBLatinVertical;     // 欧文（縦書き）
    QComboBox* CBNumeralsVertical;  // 数字（縦書き）
    QListWidget* ListBoxFont;
    QTableView* ListViewPrint;
    QPushButton* Button1;  // hidden: refresh
    QPushButton* Button2;  // プリンタ設定
    QPushButton* ButtonPrint;
    QPushButton* ButtonCancel;
    QGroupBox* GroupOffset;  // 印刷位置の調整
    QDoubleSpinBox* SpinOffsetX;
    QDoubleSpinBox* SpinOffsetY;
    QPushButton* ButtonCalibration;  // 調整用シートを印刷
    QGroupBox* GroupHidden;
    QCheckBox* CheckBox1;  // 宛先を大きくする
    QScrollArea* ScrollPreview;   // the preview, fitted or zoomed
    QComboBox* CBZoom;            // 全体表示, 50 % … 200 %
    QScrollArea* ScrollSettings;  // everything between the preview and the buttons
    QLabel* LabelPaper;           // the paper and printer the job goes to

    // The preview's scale on screen: 0 fits the whole piece into its space.
    void SetPreviewZoom(double zoom);
    double PreviewZoom() const;

protected:
    void reject() override;

private:
    void BuildControls();
    void FillFontList(const QString& keep);
    void SelectFont(const QString& name);
    void ApplyLabelRow(int row);
    void ButtonPrinterSetupClick();
    void ButtonRegisterClick();
    void ShowCornerSquaresOff() { DrawTextImage->ClearSelection(); }
    std::optional<QRect> PrintableAreaOnPreview(const TPieceSetup& setup) const;
    TPrintSettings CollectSettings() const;
    void SetPanelSize(TPreviewSize area);
    void SetBackgroundKind(int kind);  // 0: white
    QString CurrentLabelKey() const;
    void SyncOffsetControls();
    void ApplyPreviewZoom();
    // The job's paper into the printer when the kind or label changed.
    void SyncJobPaper(const TPieceSetup& setup);
    void ShowPaper();
    // The frames of the kind (or the labels) as last left in this session.
    void RememberFrames();
    void RestoreFrames(const QString& key, const TLayoutFrames& defaults);
    QString PostcardFramesKey(int kind, bool vertical) const;

    QList<const TUserInfo*> printList_;
    TSenderInfoList* senders_ = nullptr;
    TPrintListModel* printModel_ = nullptr;
    TFormAddPaper* formAddPaper_ = nullptr;
    QPrinter printer_;
    PrinterSetup printerSetup_;
    QString paperPath_, configPath_;
    QStringList allFaces_;
    QList<TLabelRecord> labelRows_;

    // What the dialog keeps of PRINT_CONF without a control of its own: the
    // address floors and the offsets of every kind and label sheet.
    TPrintSettings stored_;
    int kind_ = kNengaKind;
    std::optional<TLabelPaper> label_;
    int labelRow_ = -1;  // the row label_ came from
    TPreviewSize area_;
    bool loading_ = false;
    bool savedVertical_ = true;
    bool vertical_ = true;
    bool inTargetChange_ = false;
    double zoom_ = 0;  // 0: fit
    QString jobPaperKey_;
    QHash<QString, TLayoutFrames> sessionFrames_;
    QString framesKey_;  // whose frames the preview holds
    bool directionChange_ = false;
};

// The check before a print job: false stops the job. The program installs
// the preflight's findings list at start-up; without a check the job goes on.
using TBeforePrintCheck =
    std::function<bool(QWidget* parent, const QList<const TUserInfo*>& records, const TPieceSetup& setup)>;
void SetBeforePrintCheck(TBeforePrintCheck check);

}  // namespace q2
