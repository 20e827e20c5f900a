// The main window.
#include "app/FormMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AddressListColumns.h"
#include "app/AddressListModel.h"
#include "app/DialogRunner.h"
#include "app/FormAddData.h"
#include "app/FormEditHistory.h"
#include "app/FormPasswordAuth.h"
#include "app/FormSearchZip.h"
#include "app/FormSender.h"
#include "app/PasswordCheck.h"
#include "app/ReadingRow.h"
#include "app/RecordEditor.h"
#include "app/SeasonColumns.h"
#include "app/SeasonMarksWidget.h"
#include "app/ToolbarIcons.h"
#include "app/UnencodableMessage.h"
#include "zip/ZipUpdate.h"
#include "model/DataPaths.h"
#include "model/ListFile.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/Prompter.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

const QString kTitle = QStringLiteral("Quintaro2");
const QString kNoFilter = QStringLiteral("指定なし");
const QString kBookFilter = QStringLiteral("Quintaro2 ファイル (*.QT2 *.qt2)");
const QString kCsvFilter = QStringLiteral("CSVファイル (*.csv *.CSV)");

constexpr const char16_t* kTabCaptions[] = {u"全", u"ア", u"カ", u"サ", u"タ", u"ナ", u"ハ",
                                            u"マ", u"ヤ", u"ラ", u"ワ", u"AB", u"他", u"検索"};

// The name after the last folder separator; names kept by the Windows program
// in "config.ini" may use backslashes.
QString FileNameOnly(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

QString WithSlash(QString folder) {
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

}  // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent) {
    BuildWindow();
    FormCreate();
}

TFormMain::~TFormMain() {
    // The view may still ask for rows while it is torn down.
    model_->BeginReset();
    DisplayList.clear();
    model_->EndReset();
}

QToolButton* TFormMain::AddToolButton(const char* name, const QString& caption,
                                      const QString& iconName, const QString& fallback,
                                      const QKeySequence& shortcut) {
    auto* action = new QAction(ToolbarIcon(iconName, fallback), caption, this);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(caption, shortcut.toString(QKeySequence::NativeText)));
    }
    auto* button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setMinimumWidth(76);
    return button;
}

