// The address list print dialog: its controls, the printer choice and the run.
#include "print/FormPrintAllAddressList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/Prompter.h"

namespace q2 {

namespace {

QString T(const char16_t* s) {
    return QString::fromUtf16(s);
}

const QColor kChosenTypeColour(255, 180, 180);

}  // namespace

TFormPrintAllAddressList::TFormPrintAllAddressList(QWidget* parent)
    : QDialog(parent), printer_(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("FormPrintAllAddressList"));
    setWindowTitle(T(u"一覧印刷"));
    printer_.setPageSize(QPageSize(QPageSize::A4));
    // The page image's origin is the paper's corner, on every printer.
    printer_.setFullPage(true);
    printerSetup_ = [](QPrinter& printer, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    BuildControls();
    FillPrinterList();
    FormShow();
}

TFormPrintAllAddressList::~TFormPrintAllAddressList() = default;

void TFormPrintAllAddressList::BuildControls() {
    auto* top = new QVBoxLayout(this);

    auto* printerRow = new QHBoxLayout;
    LblPrinter = new QLabel(T(u"プリンタ"), this);
    CBPrinterList = new QComboBox(this);
    CBPrinterList->setObjectName(QStringLiteral("CBPrinterList"));
    CBPrinterList->setMinimumWidth(260);
    BtnPrinterConfig = new QPushButton(T(u"プリンタ設定"), this);
    BtnPrinterConfig->setObjectName(QStringLiteral("BtnPrinterConfig"));
    printerRow->addWidget(LblPrinter);
    printerRow->addWidget(CBPrinterList, 1);
    printerRow->addWidget(BtnPrinterConfig);
    top->addLayout(printerRow);

    auto* optionsRow = new QHBoxLayout;
    GBPrintDirection = new QGroupBox(T(u"印刷の向き"), this);
    auto* dirLayout = new QHBoxLayout(GBPrintDirection);
    RBPrintDirectionVertical = new QRadioButton(T(u"縦"), GBPrintDirection);
    RBPrintDirectionHorizontal = new QRadioButton(T(u"横"), GBPrintDirection);
    dirLayout->addWidget(RBPrintDirectionVertical);
    dirLayout->addWidget(RBPrintDirectionHorizontal);
    optionsRow->addWidget(GBPrintDirection);

    GBNumberOfCopies = new QGroupBox(T(u"印刷部数"), this);
    auto* copiesLayout = new QHBoxLayout(GBNumberOfCopies);
    SENumberOfCopies = new QSpinBox(GBNumberOfCopies);
    SENumberOfCopies->setObjectName(QStringLiteral("SENumberOfCopies"));
    SENumberOfCopies->setRange(1, 99);
    copiesLayout->addWidget(SENumberOfCopies);
    optionsRow->addWidget(GBNumberOfCopies);

    auto* checks = new QVBoxLayout;
    CBPrintPageNumber = new QCheckBox(T(u"ページ番号をつける"), this);
    CBPrintLine = new QCheckBox(T(u"罫線をつける"), this);
    checks->addWidget(CBPrintPageNumber);
    checks->addWidget(CBPrintLine);
    optionsRow->addLayout(checks);
    optionsRow->addStretch(1);
    top->addLayout(optionsRow);

    GBPrintContentType =
        new QGroupBox(T(u"印刷する項目（用紙幅により印刷されない場合があります）"), this);
    auto* typeLayout = new QGridLayout(GBPrintContentType);
    typeLayout->setHorizontalSpacing(4);
    static const char16_t* const kTypeNames[] = {u"ﾀｲﾌﾟ１", u"ﾀｲﾌﾟ２", u"ﾀｲﾌﾟ３", u"ﾀｲﾌﾟ４",
                                                 u"ﾀｲﾌﾟ５"};
    for (int t = 1; t <= kListTypeCount; ++t) {
        RBPrintType[t] = new QRadioButton(T(kTypeNames[t - 1]), GBPrintContentType);
        RBPrintType[t]->setObjectName(QStringLiteral("RBPrintType_%1").arg(t));
        LblBkType[t] = new QLabel(ListTypeCaption(t), GBPrintContentType);
        LblBkType[t]->setObjectName(QStringLiteral("LblBkType_%1").arg(t));
        LblBkType[t]->setAutoFillBackground(true);
        LblBkType[t]->setFrameShape(QFrame::Panel);
        LblBkType[t]->setFrameShadow(QFrame::Sunken);
        LblBkType[t]->installEventFilter(this);
        typeLayout->addWidget(RBPrintType[t], t - 1, 0);
        typeLayout->addWidget(LblBkType[t], t - 1, 1);
        connect(RBPrintType[t], &QRadioButton::toggled, this, [this](bool on) {
            if (on) PaintTypeLines();
        });
    }
    typeLayout->setColumnStretch(1, 1);
    top->addWidget(GBPrintContentType);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BtnPrintStart = new QPushButton(T(u"印刷開始"), this);
    BtnPrintStart->setObjectName(QStringLiteral("BtnPrintStart"));
    BtnCancel = new QPushButton(T(u"キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    buttons->addWidget(BtnPrintStart);
    buttons->addWidget(BtnCancel);
    top->addLayout(buttons);

    connect(CBPrinterList, &QComboBox::activated, this, [this] { ApplyChosenPrinter(); });
    connect(BtnPrinterConfig, &QPushButton::clicked, this, [this] { PrinterConfig(); });
    connect(SENumberOfCopies, &QSpinBox::valueChanged, this,
            [this](int copies) { printer_.setCopyCount(copies); });
    connect(BtnPrintStart, &QPushButton::clicked, this, [this] { PrintStart(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormPrintAllAddressList::FillPrinterList() {
    CBPrinterList->clear();
    CBPrinterList->addItems(QPrinterInfo::availablePrinterNames());
}

void TFormPrintAllAddressList::ChooseCurrentPrinter() {
    QString current = printer_.printerName();
    if (current.isEmpty()) current = QPrinterInfo::defaultPrinterName();
    const int row = CBPrinterList->findText(current);
    CBPrinterList->setCurrentIndex(row >= 0 ? row : (CBPrinterList->count() > 0 ? 0 : -1));
    ApplyChosenPrinter();
}

void TFormPrintAllAddressList::ApplyChosenPrinter() {
    const QString name = CBPrinterList->currentText();
    // Printing into a file, as chosen in the setup dialog, stays so: naming a
    // printer would turn it back into a printer job.
    if (!printer_.outputFileName().isEmpty()) return;
    if (!name.isEmpty() && name != printer_.printerName()) {
        const QPageLayout::Orientation o = printer_.pageLayout().orientation();
        printer_.setPrinterName(name);
        printer_.setPageSize(QPageSize(QPageSize::A4));
        printer_.setPageOrientation(o);
    }
}

void TFormPrintAllAddressList::TakeRecords(const std::vector<TUserInfo*>& records) {
    records_.assign(records.begin(), records.end());
}

void TFormPrintAllAddressList::Execute(const std::vector<TUserInfo*>& records) {
    TakeRecords(records);
    FormShow();
    exec();
    records_.clear();
}

void TFormPrintAllAddressList::FormShow() {
    // A file chosen in the setup dialog was for that opening only.
    printer_.setOutputFileName(QString());
    ChooseCurrentPrinter();
    RBPrintDirectionHorizontal->setChecked(true);
    SENumberOfCopies->setValue(1);
    printer_.setCopyCount(1);
    CBPrintPageNumber->setChecked(true);
    CBPrintLine->setChecked(true);
    SelectPrintType(1);
}

void TFormPrintAllAddressList::SelectPrintType(int type) {
    if (type < 1 || type > kListTypeCount) return;
    RBPrintType[type]->setChecked(true);
    PaintTypeLines();
}

int TFormPrintAllAddressList::PrintType() const {
    for (int t = 1; t <= kListTypeCount; ++t)
        if (RBPrintType[t]->isChecked()) return t;
    return 1;
}

bool TFormPrintAllAddressList::Landscape() const {
    return RBPrintDirectionHorizontal->isChecked();
}

void TFormPrintAllAddressList::PaintTypeLines() {
    const int chosen = PrintType();
    for (int t = 1; t <= kListTypeCount; ++t) {
        QPalette p = LblBkType[t]->palette();
        p.setColor(QPalette::Window,
                   t == chosen ? kChosenTypeColour : palette().color(QPalette::Button));
        LblBkType[t]->setPalette(p);
    }
}

bool TFormPrintAllAddressList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int t = 1; t <= kListTypeCount; ++t)
            if (watched == LblBkType[t]) {
                SelectPrintType(t);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

TListPageSetup TFormPrintAllAddressList::CurrentSetup() const {
    TListPageSetup s;
    const int res = printer_.resolution();
    s.Resolution = Dpi{res, res};
    const QRect full = printer_.pageLayout().fullRectPixels(res);
    s.PaperWidth = DevicePx(full.width());
    s.PaperHeight = DevicePx(full.height());
    s.Type = PrintType();
    s.Rules = CBPrintLine->isChecked();
    s.PageNumbers = CBPrintPageNumber->isChecked();
    return s;
}

bool TFormPrintAllAddressList::PrintStart() {
    if (!GetPrompter().Ask(T(u"印刷を開始しますか？"))) return false;
    ApplyChosenPrinter();
    printer_.setPageOrientation(Landscape() ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer_.setDocName(T(u"-住所録一覧印刷-"));
    printer_.setCopyCount(SENumberOfCopies->value());
    const TListJob job = MakeListJob(records_, CurrentSetup());
    if (!job.Font.IsValid()) return false;  // the font message has been shown
    // A job without a page would still feed the printer a blank sheet.
    if (job.PageCount == 0) {
        GetPrompter().Inform(T(u"印刷するデータがありません。"));
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer_)) {
        GetPrompter().Inform(T(u"印刷を開始できませんでした。プリンタの設定を確かめて下さい。"));
        return false;
    }
    const int res = printer_.resolution();
    const QPageLayout layout = printer_.pageLayout();
    const QPoint offset = printer_.fullPage() ? QPoint()
                                              : layout.paintRectPixels(res).topLeft() -
                                                    layout.fullRectPixels(res).topLeft();
    PrintListPages(painter, printer_, job, DevicePoint{DevicePx(offset.x()), DevicePx(offset.y())});
    painter.end();
    accept();
    return true;
}

void TFormPrintAllAddressList::PrinterConfig() {
    printer_.setCopyCount(SENumberOfCopies->value());
    printer_.setPageOrientation(Landscape() ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!printerSetup_(printer_, this)) return;
    const int row = CBPrinterList->findText(printer_.printerName());
    if (row >= 0) CBPrinterList->setCurrentIndex(row);
    const bool landscape = printer_.pageLayout().orientation() == QPageLayout::Landscape;
    (landscape ? RBPrintDirectionHorizontal : RBPrintDirectionVertical)->setChecked(true);
    SENumberOfCopies->setValue(printer_.copyCount());
}

}  // namespace q2
