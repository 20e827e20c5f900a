// The print dialog: controls, preview, settings and the print run.
#include "print/FormPrintAddress.h"

#include <QAbstractTableModel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/DataPaths.h"
#include "model/RecordField.h"
#include "platform/Prompter.h"
#include "print/CalibrationSheet.h"
#include "print/FormAddPaper.h"
#include "print/PreviewBackground.h"
#include "print/PrinterJob.h"

namespace q2 {

namespace {

QString T(const char16_t* s) {
    return QString::fromUtf16(s);
}

// The address list's columns without its print mark.
std::span<const TRecordFieldId> PrintListFields() { return AddressListFields().subspan(1); }

constexpr int kLabelTab = 1;
constexpr int kHisagoTab = 1;

// The zoom steps of CBZoom after its first entry, "全体表示".
constexpr double kZoomSteps[] = {0.5, 0.75, 1.0, 1.5, 2.0};

// The preview column asks for the room of the widest and tallest kind at full
// size whatever kind is shown, so that the dialog keeps its width.
class TPreviewScroll : public QScrollArea {
public:
    explicit TPreviewScroll(QWidget* parent) : QScrollArea(parent) {
        int w = 384, h = 567;
        for (int k = kFirstPaperKind; k <= kLastPaperKind; ++k) {
            const TPreviewSize a = PreviewAreaForKind(k);
            w = std::max(w, a.Width.v);
            h = std::max(h, a.Height.v);
        }
        // The panel's sunken frame and the scroll area's own.
        hint_ = QSize(w + 2 + 2 * frameWidth(), h + 2 + 2 * frameWidth());
    }
    QSize sizeHint() const override { return hint_; }
    QSize minimumSizeHint() const override { return {160, 200}; }
    std::function<void()> Resized;

protected:
    void resizeEvent(QResizeEvent* e) override {
        QScrollArea::resizeEvent(e);
        if (Resized) Resized();
    }

private:
    QSize hint_;
};

// Begins the painter on the printer the setup dialog chose. `margin` is where
// the painter's origin sits on the sheet: the unprintable margin, 0 for PDF.
bool BeginPrinting(QPrinter& printer, QPainter& painter, const QString& docName, QPoint* margin) {
    printer.setDocName(docName);
    if (!painter.begin(&printer)) {
        GetPrompter().Inform(T(u"印刷を開始できませんでした。プリンタの設定を確かめて下さい。"));
        return false;
    }
    const int res = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    *margin = printer.fullPage() ? QPoint()
                                 : layout.paintRectPixels(res).topLeft() - layout.fullRectPixels(res).topLeft();
    return true;
}

}  // namespace

// The print list as a virtual table: rows are answered from the records.
// Column 0, "!", marks a record whose address does not fit at the floor
// (laid out on demand for the rows shown, again after every change).
class TPrintListModel : public QAbstractTableModel {
public:
    using Check = std::function<TPieceFindings(const TUserInfo&)>;
    explicit TPrintListModel(QObject* parent) : QAbstractTableModel(parent) {}
    void SetRecords(const QList<const TUserInfo*>* records) {
        beginResetModel();
        records_ = records;
        overflow_.clear();
        endResetModel();
    }
    void SetCheck(Check check) { check_ = std::move(check); }
    // The layout changed: the marks are found again.
    void Invalidate() {
        overflow_.clear();
        if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !records_ ? 0 : int(records_->size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(PrintListFields().size()) + 1;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!records_ || index.row() >= records_->size()) return {};
        if (index.column() == 0) {
            if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
            if (!Overflows(index.row())) return {};
            return role == Qt::DisplayRole ? QStringLiteral("!") : OverflowText();
        }
        if (role != Qt::DisplayRole) return {};
        return RecordField(PrintListFields()[size_t(index.column() - 1)]).Text(*records_->at(index.row()));
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal) return {};
        if (section == 0) {
            if (role == Qt::ToolTipRole) return OverflowText();
            return role == Qt::DisplayRole ? QVariant(QStringLiteral("!")) : QVariant();
        }
        if (role != Qt::DisplayRole) return {};
        return RecordField(PrintListFields()[size_t(section - 1)]).ListCaption.toString();
    }
    static QString OverflowText() {
        return T(u"住所が最小の文字の大きさでも枠に収まりません。最小の大きさで印刷されます。");
    }

private:
    bool Overflows(int row) const {
        if (!check_) return false;
        auto it = overflow_.find(row);
        if (it == overflow_.end()) it = overflow_.insert(row, check_(*records_->at(row)).Overflow());
        return *it;
    }
    const QList<const TUserInfo*>* records_ = nullptr;
    Check check_;
    mutable QHash<int, bool> overflow_;
};

TBeforePrintCheck& BeforePrintCheck() {
    static TBeforePrintCheck check;
    return check;
}

void SetBeforePrintCheck(TBeforePrintCheck check) { BeforePrintCheck() = std::move(check); }

TFormPrintAddress::TFormPrintAddress(QWidget* parent)
    : QDialog(parent), printer_(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("FormPrintAddress"));
    setWindowTitle(T(u"宛名印刷"));
    // "閉じる" is the only way out: it saves the settings.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    paperPath_ = GetPaperPath();
    configPath_ = GetConfigPath();
    printerSetup_ = [](QPrinter& printer, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    allFaces_ = ListJapaneseFaces();
    BuildControls();
    formAddPaper_ = new TFormAddPaper(this);
    SelectPaperKind(kNengaKind);
    DrawTextImage->SetFrames(DefaultFrames(kNengaKind, true));
    FillFontList(QString());
}

TFormPrintAddress::~TFormPrintAddress() = default;

void TFormPrintAddress::SetDataFiles(const QString& paperPath, const QString& configPath) {
    paperPath_ = paperPath;
    configPath_ = configPath;
    formAddPaper_->SetPaperPath(paperPath);
}