void TFormMain::BuildWindow() {
    setObjectName(QStringLiteral("TFormMain"));
    setWindowTitle(kTitle);
    resize(1180, 760);
    setMinimumSize(990, 680);

    pngBtnAddAddress = AddToolButton("pngBtnAddAddress", QStringLiteral("住所追加"),
                                     QStringLiteral("contact-new"), QStringLiteral("address-add"));
    pngBtnOpen =
        AddToolButton("pngBtnOpen", QStringLiteral("開く"), QStringLiteral("document-open"),
                      QStringLiteral("open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    pngBtnSave =
        AddToolButton("pngBtnSave", QStringLiteral("保存"), QStringLiteral("document-save"),
                      QStringLiteral("save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    pngBtnAddSender =
        AddToolButton("pngBtnAddSender", QStringLiteral("差出人"),
                      QStringLiteral("x-office-address-book"), QStringLiteral("sender"));
    pngBtnPrint = AddToolButton("pngBtnPrint", QStringLiteral("宛名印刷"),
                                QStringLiteral("document-print"), QStringLiteral("print"));
    pngBtnConfig = AddToolButton("pngBtnConfig", QStringLiteral("設定"),
                                 QStringLiteral("preferences-system"), QStringLiteral("config"));
    PngBtnDirectMail = AddToolButton("PngBtnDirectMail", QStringLiteral("同報メール"),
                                     QStringLiteral("mail-send"), QStringLiteral("mail"));
    pngBtnImport = AddToolButton("pngBtnImport", QStringLiteral("インポート"),
                                 QStringLiteral("document-import"), QStringLiteral("import"));
    pngBtnExport = AddToolButton("pngBtnExport", QStringLiteral("エクスポート"),
                                 QStringLiteral("document-export"), QStringLiteral("export"));
    pngBtnNew =
        AddToolButton("pngBtnNew", QStringLiteral("新規作成"), QStringLiteral("document-new"),
                      QStringLiteral("new"), QKeySequence(Qt::CTRL | Qt::Key_N));
    PngBtnZipUpdate =
        AddToolButton("PngBtnZipUpdate", QStringLiteral("郵便番号更新"),
                      QStringLiteral("system-software-update"), QStringLiteral("zip-update"));

    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("MainToolBar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->toggleViewAction()->setVisible(false);
    for (QToolButton* b :
         {pngBtnAddAddress, pngBtnOpen, pngBtnSave, pngBtnAddSender, pngBtnPrint, pngBtnConfig,
          PngBtnDirectMail, pngBtnImport, pngBtnExport, pngBtnNew, PngBtnZipUpdate})
        toolbar->addWidget(b);
    auto* toolbarGap = new QWidget(toolbar);
    toolbarGap->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(toolbarGap);
    SeasonChooser = new TSeasonChooser(toolbar);
    toolbar->addWidget(SeasonChooser);
    addToolBar(Qt::TopToolBarArea, toolbar);

    connect(pngBtnNew->defaultAction(), &QAction::triggered, this, &TFormMain::pngBtnNewClick);
    connect(pngBtnOpen->defaultAction(), &QAction::triggered, this, &TFormMain::pngBtnOpenClick);
    connect(pngBtnSave->defaultAction(), &QAction::triggered, this, &TFormMain::pngBtnSaveClick);
    connect(pngBtnPrint->defaultAction(), &QAction::triggered, this, &TFormMain::pngBtnPrintClick);
    connect(pngBtnExport->defaultAction(), &QAction::triggered, this,
            &TFormMain::pngBtnExportClick);
    connect(pngBtnAddAddress->defaultAction(), &QAction::triggered, this,
            &TFormMain::pngBtnAddAddressClick);
    connect(pngBtnAddSender->defaultAction(), &QAction::triggered, this,
            &TFormMain::pngBtnAddSenderClick);
    connect(pngBtnConfig->defaultAction(), &QAction::triggered, this, &TFormMain::pngBtnConfigClick);
    connect(pngBtnImport->defaultAction(), &QAction::triggered, this, &TFormMain::pngBtnImportClick);
    connect(PngBtnDirectMail->defaultAction(), &QAction::triggered, this,
            &TFormMain::PngBtnDirectMailClick);
    connect(PngBtnZipUpdate->defaultAction(), &QAction::triggered, this,
            &TFormMain::PngBtnZipUpdateClick);
    auto* about = new QAction(QStringLiteral("バージョン情報"), this);
    about->setObjectName(QStringLiteral("ActAbout"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(about);
    connect(about, &QAction::triggered, this, &TFormMain::ShowAbout);
    // Their dialogs are not part of this program yet.
    for (QToolButton* b :
         {pngBtnPrint, pngBtnConfig, PngBtnDirectMail, pngBtnImport, pngBtnExport, PngBtnZipUpdate})
        b->defaultAction()->setEnabled(false);

    TCAddressList = new QTabBar(this);
    TCAddressList->setObjectName(QStringLiteral("TCAddressList"));
    for (const char16_t* caption : kTabCaptions) TCAddressList->addTab(QString::fromUtf16(caption));
    TCAddressList->setExpanding(false);
    TCAddressList->setUsesScrollButtons(false);
    TCAddressList->setDrawBase(true);
    TCAddressList->setFocusPolicy(Qt::StrongFocus);
    TCAddressList->setCurrentIndex(kTabAll);

    model_ = new TAddressListModel(DisplayList, this);
    LVAddressList = new QTableView(this);
    LVAddressList->setObjectName(QStringLiteral("LVAddressList"));
    LVAddressList->setModel(model_);
    LVAddressList->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVAddressList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LVAddressList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVAddressList->setShowGrid(true);
    LVAddressList->setWordWrap(false);
    LVAddressList->setTabKeyNavigation(false);
    LVAddressList->setAlternatingRowColors(false);
    LVAddressList->setContextMenuPolicy(Qt::CustomContextMenu);
    LVAddressList->verticalHeader()->setVisible(false);
    LVAddressList->verticalHeader()->setDefaultSectionSize(LVAddressList->fontMetrics().height() +
                                                           6);
    LVAddressList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = LVAddressList->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < kAddressListColumnCount; ++c)
        if (ColumnWidth(c) > 0) LVAddressList->setColumnWidth(c, ColumnWidth(c));
    header->setSectionResizeMode(0, QHeaderView::Fixed);  // the print mark column never widens
    for (int i = 0; i < kSeasonColumnCount; ++i) {
        LVAddressList->setColumnWidth(kFirstSeasonColumn + i, kSeasonColumnWidth);
        header->moveSection(header->visualIndex(kFirstSeasonColumn + i),
                            kSeasonColumnsVisualStart + i);
    }
    model_->SetSeason(SeasonChooser->Season());
    connect(header, &QHeaderView::sectionClicked, this, &TFormMain::SortByColumn);

    PopupMenuMain = new QMenu(this);
    PopupMenuMain->setObjectName(QStringLiteral("PopupMenuMain"));
    PopPrintCheck = PopupMenuMain->addAction(QStringLiteral("印刷チェックを付ける"));
    PopPrintCheck->setObjectName(QStringLiteral("PopPrintCheck"));
    PopPrintNotCheck = PopupMenuMain->addAction(QStringLiteral("印刷チェックを外す"));
    PopPrintNotCheck->setObjectName(QStringLiteral("PopPrintNotCheck"));
    PopupMenuMain->addSeparator();
    PopDelAddress = PopupMenuMain->addAction(QStringLiteral("選択中の住所を削除する"));
    PopDelAddress->setObjectName(QStringLiteral("PopDelAddress"));
    PopDelAddress->setShortcut(QKeySequence::Delete);
    PopDelAddress->setShortcutContext(Qt::WidgetShortcut);
    LVAddressList->addAction(PopDelAddress);
    // The menu key opens the popup by itself; Shift+F10 as well, at the current row.
    auto* popupKey = new QAction(this);
    popupKey->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    popupKey->setShortcutContext(Qt::WidgetShortcut);
    LVAddressList->addAction(popupKey);
    connect(popupKey, &QAction::triggered, this, [this] {
        const QRect r = LVAddressList->visualRect(LVAddressList->currentIndex());
        PopupMenuMain->popup(
            LVAddressList->viewport()->mapToGlobal(r.isValid() ? r.bottomLeft() : QPoint()));
    });
    connect(PopPrintCheck, &QAction::triggered, this, &TFormMain::PopPrintCheckClick);
    connect(PopPrintNotCheck, &QAction::triggered, this, &TFormMain::PopPrintNotCheckClick);
    connect(PopDelAddress, &QAction::triggered, this, &TFormMain::PopDelAddressClick);
    PopupMenuMain->addSeparator();
    PopSortMenu = PopupMenuMain->addMenu(QStringLiteral("並べ替え(&S)"));
    PopSortMenu->setObjectName(QStringLiteral("PopSortMenu"));
    for (int c = 0; c < kAddressListColumnCount; ++c) {
        // The office side's reading shares its caption with the private one.
        const QString caption = c == 15 ? QStringLiteral("フリガナ（会社名）") : ColumnCaption(c);
        QAction* sort = PopSortMenu->addAction(caption);
        connect(sort, &QAction::triggered, this, [this, c] { SortByColumn(c); });
    }
    connect(PopupMenuMain, &QMenu::aboutToShow, this, &TFormMain::UpdatePopupState);
    connect(LVAddressList, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenuMain->popup(LVAddressList->viewport()->mapToGlobal(pos));
    });
    connect(LVAddressList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFormMain::OnSelectionChanged);

    GBDisplayCategory = new QGroupBox(QStringLiteral("表示種別"), this);
    GBDisplayCategory->setObjectName(QStringLiteral("GBDisplayCategory"));
    CBDisplayCategory_1 = new QComboBox(GBDisplayCategory);
    CBDisplayCategory_1->setObjectName(QStringLiteral("CBDisplayCategory_1"));
    CBDisplayCategory_2 = new QComboBox(GBDisplayCategory);
    CBDisplayCategory_2->setObjectName(QStringLiteral("CBDisplayCategory_2"));
    for (QComboBox* box : {CBDisplayCategory_1, CBDisplayCategory_2}) {
        box->setEditable(false);
        box->setMinimumWidth(150);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!quietControls_) RefreshAddressList();
        });
    }
    auto* label1 = new QLabel(QStringLiteral("分類&1"), GBDisplayCategory);
    label1->setBuddy(CBDisplayCategory_1);
    auto* label2 = new QLabel(QStringLiteral("分類&2"), GBDisplayCategory);
    label2->setBuddy(CBDisplayCategory_2);
    auto* filters = new QHBoxLayout(GBDisplayCategory);
    filters->addWidget(label1);
    filters->addWidget(CBDisplayCategory_1, 1);
    filters->addSpacing(12);
    filters->addWidget(label2);
    filters->addWidget(CBDisplayCategory_2, 1);

    LblPrintCount = new QLabel(this);
    LblPrintCount->setObjectName(QStringLiteral("LblPrintCount"));
    LblPrintCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblPrintCount->setMinimumWidth(120);

    connect(TCAddressList, &QTabBar::currentChanged, this, [this] {
        if (!quietControls_) RefreshAddressList();
    });
    // Pressing the selected tab again (the search tab above all) refreshes too.
    connect(TCAddressList, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index == TCAddressList->currentIndex() && !quietControls_) RefreshAddressList();
    });

    auto* left = new QWidget(this);
    left->setObjectName(QStringLiteral("PanelAddressList"));
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    leftLayout->addWidget(TCAddressList);
    leftLayout->addWidget(LVAddressList, 1);
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 6, 0, 0);
    bottom->addWidget(GBDisplayCategory, 1);
    bottom->addWidget(LblPrintCount, 0, Qt::AlignBottom);
    leftLayout->addLayout(bottom);

    PanelRecordEditor = new QGroupBox(QStringLiteral("住所"), this);
    PanelRecordEditor->setObjectName(QStringLiteral("PanelRecordEditor"));
    PanelRecordEditor->setMinimumWidth(470);
    RecordEditor = new TRecordEditor(CurrentRecord, MailConfig);
    // The editor is taller than a small screen: it scrolls rather than squeezes.
    auto* scroll = new QScrollArea(PanelRecordEditor);
    scroll->setObjectName(QStringLiteral("ScrollRecordEditor"));
    scroll->setWidget(RecordEditor);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* editorLayout = new QVBoxLayout(PanelRecordEditor);
    editorLayout->setContentsMargins(2, 2, 2, 2);
    editorLayout->addWidget(scroll);
    FormAddData = new TFormAddData(this);
    FormSender = new TFormSender(this);
    FormSearchZip = new TFormSearchZip(this);
    FormEditHistory = new TFormEditHistory(this);
    RecordEditor->SetDialogs(FormSearchZip, FormEditHistory);
    connect(RecordEditor, &TRecordEditor::RecordChanged, this, [this] {
        Saved = false;
        model_->Redraw();
    });
    connect(RecordEditor, &TRecordEditor::DeleteRequested, this, &TFormMain::PopDelAddressClick);
    RecordEditor->SeasonMarks->SetSeason(SeasonChooser->Season());
    connect(SeasonChooser, &TSeasonChooser::SeasonChanged, this, [this](int season) {
        model_->SetSeason(season);
        RecordEditor->SeasonMarks->SetSeason(season);
    });

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(left, 1);
    layout->addWidget(PanelRecordEditor, 0);
    setCentralWidget(central);

    // Tabs from anywhere in the window, as in other tabbed programs.
    auto* nextTab = new QAction(this);
    nextTab->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_Tab)});
    auto* previousTab = new QAction(this);
    previousTab->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_PageUp),
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
    addAction(nextTab);
    addAction(previousTab);
    auto stepTab = [this](int step) {
        const int n = TCAddressList->count();
        int i = TCAddressList->currentIndex();
        do {
            i = (i + step + n) % n;
        } while (!TCAddressList->isTabEnabled(i));
        TCAddressList->setCurrentIndex(i);
    };
    connect(nextTab, &QAction::triggered, this, [stepTab] { stepTab(1); });
    connect(previousTab, &QAction::triggered, this, [stepTab] { stepTab(-1); });

    setTabOrder(TCAddressList, LVAddressList);
    setTabOrder(LVAddressList, CBDisplayCategory_1);
    setTabOrder(CBDisplayCategory_1, CBDisplayCategory_2);
    UpdateDialogButtons();
}

void TFormMain::FormCreate() {
    SortAscending = true;

    // When the data folder cannot be created the user hears it once, here, and
    // the program goes on with defaults.
    if (!EnsureDataFolder())
        GetPrompter().Inform(QStringLiteral("データフォルダ「%1」を作成できません。\n"
                                            "設定や差出人は保存されません。")
                                 .arg(QDir::toNativeSeparators(DataFolderPath())));
    else
        CopyMissingDefaults(DefaultDataFiles());
    DataFolder = DataFolderPath();
    PersonalFolder = WithSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));

    AddressBook.Clear();
    DisplayList.clear();

    if (LoadSenderFile(GetSenderPath(), Senders) == TSenderFileState::Damaged)
        GetPrompter().Inform(QStringLiteral(
            "差出人ファイルが破損しているため、読み込めなかった差出人は空欄になります"));

    MailConfig = TthMailConfig();
    if (!MailConfig.LoadFromFile(GetMailConfigPath())) {
        GetPrompter().Inform(QStringLiteral("設定ファイルが破損しているため設定を読み込めません"));
        MailConfig = TthMailConfig();
    }

    // A list file that neither the data folder nor the installation has is an
    // empty list.
    NameTitleItems = LoadListFile(GetNameTitlePath());
    Category1Items = LoadListFile(GetCategory1Path());
    Category2Items = LoadListFile(GetCategory2Path());
    quietControls_ = true;
    FillDisplayCategory(CBDisplayCategory_1, Category1Items);
    FillDisplayCategory(CBDisplayCategory_2, Category2Items);
    quietControls_ = false;
    RecordEditor->SetListItems(NameTitleItems, Category1Items, Category2Items);

    ClearCurrentRecord();
    UpdateCountLabel();
    UpdatePopupState();
    Saved = true;
}