void TFormPrintAddress::BuildControls() {
    // The preview on the left, the settings on the right (scrolling when the
    // screen is low), the buttons always in view below both.
    auto* outer = new QVBoxLayout(this);
    auto* root = new QHBoxLayout;
    outer->addLayout(root, 1);

    PanelPreview = new QFrame(this);
    PanelPreview->setObjectName(QStringLiteral("PanelPreview"));
    PanelPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelPreview->setLineWidth(1);
    auto* panelLayout = new QVBoxLayout(PanelPreview);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    DrawTextImage = new TPreviewWidget(PanelPreview);
    panelLayout->addWidget(DrawTextImage);
    auto* left = new QVBoxLayout;
    auto* zoomRow = new QHBoxLayout;
    CBZoom = new QComboBox(this);
    CBZoom->setObjectName(QStringLiteral("CBZoom"));
    CBZoom->addItem(T(u"全体表示"));
    for (double z : kZoomSteps) CBZoom->addItem(QStringLiteral("%1 %").arg(RoundInt(z * 100)));
    zoomRow->addWidget(new QLabel(T(u"表示"), this));
    zoomRow->addWidget(CBZoom);
    zoomRow->addStretch();
    left->addLayout(zoomRow);
    auto* scroll = new TPreviewScroll(this);
    ScrollPreview = scroll;
    ScrollPreview->setObjectName(QStringLiteral("ScrollPreview"));
    ScrollPreview->setWidget(PanelPreview);
    ScrollPreview->setAlignment(Qt::AlignCenter);
    ScrollPreview->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    scroll->Resized = [this] {
        if (zoom_ <= 0) ApplyPreviewZoom();
    };
    left->addWidget(ScrollPreview, 1);
    LabelPaper = new QLabel(this);
    LabelPaper->setObjectName(QStringLiteral("LabelPaper"));
    LabelPaper->setWordWrap(true);
    LabelPaper->setMaximumWidth(ScrollPreview->sizeHint().width());
    left->addWidget(LabelPaper);
    root->addLayout(left);
    connect(CBZoom, &QComboBox::currentIndexChanged, this, [this](int i) {
        SetPreviewZoom(i <= 0 ? 0 : kZoomSteps[std::min<size_t>(size_t(i - 1), std::size(kZoomSteps) - 1)]);
    });

    auto* settings = new QWidget(this);
    auto* right = new QVBoxLayout(settings);
    right->setContentsMargins(0, 0, 0, 0);
    ScrollSettings = new QScrollArea(this);
    ScrollSettings->setObjectName(QStringLiteral("ScrollSettings"));
    ScrollSettings->setFrameShape(QFrame::NoFrame);
    ScrollSettings->setWidgetResizable(true);
    ScrollSettings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The print list keeps its own share of the height below the settings.
    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(ScrollSettings, 3);
    root->addLayout(rightColumn, 1);

    PCPrintType = new QTabWidget(this);
    PCPrintType->setObjectName(QStringLiteral("PCPrintType"));
    auto* cardPage = new QWidget;
    auto* cardLayout = new QVBoxLayout(cardPage);
    auto* paperGroup = new QGroupBox(T(u"ハガキ選択"), cardPage);
    auto* paperLayout = new QVBoxLayout(paperGroup);
    auto* paperGrid = new QHBoxLayout;
    auto* envelopeGrid = new QGridLayout;
    paperLayout->addLayout(paperGrid);
    paperLayout->addLayout(envelopeGrid);
    PaperButtons = new QButtonGroup(this);
    PaperButtons->setExclusive(true);
    const char* names[] = {"",
                           "SpeedButtonPaper1",
                           "SpeedButtonPaper2",
                           "SpeedButtonPaper3",
                           "SpeedButtonPaper4",
                           "SBTyou2",
                           "SBTyou3",
                           "SBTyou4",
                           "SBTyou3Y",
                           "SBKaku2",
                           "SBKaku3"};
    for (int k = kFirstPaperKind; k <= kLastPaperKind; ++k) {
        const TPaperKindInfo* info = PaperKindInfo(k);
        auto* b = new QToolButton(paperGroup);
        b->setObjectName(QLatin1String(names[k]));
        b->setCheckable(true);
        if (info->IsPostcard()) {
            // The glyph: the postcard kind drawn small, with its label as the hint.
            QImage glyph(50, 73, QImage::Format_RGB32);
            glyph.fill(Qt::white);
            QPainter gp(&glyph);
            DrawPreviewBackground(gp, k, info->UnitWidth, info->UnitHeight,
                                  PreviewDpiOf({PreviewPx(50), PreviewPx(73)}, info->UnitWidth, info->UnitHeight));
            gp.setPen(Qt::gray);
            gp.drawRect(0, 0, 49, 72);
            gp.end();
            b->setIcon(QIcon(QPixmap::fromImage(glyph)));
            b->setIconSize(QSize(50, 73));
            b->setToolTip(QString::fromUtf16(info->Label));
            paperGrid->addWidget(b);
        } else {
            b->setText(QString::fromUtf16(info->Label));
            b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            envelopeGrid->addWidget(b, (k - 5) / 3, (k - 5) % 3);
        }
        PaperButtons->addButton(b, k);
        PaperButton[k] = b;
    }
    connect(PaperButtons, &QButtonGroup::idClicked, this, [this](int k) { SelectPaperKind(k); });
    cardLayout->addWidget(paperGroup);
    cardLayout->addStretch();
    PCPrintType->addTab(cardPage, T(u"ハガキ"));

    auto* labelPage = new QWidget;
    auto* labelLayout = new QVBoxLayout(labelPage);
    TCMaker = new QTabBar(labelPage);
    TCMaker->setObjectName(QStringLiteral("TCMaker"));
    for (const QString& m : LabelMakers()) TCMaker->addTab(m);
    labelLayout->addWidget(TCMaker);
    ListViewPaper = new QTreeWidget(labelPage);
    ListViewPaper->setObjectName(QStringLiteral("ListViewPaper"));
    ListViewPaper->setRootIsDecorated(false);
    ListViewPaper->setHeaderLabels({T(u"型番"), T(u"横幅"), T(u"縦幅"), T(u"上余白"), T(u"下余白"),
                                    T(u"左余白"), T(u"右余白"), T(u"列数"), T(u"段数"),
                                    T(u"向き")});
    ListViewPaper->setSelectionMode(QAbstractItemView::SingleSelection);
    labelLayout->addWidget(ListViewPaper);
    auto* labelButtons = new QHBoxLayout;
    Button4 = new QPushButton(T(u"登録"), labelPage);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button3 = new QPushButton(T(u"削除"), labelPage);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4->setEnabled(false);
    Button3->setEnabled(false);
    labelButtons->addStretch();
    labelButtons->addWidget(Button4);
    labelButtons->addWidget(Button3);
    labelLayout->addLayout(labelButtons);
    PCPrintType->addTab(labelPage, T(u"タックシール"));
    right->addWidget(PCPrintType);
    connect(PCPrintType, &QTabWidget::currentChanged, this, [this] { PCPrintTypeChange(); });
    connect(TCMaker, &QTabBar::currentChanged, this, [this] {
        LoadLabelList();
        RefreshPreview();
    });
    connect(ListViewPaper, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (loading_ || inTargetChange_) return;
        SelectLabelPaper();
        RefreshPreview();
    });
    connect(Button4, &QPushButton::clicked, this, [this] { ButtonRegisterClick(); });
    connect(Button3, &QPushButton::clicked, this, [this] { DeleteLabelPaper(); });

    auto* direction = new QHBoxLayout;
    RadioButtonTate = new QRadioButton(T(u"縦書き"), this);
    RadioButtonTate->setObjectName(QStringLiteral("RadioButtonTate"));
    RadioButtonYoko = new QRadioButton(T(u"横書き"), this);
    RadioButtonYoko->setObjectName(QStringLiteral("RadioButtonYoko"));
    RadioButtonTate->setChecked(true);
    direction->addWidget(RadioButtonTate);
    direction->addWidget(RadioButtonYoko);
    direction->addStretch();
    right->addLayout(direction);
    connect(RadioButtonTate, &QRadioButton::clicked, this, [this] { SetVertical(true); });
    connect(RadioButtonYoko, &QRadioButton::clicked, this, [this] { SetVertical(false); });

    GroupSender = new QGroupBox(T(u"差出人印刷"), this);
    auto* senderLayout = new QGridLayout(GroupSender);
    CheckBoxPrintSender = new QCheckBox(T(u"差出人情報を印刷する"), GroupSender);
    CheckBoxPrintSender->setObjectName(QStringLiteral("CheckBoxPrintSender"));
    CBSenderName = new QComboBox(GroupSender);
    CBSenderName->setObjectName(QStringLiteral("CBSenderName"));
    for (const char16_t* s : {u"差出人１", u"差出人２", u"差出人３", u"差出人４", u"差出人５"})
        CBSenderName->addItem(T(s));
    CBSenderConfig = new QComboBox(GroupSender);
    CBSenderConfig->setObjectName(QStringLiteral("CBSenderConfig"));
    CBSenderConfig->addItems({T(u"個人用"), T(u"会社用")});
    CheckBoxPrintSenderZipSenderArea =
        new QCheckBox(T(u"郵便番号を差出人部分に印刷する"), GroupSender);
    CheckBoxPrintSenderZipSenderArea->setObjectName(
        QStringLiteral("CheckBoxPrintSenderZipSenderArea"));
    senderLayout->addWidget(CheckBoxPrintSender, 0, 0, 1, 2);
    senderLayout->addWidget(new QLabel(T(u"使用する差出人"), GroupSender), 1, 0);
    senderLayout->addWidget(CBSenderName, 1, 1);
    senderLayout->addWidget(new QLabel(T(u"使用する内容"), GroupSender), 2, 0);
    senderLayout->addWidget(CBSenderConfig, 2, 1);
    senderLayout->addWidget(CheckBoxPrintSenderZipSenderArea, 3, 0, 1, 2);
    right->addWidget(GroupSender);
    connect(CheckBoxPrintSender, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) ShowCornerSquaresOff();
        RefreshPreview();
    });
    connect(CheckBoxPrintSenderZipSenderArea, &QCheckBox::toggled, this, [this](bool on) {
        if (on) ShowCornerSquaresOff();
        RefreshPreview();
    });
    connect(CBSenderName, &QComboBox::currentIndexChanged, this, [this] { RefreshPreview(); });
    connect(CBSenderConfig, &QComboBox::currentIndexChanged, this, [this] { RefreshPreview(); });

    auto* options = new QGridLayout;
    CBCostom = new QCheckBox(T(u"カスタマーコードを印刷する"), this);
    CBCostom->setObjectName(QStringLiteral("CBCostom"));
    CBPrintControl = new QComboBox(this);
    CBPrintControl->setObjectName(QStringLiteral("CBPrintControl"));
    CBPrintControl->addItems(
        {T(u"個人名"), T(u"会社部署御中"), T(u"会社部署役職殿"), T(u"会社部署役職名前")});
    CBPrintControl->setCurrentIndex(3);
    options->addWidget(CBCostom, 0, 0, 1, 2);
    options->addWidget(new QLabel(T(u"印刷コントロール"), this), 1, 0);
    options->addWidget(CBPrintControl, 1, 1);
    // How columns set Latin words and numbers; horizontal writing ignores both.
    CBLatinVertical = new QComboBox(this);
    CBLatinVertical->setObjectName(QStringLiteral("CBLatinVertical"));
    CBLatinVertical->addItems({T(u"横倒し"), T(u"1文字ずつ正立")});
    CBNumeralsVertical = new QComboBox(this);
    CBNumeralsVertical->setObjectName(QStringLiteral("CBNumeralsVertical"));
    CBNumeralsVertical->addItems({T(u"漢数字（一二三）"), T(u"漢数字（十・百を使う）"), T(u"算用数字（縦中横）")});
    options->addWidget(new QLabel(T(u"欧文（縦書き）"), this), 2, 0);
    options->addWidget(CBLatinVertical, 2, 1);
    options->addWidget(new QLabel(T(u"数字（縦書き）"), this), 3, 0);
    options->addWidget(CBNumeralsVertical, 3, 1);
    right->addLayout(options);
    connect(CBLatinVertical, &QComboBox::currentIndexChanged, this, [this] { RefreshPreview(); });
    connect(CBNumeralsVertical, &QComboBox::currentIndexChanged, this, [this] { RefreshPreview(); });
    connect(CBCostom, &QCheckBox::toggled, this, [this](bool on) {
        // The barcode frame shows only while the barcode is printed.
        DrawTextImage->SetFrameVisible(TFrameId::CUS, on);
        RefreshPreview();
    });
    connect(CBPrintControl, &QComboBox::currentIndexChanged, this, [this] { RefreshPreview(); });

    // Calibration of the current paper kind or label sheet: everything printed
    // moves by this much, the preview with it.
    GroupOffset = new QGroupBox(T(u"印刷位置の調整"), this);
    GroupOffset->setObjectName(QStringLiteral("GroupOffset"));
    auto* offsetLayout = new QHBoxLayout(GroupOffset);
    auto spin = [&](const char* name) {
        auto* box = new QDoubleSpinBox(GroupOffset);
        box->setObjectName(QLatin1String(name));
        box->setRange(-TPrintOffset::kLimit / 10.0, TPrintOffset::kLimit / 10.0);
        box->setDecimals(1);
        box->setSingleStep(0.1);
        box->setSuffix(QStringLiteral(" mm"));
        return box;
    };
    SpinOffsetX = spin("SpinOffsetX");
    SpinOffsetY = spin("SpinOffsetY");
    ButtonCalibration = new QPushButton(T(u"調整用シートを印刷"), GroupOffset);
    ButtonCalibration->setObjectName(QStringLiteral("ButtonCalibration"));
    offsetLayout->addWidget(new QLabel(T(u"右へ"), GroupOffset));
    offsetLayout->addWidget(SpinOffsetX);
    offsetLayout->addWidget(new QLabel(T(u"下へ"), GroupOffset));
    offsetLayout->addWidget(SpinOffsetY);
    offsetLayout->addWidget(ButtonCalibration);
    right->addWidget(GroupOffset);
    auto offsetChanged = [this] { SetOffset(SpinOffsetX->value(), SpinOffsetY->value()); };
    connect(SpinOffsetX, &QDoubleSpinBox::valueChanged, this, offsetChanged);
    connect(SpinOffsetY, &QDoubleSpinBox::valueChanged, this, offsetChanged);
    connect(ButtonCalibration, &QPushButton::clicked, this, [this] { PrintCalibrationSheet(); });

    right->addWidget(new QLabel(T(u"印刷フォント"), this));
    ListBoxFont = new QListWidget(this);
    ListBoxFont->setObjectName(QStringLiteral("ListBoxFont"));
    ListBoxFont->setMaximumHeight(110);
    right->addWidget(ListBoxFont);
    connect(ListBoxFont, &QListWidget::currentRowChanged, this, [this] { RefreshPreview(); });

    GroupHidden = new QGroupBox(this);
    CheckBox1 = new QCheckBox(T(u"宛先を大きくする"), GroupHidden);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    (new QVBoxLayout(GroupHidden))->addWidget(CheckBox1);
    GroupHidden->hide();
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { RefreshPreview(); });

    rightColumn->addWidget(new QLabel(T(u"印刷リスト"), this));
    ListViewPrint = new QTableView(this);
    ListViewPrint->setObjectName(QStringLiteral("ListViewPrint"));
    printModel_ = new TPrintListModel(this);
    printModel_->SetRecords(&printList_);
    printModel_->SetCheck([this](const TUserInfo& r) { return CheckPiece(r, CurrentSetup()); });
    ListViewPrint->setModel(printModel_);
    ListViewPrint->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewPrint->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewPrint->verticalHeader()->hide();
    ListViewPrint->verticalHeader()->setDefaultSectionSize(20);
    ListViewPrint->setMinimumHeight(6 * 20);
    rightColumn->addWidget(ListViewPrint, 1);
    connect(ListViewPrint->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { RefreshPreview(); });

    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->hide();
    connect(Button1, &QPushButton::clicked, this, [this] { RefreshPreview(); });
    Button2 = new QPushButton(T(u"プリンタ設定"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    ButtonPrint = new QPushButton(T(u"印刷"), this);
    ButtonPrint->setObjectName(QStringLiteral("ButtonPrint"));
    ButtonCancel = new QPushButton(T(u"閉じる"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(ButtonPrint);
    buttons->addWidget(ButtonCancel);
    outer->addLayout(buttons);
    ScrollSettings->setWidget(settings);
    // Wide enough for the settings without a horizontal scroll bar.
    ScrollSettings->setMinimumWidth(settings->minimumSizeHint().width() +
                                    ScrollSettings->verticalScrollBar()->sizeHint().width());
    connect(Button2, &QPushButton::clicked, this, [this] { ButtonPrinterSetupClick(); });
    connect(ButtonPrint, &QPushButton::clicked, this, [this] { PrintAll(); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });

    connect(DrawTextImage, &TPreviewWidget::EditFinished, this, [this] { RefreshPreview(); });
}

void TFormPrintAddress::ShowPrintDialog(const std::vector<TUserInfo*>& records,
                                        TSenderInfoList& senders) {
    TakeRecords(records, senders);
    FormShow();
    exec();
    // Closed without "閉じる" (only possible from outside): lend nothing further.
    printModel_->SetRecords(nullptr);
    printList_.clear();
    printModel_->SetRecords(&printList_);
    senders_ = nullptr;
}

void TFormPrintAddress::TakeRecords(const std::vector<TUserInfo*>& records,
                                    TSenderInfoList& senders) {
    printModel_->SetRecords(nullptr);
    printList_.clear();
    for (const TUserInfo* r : records)
        if (r->CommonPrintCheck) printList_ << r;
    printModel_->SetRecords(&printList_);
    senders_ = &senders;
}

void TFormPrintAddress::FormShow() {
    loading_ = true;
    FillFontList(QString());
    LoadPrintSettings();
    if (!printList_.isEmpty()) SelectPrintRow(0);
    if (PCPrintType->currentIndex() == 0) {
        if (PaperButton[std::clamp(kind_, 0, 10)] && kind_ >= 1) SelectPaperKind(kind_);
    } else {
        SetBackgroundKind(0);
    }
    ShowCornerSquaresOff();
    LoadLabelList();
    LoadPrintSettings();
    loading_ = false;
    RefreshPreview();
}

void TFormPrintAddress::ButtonCancelClick() {
    SavePrintSettings();
    printModel_->SetRecords(nullptr);
    printList_.clear();
    printModel_->SetRecords(&printList_);
    senders_ = nullptr;
    accept();
}

void TFormPrintAddress::reject() {
    // Escape closes as "閉じる" does: the dialog has no other way out.
    ButtonCancelClick();
}

void TFormPrintAddress::SetPanelSize(TPreviewSize area) {
    area_ = area;
    DrawTextImage->SetArea(area);
    ApplyPreviewZoom();
}

void TFormPrintAddress::SetPreviewZoom(double zoom) {
    zoom_ = std::max(0.0, zoom);
    // "全体表示" for 0, the step's entry, or none for a zoom off the steps.
    int index = zoom_ > 0 ? -1 : 0;
    for (size_t i = 0; i < std::size(kZoomSteps); ++i)
        if (std::abs(kZoomSteps[i] - zoom_) < 1e-6) index = int(i) + 1;
    {
        QSignalBlocker block(CBZoom);
        CBZoom->setCurrentIndex(index);
    }
    ApplyPreviewZoom();
}

double TFormPrintAddress::PreviewZoom() const { return DrawTextImage->Zoom(); }

void TFormPrintAddress::ApplyPreviewZoom() {
    double z = zoom_;
    const bool fit = z <= 0;
    ScrollPreview->setHorizontalScrollBarPolicy(fit ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    ScrollPreview->setVerticalScrollBarPolicy(fit ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    if (fit) {
        // The whole piece in the room the column has, never larger than life.
        const QSize room = ScrollPreview->maximumViewportSize() - QSize(2, 2);
        z = std::min({1.0, room.width() / double(area_.Width.v), room.height() / double(area_.Height.v)});
        z = std::max(z, 0.1);
    }
    DrawTextImage->SetZoom(z);
    // The panel's sunken frame takes a pixel on every side.
    PanelPreview->setFixedSize(DrawTextImage->width() + 2, DrawTextImage->height() + 2);
}

QString TFormPrintAddress::PostcardFramesKey(int kind, bool vertical) const {
    return QStringLiteral("%1%2").arg(kind).arg(vertical ? 'V' : 'H');
}

void TFormPrintAddress::RememberFrames() {
    if (!framesKey_.isEmpty()) sessionFrames_.insert(framesKey_, DrawTextImage->Frames());
}

void TFormPrintAddress::RestoreFrames(const QString& key, const TLayoutFrames& defaults) {
    RememberFrames();
    DrawTextImage->SetFrames(sessionFrames_.value(key, defaults));
    framesKey_ = key;
}

void TFormPrintAddress::SyncJobPaper(const TPieceSetup& setup) {
    const QString key = setup.IsLabel() ? QStringLiteral("L%1").arg(setup.Label && setup.Label->Landscape())
                                        : QStringLiteral("K%1").arg(setup.Kind);
    if (key == jobPaperKey_) return;
    ApplyJobPaper(printer_, setup);
    jobPaperKey_ = key;
}

void TFormPrintAddress::ShowPaper() {
    const QString target = printer_.outputFormat() == QPrinter::PdfFormat ? T(u"PDFファイル") : printer_.printerName();
    LabelPaper->setText(T(u"用紙: ") + PaperCaptionOf(printer_) + T(u"　出力先: ") + target);
}

void TFormPrintAddress::SetBackgroundKind(int kind) {
    const TPaperKindInfo* info = PaperKindInfo(kind);
    // Labels show plain white at the postcard picture's size.
    const PreviewPx w = info ? info->PictureWidth : PreviewPx(384), h = info ? info->PictureHeight : PreviewPx(567);
    QImage picture(w.v, h.v, QImage::Format_RGB32);
    picture.fill(Qt::white);
    if (info) {
        // Drawn at the resolution the preview renders the piece at, so that the
        // red boxes lie under the digits; the picture's extra column is clipped.
        const TPreviewSize area = PreviewAreaForKind(kind);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        DrawPreviewBackground(p, kind, info->UnitWidth, info->UnitHeight,
                              PreviewDpiOf(area, info->UnitWidth, info->UnitHeight));
    }
    DrawTextImage->SetBackground(picture);
}

void TFormPrintAddress::SelectPaperKind(int kind) {
    const TPaperKindInfo* info = PaperKindInfo(kind);
    if (!info) return;
    {
        QSignalBlocker block(PaperButtons);
        PaperButton[kind]->setChecked(true);
    }
    kind_ = kind;
    SetPanelSize(PreviewAreaForKind(kind));
    SetBackgroundKind(kind);
    // While loading, the postcard buttons keep the frames the settings bring.
    if (!loading_ || !info->IsPostcard()) {
        const QString key = PostcardFramesKey(kind, Vertical());
        if (directionChange_) {
            // A new direction starts from the kind's defaults for it.
            RememberFrames();
            sessionFrames_.remove(key);
        }
        RestoreFrames(key, DefaultFrames(kind, Vertical()));
    }
    ShowCornerSquaresOff();
    RefreshPreview();
}

void TFormPrintAddress::SetFrames(const TLayoutFrames& frames) {
    DrawTextImage->SetFrames(frames);
}

int TFormPrintAddress::CheckedPaperKind() const {
    return std::max(0, PaperButtons->checkedId());
}

bool TFormPrintAddress::Vertical() const {
    return vertical_;
}

int TFormPrintAddress::SelectedLabelRow() const {
    const QList<QTreeWidgetItem*> sel = ListViewPaper->selectedItems();
    return sel.isEmpty() ? -1 : ListViewPaper->indexOfTopLevelItem(sel.first());
}

void TFormPrintAddress::ApplyLabelRow(int row) {
    QSignalBlocker block(ListViewPaper);
    ListViewPaper->clearSelection();
    if (QTreeWidgetItem* item = ListViewPaper->topLevelItem(row)) {
        item->setSelected(true);
        ListViewPaper->setCurrentItem(item);
    }
}

void TFormPrintAddress::SelectLabelPaper() {
    const int row = SelectedLabelRow();
    if (row < 0 || row >= labelRows_.size()) return;
    const std::optional<TLabelPaper> paper = ToLabelPaper(labelRows_[row]);
    if (!paper) {
        GetPrompter().Inform(LabelPaperProblem(labelRows_[row]));
        // The previous label stays in force, and its row selected.
        ApplyLabelRow(labelRow_);
        return;
    }
    label_ = paper;
    labelRow_ = row;
    if (PCPrintType->currentIndex() == kLabelTab) SetPanelSize(PreviewAreaForLabel(*label_));
}

void TFormPrintAddress::LoadLabelList() {
    QSignalBlocker block(ListViewPaper);
    ListViewPaper->clear();
    labelRows_.clear();
    labelRow_ = -1;
    QList<TLabelRecord> all;
    if (!ReadPaperConfig(paperPath_, &all))
        GetPrompter().Inform(T(u"用紙ファイルを読み込めませんでした: ") + paperPath_);
    const QString maker = TCMaker->tabText(TCMaker->currentIndex());
    for (const TLabelRecord& r : all) {
        if (r.Maker != maker) continue;
        labelRows_ << r;
        ListViewPaper->addTopLevelItem(new QTreeWidgetItem(
            QStringList{r.Model, r.Width, r.Height, r.TopMargin, r.BottomMargin, r.LeftMargin,
                        r.RightMargin, r.Columns, r.Rows, r.Orientation}));
    }
    const bool original = TCMaker->currentIndex() == 0;
    Button4->setEnabled(original);
    Button3->setEnabled(original);
}

void TFormPrintAddress::FillFontList(const QString& keep) {
    QSignalBlocker block(ListBoxFont);
    ListBoxFont->clear();
    for (const QString& f : allFaces_)
        if (f.startsWith(QLatin1Char('@')) == vertical_) ListBoxFont->addItem(f);
    QString want = keep;
    if (want.isEmpty()) {
        const QString ms = T(u"ＭＳ Ｐゴシック");
        want =
            vertical_ && !ListBoxFont->findItems(QLatin1Char('@') + ms, Qt::MatchExactly).isEmpty()
                ? QLatin1Char('@') + ms
                : ms;
    }
    const QList<QListWidgetItem*> found = ListBoxFont->findItems(want, Qt::MatchExactly);
    ListBoxFont->setCurrentRow(found.isEmpty() ? FallbackFontRow() : ListBoxFont->row(found.first()));
}

int TFormPrintAddress::FallbackFontRow() const {
    // A face this machine lacks (the default "ＭＳ Ｐゴシック" among them) is
    // printed in IPAPGothic, so the list shows that one.
    const QString ipa = (vertical_ ? QStringLiteral("@") : QString()) + QStringLiteral("IPAPGothic");
    const QList<QListWidgetItem*> f = ListBoxFont->findItems(ipa, Qt::MatchExactly);
    return f.isEmpty() ? 0 : ListBoxFont->row(f.first());
}

void TFormPrintAddress::SelectFont(const QString& name) {
    QSignalBlocker block(ListBoxFont);
    auto rowOf = [this](const QString& n) {
        const QList<QListWidgetItem*> f = ListBoxFont->findItems(n, Qt::MatchExactly);
        return f.isEmpty() ? -1 : ListBoxFont->row(f.first());
    };
    int row = rowOf(name);
    if (row < 0) row = rowOf(QLatin1Char('@') + name);
    ListBoxFont->setCurrentRow(row < 0 ? FallbackFontRow() : row);
}

QString TFormPrintAddress::SelectedFontName() const {
    const QListWidgetItem* item = ListBoxFont->currentItem();
    return item ? item->text() : QString();
}

void TFormPrintAddress::SetVertical(bool vertical) {
    const QString previous = SelectedFontName();
    vertical_ = vertical;
    {
        QSignalBlocker a(RadioButtonTate), b(RadioButtonYoko);
        (vertical ? RadioButtonTate : RadioButtonYoko)->setChecked(true);
    }
    QString keep = previous;
    if (vertical && !keep.startsWith(QLatin1Char('@'))) keep = QLatin1Char('@') + keep;
    if (!vertical && keep.startsWith(QLatin1Char('@'))) keep = keep.mid(1);
    FillFontList(keep);
    // The frames belong to a direction: the pressed paper's defaults for the new
    // one (a change of target brings back the frames the direction had).
    if (PCPrintType->currentIndex() == 0 && CheckedPaperKind() > 0) {
        directionChange_ = !inTargetChange_;
        SelectPaperKind(CheckedPaperKind());
        directionChange_ = false;
    } else {
        RefreshPreview();
    }
}

void TFormPrintAddress::SelectPrintRow(int row) {
    if (row < 0 || row >= printList_.size()) {
        ListViewPrint->clearSelection();
        ListViewPrint->setCurrentIndex({});
    } else {
        ListViewPrint->selectRow(row);
    }
    RefreshPreview();
}

void TFormPrintAddress::LoadPrintSettings() {
    const TPrintSettings st = q2::LoadPrintSettings(configPath_);
    stored_ = st;
    // The target first: the postcard tab or the label tab.
    {
        QSignalBlocker block(PCPrintType);
        PCPrintType->setCurrentIndex(st.Type == 1 ? kLabelTab : 0);
    }
    if (st.Type == 1) SetBackgroundKind(0);
    // The paper kind; the remembered kind is kept whatever it is.
    if (st.Type != 1) {
        if (PaperKindInfo(st.PostcardIndex)) {
            SelectPaperKind(st.PostcardIndex);
        } else {
            QSignalBlocker block(PaperButtons);
            PaperButtons->setExclusive(false);
            if (QAbstractButton* b = PaperButtons->checkedButton()) b->setChecked(false);
            PaperButtons->setExclusive(true);
            SetPanelSize(PreviewAreaForKind(kNengaKind));
        }
        kind_ = st.PostcardIndex;
    }
    // The direction, with the font list of that direction.
    if (st.Vertical != vertical_) {
        vertical_ = st.Vertical;
        FillFontList(QString());
    }
    {
        QSignalBlocker a(RadioButtonTate), b(RadioButtonYoko);
        (vertical_ ? RadioButtonTate : RadioButtonYoko)->setChecked(true);
    }
    // The sender, barcode, font and frame choices, without a refresh for each.
    {
        QSignalBlocker a(CheckBoxPrintSender), b(CBCostom), c(CheckBoxPrintSenderZipSenderArea),
            d(CheckBox1), e(CBSenderName), f(CBSenderConfig), g(CBPrintControl), h(CBLatinVertical),
            i(CBNumeralsVertical);
        CheckBoxPrintSender->setChecked(st.PrintSender);
        CBCostom->setChecked(st.PrintCostom);
        SelectFont(st.Font);
        DrawTextImage->SetFrames(st.Frames);
        // The label tab starts from the label frames (its target change sets
        // them): stored frames are the postcard kind's.
        framesKey_ = st.Type == 1 ? QString() : PostcardFramesKey(st.PostcardIndex, st.Vertical);
        CheckBoxPrintSenderZipSenderArea->setChecked(st.ZipPrintState);
        CheckBox1->setChecked(st.AteSize);
        CBSenderName->setCurrentIndex(std::clamp(st.SuseNo, 0, 4));
        CBSenderConfig->setCurrentIndex(std::clamp(st.SuseType, 0, 1));
        CBPrintControl->setCurrentIndex(std::clamp(st.SprintControl, 0, 3));
        CBLatinVertical->setCurrentIndex(int(st.LatinVertical));
        CBNumeralsVertical->setCurrentIndex(int(st.NumeralsVertical));
    }
    DrawTextImage->SetFrameVisible(TFrameId::CUS, st.PrintCostom);
    // The label sheet, once its maker's list is loaded.
    if (st.Type == 1) {
        {
            QSignalBlocker block(TCMaker);
            TCMaker->setCurrentIndex(std::clamp(st.PMaker, 0, 4));
        }
        LoadLabelList();
        if (st.PIndex >= 0 && st.PIndex < labelRows_.size()) ApplyLabelRow(st.PIndex);
        PCPrintTypeChange();
    }
}

TPrintSettings TFormPrintAddress::CollectSettings() const {
    TPrintSettings st;
    st.Type = PCPrintType->currentIndex() == kLabelTab ? 1 : 0;
    st.PostcardIndex = kind_;
    st.Vertical = vertical_;
    st.PrintSender = CheckBoxPrintSender->isChecked();
    st.PrintCostom = CBCostom->isChecked();
    st.Font = SelectedFontName();
    st.PMaker = TCMaker->currentIndex();
    st.PIndex = SelectedLabelRow();
    st.Frames = DrawTextImage->Frames();
    st.ZipPrintState = CheckBoxPrintSenderZipSenderArea->isChecked();
    st.AteSize = CheckBox1->isChecked();
    st.SuseNo = CBSenderName->currentIndex();
    st.SuseType = CBSenderConfig->currentIndex();
    st.SprintControl = CBPrintControl->currentIndex();
    st.LatinVertical = TLatinInVertical(CBLatinVertical->currentIndex());
    st.NumeralsVertical = TVerticalNumerals(CBNumeralsVertical->currentIndex());
    st.AddressFloor = stored_.AddressFloor;
    st.LabelAddressFloor = stored_.LabelAddressFloor;
    st.KindOffsets = stored_.KindOffsets;
    st.LabelOffsets = stored_.LabelOffsets;
    return st;
}

QString TFormPrintAddress::CurrentLabelKey() const {
    return label_ ? LabelOffsetKey(label_->Maker, label_->Model) : QString();
}

void TFormPrintAddress::SetOffset(double dxMm, double dyMm) {
    const TPrintOffset o = TPrintOffset{RoundInt(dxMm * 10), RoundInt(dyMm * 10)}.Clamped();
    if (PCPrintType->currentIndex() == kLabelTab)
        SetLabelOffset(stored_, CurrentLabelKey(), o);
    else
        SetKindOffset(stored_, kind_, o);
    RefreshPreview();
}

void TFormPrintAddress::SyncOffsetControls() {
    const bool labelTab = PCPrintType->currentIndex() == kLabelTab;
    const TPrintOffset o = labelTab ? LabelOffset(stored_, CurrentLabelKey()) : KindOffset(stored_, kind_);
    QSignalBlocker a(SpinOffsetX), b(SpinOffsetY);
    SpinOffsetX->setValue(o.Dx / 10.0);
    SpinOffsetY->setValue(o.Dy / 10.0);
    GroupOffset->setEnabled(labelTab ? label_.has_value() : PaperKindInfo(kind_) != nullptr);
    ButtonCalibration->setEnabled(!labelTab && PaperKindInfo(kind_) != nullptr);
}

bool TFormPrintAddress::PrintCalibrationSheet() {
    if (!PaperKindInfo(kind_)) return false;
    // The sheet goes on the paper of the kind, as the job does.
    TPieceSetup setup = CurrentSetup();
    setup.Settings.Type = 0;
    setup.Kind = kind_;
    if (printer_.outputFormat() == QPrinter::PdfFormat)
        printer_.setPageLayout(CalibrationPageLayout(kind_));
    else
        ApplyJobPaper(printer_, setup);
    jobPaperKey_.clear();
    if (!printerSetup_(printer_, this)) return false;
    QPainter painter;
    QPoint offset;
    if (!BeginPrinting(printer_, painter, T(u"調整用シート"), &offset)) return false;
    painter.translate(-offset.x(), -offset.y());
    const int res = printer_.resolution();
    DrawCalibrationSheet(painter, kind_, Dpi{res, res});
    if (const std::optional<TMmRect> area = PrintableAreaOf(printer_)) {
        const TPaperGeometry g = setup.Geometry();
        DrawPrintableArea(painter, *area, g.UnitWidth, g.UnitHeight, Dpi{res, res});
    }
    painter.end();
    return true;
}

void TFormPrintAddress::SavePrintSettings() {
    if (!q2::SavePrintSettings(configPath_, CollectSettings()))
        GetPrompter().Inform(T(u"印刷設定を保存できませんでした: ") + configPath_);
}

TPieceSetup TFormPrintAddress::CurrentSetup() const {
    TPieceSetup s = MakePieceSetup(CollectSettings(), label_, senders_);
    return s;
}

void TFormPrintAddress::PCPrintTypeChange() {
    if (inTargetChange_) return;
    inTargetChange_ = true;
    ShowCornerSquaresOff();
    if (PCPrintType->currentIndex() == 0) {
        SetVertical(savedVertical_);
        DrawTextImage->SetFrameVisible(TFrameId::SEN, true);
        RadioButtonTate->setEnabled(true);
        RadioButtonYoko->setEnabled(true);
        if (CheckedPaperKind() > 0)
            SelectPaperKind(CheckedPaperKind());
        else
            SetPanelSize(PreviewAreaForKind(kNengaKind));
    } else {
        SetPanelSize({PreviewPx(384), area_.Height});
        SetBackgroundKind(0);
        DrawTextImage->SetFrameVisible(TFrameId::SEN, false);
        DrawTextImage->SetFrameVisible(TFrameId::SZIP, false);
        savedVertical_ = vertical_;
        SetVertical(false);
        RadioButtonTate->setEnabled(false);
        RadioButtonYoko->setEnabled(false);
        {
            QSignalBlocker block(CheckBoxPrintSender);
            CheckBoxPrintSender->setChecked(false);
        }
        ShowCornerSquaresOff();
        if (SelectedLabelRow() < 0 && !labelRows_.isEmpty()) ApplyLabelRow(0);
        if (labelRows_.isEmpty() && TCMaker->currentIndex() != kHisagoTab) {
            // Once only: an empty "ヒサゴ" list leaves no label selected.
            {
                QSignalBlocker block(TCMaker);
                TCMaker->setCurrentIndex(kHisagoTab);
            }
            LoadLabelList();
            if (!labelRows_.isEmpty()) ApplyLabelRow(0);
        }
        if (SelectedLabelRow() < 0) label_.reset();
        SelectLabelPaper();
        RestoreFrames(QStringLiteral("L"), DefaultLabelFrames());
        if (label_) SetPanelSize(PreviewAreaForLabel(*label_));
        DrawTextImage->SetFrameVisible(TFrameId::ZIP, true);
        DrawTextImage->SetFrameVisible(TFrameId::ADD, true);
        DrawTextImage->SetFrameVisible(TFrameId::NAM, true);
        DrawTextImage->SetFrameVisible(TFrameId::CUS, CBCostom->isChecked());
    }
    inTargetChange_ = false;
    RefreshPreview();
}

std::optional<QRect> TFormPrintAddress::PrintableAreaOnPreview(const TPieceSetup& setup) const {
    const int res = printer_.resolution();
    if (res <= 0) return std::nullopt;
    const TPaperGeometry g = setup.Geometry();
    const double r = area_.Height.v * 25.4 / g.UnitHeight.v;  // preview pixels per inch
    const QPageLayout layout = printer_.pageLayout();
    const QRect paint = layout.paintRectPixels(res), full = layout.fullRectPixels(res);
    const QRectF paintMm = layout.paintRect(QPageLayout::Millimeter);
    const QPoint offset = printer_.fullPage() ? QPoint() : paint.topLeft() - full.topLeft();
    int left = RoundInt(offset.x() * r / res), top = RoundInt(offset.y() * r / res);
    const int right = RoundInt(r * paintMm.width() / 25.4) + left;
    const int bottom = RoundInt(r * paintMm.height() / 25.4) + top;
    left = std::max(left, 1);
    top = std::max(top, 1);
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void TFormPrintAddress::RefreshPreview() {
    if (loading_) return;
    SyncOffsetControls();
    printModel_->Invalidate();
    const bool sender = CheckBoxPrintSender->isChecked();
    DrawTextImage->SetFrameVisible(TFrameId::SEN, sender);
    DrawTextImage->SetFrameVisible(TFrameId::SZIP,
                                   sender && !CheckBoxPrintSenderZipSenderArea->isChecked());
    const QModelIndexList rows = ListViewPrint->selectionModel()->selectedRows();
    const int row = rows.isEmpty() ? -1 : rows.first().row();
    if (row >= 0 && row < printList_.size())
        CBPrintControl->setEnabled(!printList_[row]->CommonUseTypePersonal);
    const TPieceSetup setup = CurrentSetup();
    const bool labelTab = PCPrintType->currentIndex() == kLabelTab;
    if (!labelTab || label_) SyncJobPaper(setup);
    ShowPaper();
    DrawTextImage->SetPrintableArea(labelTab ? std::nullopt : PrintableAreaOnPreview(setup));
    if (row < 0 || row >= printList_.size() || (labelTab && !label_)) {
        DrawTextImage->SetPiece(QImage());
        return;
    }
    const TPaperGeometry g = setup.Geometry();
    const Dpi dpi = PreviewDpiOf(area_, g.UnitWidth, g.UnitHeight);
    const DevicePx spacing = PreviewSpacing(PreviewScaleOf(area_, g.UnitWidth));
    QImage piece(area_.Width.v, area_.Height.v, QImage::Format_ARGB32_Premultiplied);
    piece.fill(Qt::transparent);
    QPainter painter(&piece);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn over the background picture, so not filled white.
    RenderPiece(painter, *printList_[row], setup, dpi, spacing, TRenderPurpose::Preview, {false});
    painter.end();
    DrawTextImage->SetPiece(piece);
}

void TFormPrintAddress::ButtonPrinterSetupClick() {
    SyncJobPaper(CurrentSetup());
    printerSetup_(printer_, this);
    RefreshPreview();
}

bool TFormPrintAddress::PrintAll() {
    const bool labelTab = PCPrintType->currentIndex() == kLabelTab;
    // The geometry of an earlier label outlives a reloaded list; printing
    // needs a row chosen in the list now.
    if (labelTab && (!label_ || SelectedLabelRow() < 0)) {
        GetPrompter().Inform(T(u"印刷用紙が選択されていません。"));
        return false;
    }
    if (printList_.isEmpty()) return false;
    TPieceSetup setup = CurrentSetup();
    // The job asks for the paper of its kind; the setup dialog opens on it and
    // may change it.
    SyncJobPaper(setup);
    const TJobPaper paper = JobPaper(setup);
    if (!printerSetup_(printer_, this)) return false;
    // A printer chosen in the setup dialog names its papers its own way: the
    // job's paper is asked for again in its names, unless the user took another.
    QSizeF wanted = paper.Size.size(QPageSize::Millimeter);
    if (paper.Orientation == QPageLayout::Landscape) wanted.transpose();
    const QSizeF now = printer_.pageLayout().fullRect(QPageLayout::Millimeter).size();
    if (std::abs(now.width() - wanted.width()) < 0.5 && std::abs(now.height() - wanted.height()) < 0.5)
        ApplyJobPaper(printer_, setup);
    ShowPaper();
    // The findings of the batch, with what this printer cannot reach; "中止"
    // prints nothing.
    setup.Printable = PrintableAreaOf(printer_);
    if (BeforePrintCheck() && !BeforePrintCheck()(this, printList_, setup)) return false;
    const TPrintJobResult result = PrintJob(printer_, printList_, setup, T(u"印刷"));
    if (!result.Ok) {
        GetPrompter().Inform(result.Message);
        return false;
    }
    if (OnPrinted) OnPrinted(printList_);
    return true;
}

void TFormPrintAddress::ButtonRegisterClick() {
    if (formAddPaper_->Execute()) {
        LoadLabelList();
        RefreshPreview();
    }
}

void TFormPrintAddress::DeleteLabelPaper() {
    const int row = SelectedLabelRow();
    if (row < 0) {
        GetPrompter().Inform(T(u"削除するラベルを選択して下さい"));
        return;
    }
    const QString model = labelRows_[row].Model;
    if (!GetPrompter().Ask(model + T(u"を削除しますか？"))) return;
    if (TCMaker->currentIndex() != 0) {
        GetPrompter().Inform(T(u"オリジナル欄以外のラベルは削除できません"));
        return;
    }
    QStringList lines;
    if (!ReadPaperLines(paperPath_, &lines)) {
        GetPrompter().Inform(T(u"用紙ファイルを読み込めませんでした: ") + paperPath_);
        return;
    }
    if (RemoveLabelRecord(lines, OriginalHeading(model)) && !WritePaperLines(paperPath_, lines))
        GetPrompter().Inform(T(u"用紙ファイルを書き込めませんでした: ") + paperPath_);
    if (labelRow_ == row) label_.reset();
    LoadLabelList();
    RefreshPreview();
}

}  // namespace q2