void TFormMain::FillDisplayCategory(QComboBox* box, const QStringList& items) {
    box->clear();
    box->addItem(kNoFilter);
    box->addItems(items);
    box->setCurrentIndex(0);
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Questions asked on showing come once the window is on screen.
    if (!formShown_) QTimer::singleShot(0, this, &TFormMain::FormShow);
}

void TFormMain::FormShow() {
    if (formShown_ || programEnded_) return;
    formShown_ = true;
    if (MailConfig.UseSoftPassword) {
        const TPasswordResult r =
            passwordAuth_ ? CheckStartupPassword(*passwordAuth_, MailConfig.SoftPassword)
                          : TPasswordResult::Cancelled;
        if (r != TPasswordResult::Passed) {
            EndProgram();
            return;
        }
    }
    if (AddressBook.Count() == 0 && GetUseAutoLoadFile()) AutoLoadFile();
}

bool TFormMain::FormCloseQuery() {
    if (Saved) return true;
    return GetPrompter().Ask(
        QStringLiteral("現在の住所録は変更されています。保存せず終了してよろしいですか？"));
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (programEnded_ || FormCloseQuery()) {
        event->accept();
        emit Closed();
    } else {
        event->ignore();
    }
}

void TFormMain::EndProgram() {
    programEnded_ = true;
    emit ProgramEndRequested();
}

void TFormMain::OpenCommandLineFile(const QString& path) {
    if (QFileInfo(path).isFile()) {
        OpenAddressFile(path);
        if (!programEnded_) RebuildDisplayList();
    } else {
        GetPrompter().Inform(QStringLiteral("「") + path + QStringLiteral("」は存在しません"));
    }
}

void TFormMain::AutoLoadFile() {
    const QString name = GetAutoLoadFileName();
    if (!name.isEmpty() && QFileInfo(name).isFile()) {
        OpenAddressFile(name);
        if (!programEnded_) RebuildDisplayList();
    } else if (!name.isEmpty()) {
        GetPrompter().Inform(
            QStringLiteral("自動読み込みに設定されている「") + FileNameOnly(name) +
            QStringLiteral("」は、削除又は移動されたため開く事ができませんでした"));
    }
}

bool TFormMain::OpenAddressFile(const QString& path) {
    if (programEnded_ || !QFileInfo(path).isFile()) return false;
    const QString stored = TUserInfoList::ReadPassword(path);
    if (!stored.isEmpty()) {
        if (!passwordAuth_) return false;
        switch (CheckFilePassword(*passwordAuth_, stored)) {
            case TPasswordResult::Passed:
                break;
            case TPasswordResult::Cancelled:
                return false;
            case TPasswordResult::TooManyWrong:
                EndProgram();
                return false;
        }
    }
    // Read into a book of its own: a damaged file leaves the open book as it was.
    TUserInfoList loaded;
    if (!loaded.LoadFromFile(path)) {
        GetPrompter().Inform(QStringLiteral(
            "指定されたファイルは、破損しているか本ソフト用のファイルではないため開けません"));
        return false;
    }
    model_->BeginReset();
    DisplayList.clear();
    CurrentRecord = nullptr;
    AddressBook = std::move(loaded);
    model_->EndReset();
    CurrentFileName = path;
    UpdateCaption();
    return true;
}

void TFormMain::UpdateCaption() {
    if (Trim(CurrentFileName).isEmpty())
        setWindowTitle(kTitle);
    else
        setWindowTitle(kTitle + QStringLiteral(" - ") + FileNameOnly(CurrentFileName));
}

bool TFormMain::MatchesDisplayCategory(const TUserInfo& r) const {
    if (CBDisplayCategory_1->currentIndex() > 0 &&
        r.CommonCategory_1 != CBDisplayCategory_1->currentText())
        return false;
    if (CBDisplayCategory_2->currentIndex() > 0 &&
        r.CommonCategory_2 != CBDisplayCategory_2->currentText())
        return false;
    return true;
}

void TFormMain::RebuildDisplayList() {
    const int tab = TCAddressList->currentIndex();
    model_->BeginReset();
    DisplayList.clear();
    DisplayList.reserve(AddressBook.Count());
    for (int i = 0; i < AddressBook.Count(); ++i) {
        TUserInfo* r = AddressBook.Item(i);
        if (!MatchesDisplayCategory(*r)) continue;
        bool listed;
        if (tab == kTabAll)
            listed = true;
        else if (tab == kTabSearch)
            listed = searchMatches_ && searchMatches_(*r, ReadingRowOf(r->PerSonalKana_1));
        else
            listed = ReadingRowOf(r->PerSonalKana_1) == tab;
        if (listed) DisplayList.push_back(r);
    }
    model_->EndReset();
    LVAddressList->selectionModel()->clearSelection();
    ClearCurrentRecord();
    UpdateCountLabel();
}

void TFormMain::RefreshAddressList() {
    bool rebuild = true;
    if (TCAddressList->currentIndex() == kTabSearch) rebuild = searchDialog_ && searchDialog_();
    if (rebuild) {
        RebuildDisplayList();
        SortAscending = true;
        SortDisplayListBy(1);
    }
    if (!LVAddressList->selectionModel()->hasSelection()) ClearCurrentRecord();
}

void TFormMain::UpdateCountLabel() {
    LblPrintCount->setText(
        QStringLiteral("%1/%2件該当").arg(DisplayList.size()).arg(AddressBook.Count()));
}

void TFormMain::SortDisplayListBy(int column) {
    model_->BeginReset();
    if (IsSeasonColumn(column))
        SortDisplayListBySeason(DisplayList, column, SeasonChooser->Season(), SortAscending);
    else
        SortDisplayList(DisplayList, column, SortAscending);
    model_->EndReset();
    LVAddressList->horizontalHeader()->setSortIndicatorShown(true);
    LVAddressList->horizontalHeader()->setSortIndicator(
        column, SortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TFormMain::SortByColumn(int column) {
    SortAscending = !SortAscending;
    TUserInfo* keep = CurrentRecord;
    SortDisplayListBy(column);
    if (keep) {
        const auto it = std::find(DisplayList.begin(), DisplayList.end(), keep);
        if (it != DisplayList.end()) SelectRows({int(it - DisplayList.begin())});
    }
}

QList<int> TFormMain::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& i : LVAddressList->selectionModel()->selectedRows())
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TFormMain::SelectRows(const QList<int>& rows) {
    QItemSelectionModel* sel = LVAddressList->selectionModel();
    sel->clearSelection();
    for (int row : rows) {
        const QModelIndex i = model_->index(row, 0);
        sel->setCurrentIndex(i, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    if (!rows.isEmpty()) LVAddressList->scrollTo(model_->index(rows.last(), 0));
}

void TFormMain::ClickTab(int index) {
    if (index == TCAddressList->currentIndex())
        RefreshAddressList();
    else
        TCAddressList->setCurrentIndex(index);
}

void TFormMain::OnSelectionChanged() {
    const QItemSelectionModel* sel = LVAddressList->selectionModel();
    const QModelIndex current = sel->currentIndex();
    const QModelIndexList rows = sel->selectedRows();
    int row = -1;
    if (current.isValid() && sel->isRowSelected(current.row(), QModelIndex()))
        row = current.row();
    else if (!rows.isEmpty())
        row = rows.last().row();
    if (row >= 0 && row < int(DisplayList.size())) {
        // Re-selecting the row being edited leaves the controls as they are.
        if (DisplayList[row] != CurrentRecord || !RecordEditor->InputEnabled()) {
            SetInputArea(false);
            ShowRecord(row);
            SetInputArea(true);
        }
    } else {
        ClearCurrentRecord();
    }
    UpdatePopupState();
}

void TFormMain::ClearCurrentRecord() {
    CurrentRecord = nullptr;
    SetInputArea(false);
    ClearInputArea();
}

void TFormMain::ClearInputArea() {
    RecordEditor->ClearInputArea();
}

void TFormMain::SetInputArea(bool enabled) {
    RecordEditor->SetInputArea(enabled && CurrentRecord);
}

void TFormMain::ShowRecord(int row) {
    if (row < 0 || row >= int(DisplayList.size())) return;
    CurrentRecord = DisplayList[row];
    RecordEditor->ShowRecord();
}

void TFormMain::StoreInputArea() {
    RecordEditor->StoreInputArea();
}

void TFormMain::pngBtnAddAddressClick() {
    if (FormAddData->Execute() != QDialog::Accepted) return;
    auto record = std::make_unique<TUserInfo>();
    record->PerSonalKana_1 = FormAddData->EditKana_1->text();
    record->PerSonalKana_2 = FormAddData->EditKana_2->text();
    record->PerSonalName_1 = FormAddData->EditName_1->text();
    record->PerSonalName_2 = FormAddData->EditName_2->text();
    record->PerSonalHonorificTitle = QStringLiteral("様");
    record->PerSonalHomePage = QStringLiteral("http://");
    record->OfficeHomePage = QStringLiteral("http://");
    record->CommonPrintCheck = true;
    record->CommonUseTypePersonal = true;
    const QDateTime now = MakeDateTime(Now());
    record->CommonRegistDate = now;
    record->CommonBirthday = now;
    for (int i = 0; i < 4; ++i) record->JointName(i).HonorificTitle = QStringLiteral("様");
    TUserInfo* added = AddressBook.Add(std::move(record));
    // With a filter on, the new record waits for the next refresh.
    if (CBDisplayCategory_1->currentIndex() <= 0 && CBDisplayCategory_2->currentIndex() <= 0)
        SelectNewRecord(added);
    if (RecordEditor->EditPersonalZip_1->isEnabled()) RecordEditor->EditPersonalZip_1->setFocus();
    Saved = false;
}

void TFormMain::SelectNewRecord(TUserInfo* record) {
    quietControls_ = true;
    TCAddressList->setCurrentIndex(ReadingRowOf(record->PerSonalKana_1));
    quietControls_ = false;
    RefreshAddressList();
    const auto it = std::find(DisplayList.begin(), DisplayList.end(), record);
    if (it != DisplayList.end()) SelectRows({int(it - DisplayList.begin())});
}

void TFormMain::pngBtnAddSenderClick() {
    if (FormSender->Execute(Senders)) {
        if (!SaveSenderFile(GetSenderPath(), Senders))
            GetPrompter().Inform(QStringLiteral("差出人ファイルを保存できませんでした"));
        Saved = false;
    } else if (LoadSenderFile(GetSenderPath(), Senders) == TSenderFileState::Damaged) {
        GetPrompter().Inform(QStringLiteral(
            "差出人ファイルが破損しているため、読み込めなかった差出人は空欄になります"));
    }
}

void TFormMain::UpdatePopupState() {
    const bool any = LVAddressList->selectionModel()->hasSelection();
    PopPrintCheck->setEnabled(any);
    PopPrintNotCheck->setEnabled(any);
    PopDelAddress->setEnabled(any);
}

void TFormMain::SetPrintChecks(bool on) {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) return;
    for (int row : rows) DisplayList[row]->CommonPrintCheck = on;
    Saved = false;
    model_->Redraw();
}

void TFormMain::PopPrintCheckClick() {
    SetPrintChecks(true);
}
void TFormMain::PopPrintNotCheckClick() {
    SetPrintChecks(false);
}

void TFormMain::PopDelAddressClick() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) return;
    if (!GetPrompter().Ask(QStringLiteral("選択中の住所を削除しますか？"))) return;
    std::vector<TUserInfo*> doomed;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) doomed.push_back(DisplayList[*it]);
    model_->BeginReset();
    DisplayList.clear();
    CurrentRecord = nullptr;
    for (TUserInfo* r : doomed) AddressBook.Delete(AddressBook.IndexOf(r));
    model_->EndReset();
    Saved = false;
    ClearCurrentRecord();
    RebuildDisplayList();
}

void TFormMain::ResetTabAndFilters() {
    quietControls_ = true;
    TCAddressList->setCurrentIndex(kTabAll);
    CBDisplayCategory_1->setCurrentIndex(0);
    CBDisplayCategory_2->setCurrentIndex(0);
    quietControls_ = false;
}

void TFormMain::pngBtnNewClick() {
    const QString question =
        Saved ? QStringLiteral("住所録を新規作成しますか？")
              : QStringLiteral(
                    "現在の住所録は変更されています。保存せず新規住所録を作成してよろしいですか？");
    if (!GetPrompter().Ask(question)) return;
    model_->BeginReset();
    DisplayList.clear();
    CurrentRecord = nullptr;
    AddressBook.Clear();  // the password stays for the next save
    model_->EndReset();
    RebuildDisplayList();
    CurrentFileName.clear();
    ClearCurrentRecord();
    ResetTabAndFilters();
    RebuildDisplayList();
    UpdateCaption();
}

void TFormMain::pngBtnOpenClick() {
    if (!Saved &&
        !GetPrompter().Ask(QStringLiteral(
            "現在の住所録は変更されています。変更を保存せず別の住所録を開いてよろしいですか？")))
        return;
    const QString path = GetDialogRunner().OpenFileName(
        this, {QStringLiteral("住所録を開く"), PersonalFolder, QString(), kBookFilter, QString()});
    if (path.isEmpty()) return;
    OpenAddressFile(path);
    if (programEnded_) return;
    ResetTabAndFilters();
    RebuildDisplayList();
    Saved = true;
    ClearCurrentRecord();
    SortAscending = true;
    SortDisplayListBy(1);
}

void TFormMain::pngBtnSaveClick() {
    const QString folder =
        CurrentFileName.isEmpty() ? PersonalFolder : QFileInfo(CurrentFileName).absolutePath();
    const QString path =
        GetDialogRunner().SaveFileName(this, {QStringLiteral("住所録の保存"), folder,
                                              CurrentFileName, kBookFilter, QStringLiteral("QT2")});
    if (path.isEmpty()) return;
    SaveAddressFile(path);
}

bool TFormMain::SaveAddressFile(const QString& path) {
    const QList<TUnencodableField> bad = AddressBook.FindUnencodable();
    if (!bad.isEmpty() && !GetPrompter().Ask(UnencodableQuestion(AddressBook, bad))) return false;
    if (!AddressBook.SaveToFile(path)) {
        GetPrompter().Inform(QStringLiteral("ファイルの保存に失敗しました"));
        return false;
    }
    CurrentFileName = path;
    UpdateCaption();
    Saved = true;
    return true;
}

void TFormMain::pngBtnPrintClick() {
    if (choosePrintKind_) {
        switch (choosePrintKind_()) {
            case TPrintKind::Cancel: return;
            case TPrintKind::List:
                if (listPrintDialog_) listPrintDialog_(DisplayList);
                return;
            case TPrintKind::Address: break;
        }
    }
    const bool any = std::any_of(DisplayList.begin(), DisplayList.end(),
                                 [](const TUserInfo* r) { return r->CommonPrintCheck; });
    if (!any) {
        GetPrompter().Inform(QStringLiteral("印刷対象がありません"));
        return;
    }
    if (printDialog_) printDialog_(DisplayList, Senders);
}

void TFormMain::SetListPrintDialog(std::function<TPrintKind()> choose,
                                   std::function<void(TDisplayList&)> printList) {
    choosePrintKind_ = std::move(choose);
    listPrintDialog_ = std::move(printList);
    UpdateDialogButtons();
}

void TFormMain::pngBtnExportClick() {
    if (AddressBook.Count() == 0) {
        GetPrompter().Inform(QStringLiteral("エクスポート対象がありません"));
        return;
    }
    const QString path =
        GetDialogRunner().SaveFileName(this, {QStringLiteral("エクスポート"), PersonalFolder,
                                              QString(), kCsvFilter, QStringLiteral("csv")});
    if (path.isEmpty()) return;
    if (exportDialog_) exportDialog_(path, AddressBook);
}

void TFormMain::SetSearchDialog(std::function<bool()> execute,
                                std::function<bool(const TUserInfo&, int)> matches) {
    searchDialog_ = std::move(execute);
    searchMatches_ = std::move(matches);
    UpdateDialogButtons();
}

void TFormMain::SetPrintDialog(std::function<void(TDisplayList&, TSenderInfoList&)> show) {
    printDialog_ = std::move(show);
    UpdateDialogButtons();
}

void TFormMain::SetExportDialog(std::function<void(const QString&, TUserInfoList&)> execute) {
    exportDialog_ = std::move(execute);
    UpdateDialogButtons();
}

void TFormMain::UpdateDialogButtons() {
    TCAddressList->setTabEnabled(kTabSearch, bool(searchDialog_));
    pngBtnPrint->defaultAction()->setEnabled(bool(printDialog_) || bool(listPrintDialog_));
    pngBtnExport->defaultAction()->setEnabled(bool(exportDialog_));
    pngBtnConfig->defaultAction()->setEnabled(bool(configDialog_));
    pngBtnImport->defaultAction()->setEnabled(bool(importDialog_));
    PngBtnDirectMail->defaultAction()->setEnabled(bool(directMailDialog_));
    PngBtnZipUpdate->defaultAction()->setEnabled(bool(zipUpdateDialog_));
}

void TFormMain::SetConfigDialog(std::function<bool(TUserInfoList&, TthMailConfig&)> execute) {
    configDialog_ = std::move(execute);
    UpdateDialogButtons();
}

void TFormMain::SetImportDialog(
    std::function<TImportResult(const QString&, TUserInfoList&)> execute) {
    importDialog_ = std::move(execute);
    UpdateDialogButtons();
}

void TFormMain::SetDirectMailDialog(std::function<void(TDisplayList&, TthMailConfig&)> execute) {
    directMailDialog_ = std::move(execute);
    UpdateDialogButtons();
}

void TFormMain::SetZipUpdateDialog(std::function<void()> show) {
    zipUpdateDialog_ = std::move(show);
    UpdateDialogButtons();
}

void TFormMain::pngBtnConfigClick() {
    if (!configDialog_ || !configDialog_(AddressBook, MailConfig)) return;
    NameTitleItems = LoadListFile(GetNameTitlePath());
    Category1Items = LoadListFile(GetCategory1Path());
    Category2Items = LoadListFile(GetCategory2Path());
    RecordEditor->SetListItems(NameTitleItems, Category1Items, Category2Items);
    // The filters start over; the table follows at the next refresh.
    quietControls_ = true;
    FillDisplayCategory(CBDisplayCategory_1, Category1Items);
    FillDisplayCategory(CBDisplayCategory_2, Category2Items);
    quietControls_ = false;
    Saved = false;
}

void TFormMain::pngBtnImportClick() {
    if (!importDialog_) return;
    const QString path = GetDialogRunner().OpenFileName(
        this, {QStringLiteral("インポート"), PersonalFolder, QString(), kCsvFilter, QString()});
    if (path.isEmpty()) return;
    const TImportResult result = importDialog_(path, AddressBook);
    if (result == TImportResult::Imported) RefreshAddressList();
    // The dialog marks the book modified even when cancelled.
    if (result != TImportResult::NotRun) Saved = false;
}

void TFormMain::PngBtnDirectMailClick() {
    if (!MailConfig.IsComplete()) {
        GetPrompter().Inform(QStringLiteral(
            "メール送信設定が完了していないため使用できません\n設定ボタンから設定を行ってください"));
        return;
    }
    if (DisplayList.empty()) {
        GetPrompter().Inform(QStringLiteral(
            "メール送信の対象がいないため使用できません\n送信対象者を抽出してください"));
        return;
    }
    if (directMailDialog_) directMailDialog_(DisplayList, MailConfig);
}

void TFormMain::PngBtnZipUpdateClick() {
    if (zipUpdateDialog_) zipUpdateDialog_();
}

QString TFormMain::AboutText() const {
    const TZipVersion zip = ReadZipVersion(GetZipVersionPath());
    return QStringLiteral("Quintaro2 %1\n\n郵便番号データ：%2\nデータフォルダ：%3")
        .arg(QCoreApplication::applicationVersion(),
             zip.Read ? zip.DisplayText : QStringLiteral("（なし）"),
             QDir::toNativeSeparators(DataFolder));
}

void TFormMain::ShowAbout() { GetPrompter().Inform(AboutText()); }

}  // namespace q2
