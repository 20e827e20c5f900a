// The main window.
#include "app/FormMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AddressListColumns.h"
#include "app/AddressListModel.h"
#include "app/FormAddData.h"
#include "app/DesktopSettings.h"
#include "app/FormEditHistory.h"
#include "app/FormHelp.h"
#include "app/FormPasswordAuth.h"
#include "app/FormSender.h"
#include "app/PasswordCheck.h"
#include "app/PostalCodeBoxes.h"
#include "app/ReadingRow.h"
#include "app/RecordEditor.h"
#include "app/SeasonColumns.h"
#include "app/SeasonMarksWidget.h"
#include "app/ToolbarIcons.h"
#include "zip/ZipUpdate.h"
#include "model/DataPaths.h"
#include "model/ListFile.h"
#include "platform/Clock.h"
#include "platform/SafeFile.h"
#include "platform/DataFolder.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/WidthMap.h"
#include "platform/UserFile.h"
#include "zip/FormSearchZip.h"

namespace q2 {
namespace {

const QString kTitle = QStringLiteral("Quintaro2");
const QString kNoFilter = QStringLiteral("指定なし");
const QString kBookFilter = QStringLiteral("Quintaro2 ファイル (*.QT2 *.qt2)");
const QString kCsvFilter = QStringLiteral("CSVファイル (*.csv *.CSV);;vCardファイル (*.vcf *.VCF)");
const QString kImportFilter = QStringLiteral(
    "CSV・vCardファイル (*.csv *.CSV *.vcf *.VCF);;CSVファイル (*.csv *.CSV);;vCardファイル (*.vcf *.VCF)");

constexpr const char16_t* kTabCaptions[] = {u"全", u"ア", u"カ", u"サ", u"タ", u"ナ", u"ハ",
                                            u"マ", u"ヤ", u"ラ", u"ワ", u"AB", u"他", u"検索"};

// The name after the last folder separator; names kept by the Windows program
// in "config.ini" may use backslashes.
QString FileNameOnly(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

const QString kCloseQuestion =
    QStringLiteral("現在の住所録は変更されています。終了する前に保存しますか？");
const QString kNewQuestion =
    QStringLiteral("現在の住所録は変更されています。新規住所録を作成する前に保存しますか？");
const QString kOpenQuestion =
    QStringLiteral("現在の住所録は変更されています。別の住所録を開く前に保存しますか？");

bool HasSuffix(const QString& path, const char* suffix) {
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

// The first local file of a drag with the given suffix.
QString DroppedFile(const QMimeData* data, const char* suffix) {
    if (!data || !data->hasUrls()) return QString();
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && HasSuffix(url.toLocalFile(), suffix)) return url.toLocalFile();
    return QString();
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
    setWindowTitle(QStringLiteral("無題 — ") + kTitle);  // no book yet: an untitled one
    resize(1180, 760);
    setMinimumSize(990, 680);

    pngBtnAddAddress = AddToolButton("pngBtnAddAddress", QStringLiteral("住所追加"),
                                     QStringLiteral("contact-new"), QStringLiteral("address-add"));
    pngBtnOpen =
        AddToolButton("pngBtnOpen", QStringLiteral("開く"), QStringLiteral("document-open"),
                      QStringLiteral("open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    // Ctrl+S belongs to 上書き保存 in the menu; this button always asks for a name.
    pngBtnSave = AddToolButton("pngBtnSave", QStringLiteral("保存"),
                               QStringLiteral("document-save"), QStringLiteral("save"));
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
    // Their dialogs are not part of this program yet.
    for (QToolButton* b :
         {pngBtnPrint, pngBtnConfig, PngBtnDirectMail, pngBtnImport, pngBtnExport, PngBtnZipUpdate})
        b->defaultAction()->setEnabled(false);

    TCAddressList = new QTabBar(this);
    TCAddressList->setObjectName(QStringLiteral("TCAddressList"));
    for (const char16_t* caption : kTabCaptions) TCAddressList->addTab(QString::fromUtf16(caption));
    TCAddressList->setExpanding(false);
    // Scroll buttons appear only where the window is too narrow for every tab.
    TCAddressList->setUsesScrollButtons(true);
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
        box->setMinimumWidth(120);
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
    RecordEditor = new TRecordEditor(CurrentRecord, Session.MailConfig);
    // The editor is taller than a small screen: it scrolls rather than squeezes.
    auto* scroll = new QScrollArea(PanelRecordEditor);
    scroll->setObjectName(QStringLiteral("ScrollRecordEditor"));
    scroll->setWidget(RecordEditor);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Whatever moves the focus into the editor (Tab, a new record, a lookup),
    // the box with the focus is scrolled into view.
    connect(qApp, &QApplication::focusChanged, scroll, [this, scroll](QWidget*, QWidget* now) {
        if (now && RecordEditor->isAncestorOf(now)) scroll->ensureWidgetVisible(now);
    });
    auto* editorLayout = new QVBoxLayout(PanelRecordEditor);
    editorLayout->setContentsMargins(2, 2, 2, 2);
    editorLayout->addWidget(scroll);
    // The editor keeps its full width on a narrow screen (the list gives way
    // and scrolls sideways), so that no control is cut off at the right.
    const int editorWidth = RecordEditor->minimumSizeHint().width() +
                            scroll->verticalScrollBar()->sizeHint().width() +
                            PanelRecordEditor->contentsMargins().left() +
                            PanelRecordEditor->contentsMargins().right() + 8;
    PanelRecordEditor->setMinimumWidth(std::max(470, editorWidth));
    FormAddData = new TFormAddData(this);
    FormSender = new TFormSender(this);
    FormSearchZip = new TFormSearchZip(this);
    FormEditHistory = new TFormEditHistory(this);
    FormHelp = new TFormHelp(this);
    RecordEditor->SetDialogs(FormSearchZip, FormEditHistory);
    JoinPostalCodeBoxes(RecordEditor->EditPersonalZip_1, RecordEditor->EditPersonalZip_2);
    JoinPostalCodeBoxes(RecordEditor->EditOfficeZip_1, RecordEditor->EditOfficeZip_2);
    connect(RecordEditor, &TRecordEditor::RecordChanged, this, [this] {
        if (CurrentRecord)
            Session.RecordEdited(CurrentRecord, RecordEditor->RecordBefore(),
                                 RecordEditor->LastEditedControl());
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
    nextTab->setText(QStringLiteral("次のタブ"));
    previousTab->setText(QStringLiteral("前のタブ"));
    nextTab->setObjectName(QStringLiteral("ActNextTab"));
    previousTab->setObjectName(QStringLiteral("ActPreviousTab"));

    BuildMenuBar();
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    setAcceptDrops(true);

    Session.FilePasswordCheck = [this](const QString& stored) {
        return passwordAuth_ ? CheckFilePassword(*passwordAuth_, stored)
                             : TPasswordResult::Cancelled;
    };
    Session.AskOtherPath = [this] { return AskSavePath(); };
    connect(&Session, &TAddressBookSession::EndRequested, this, &TFormMain::EndProgram);
    connect(&Session, &TAddressBookSession::SavedChanged, this, &TFormMain::UpdateCaption);
    connect(&Session, &TAddressBookSession::FileNameChanged, this, &TFormMain::UpdateCaption);
    connect(&Session, &TAddressBookSession::RecordsAboutToChange, this,
            &TFormMain::OnRecordsAboutToChange);
    connect(&Session, &TAddressBookSession::RecordsChanged, this, [this] {
        model_->EndReset();
        RebuildDisplayList();
    });
    connect(&Session, &TAddressBookSession::RecordContentsChanged, this,
            &TFormMain::OnRecordContentsChanged);

    setTabOrder(TCAddressList, LVAddressList);
    setTabOrder(LVAddressList, CBDisplayCategory_1);
    setTabOrder(CBDisplayCategory_1, CBDisplayCategory_2);
    UpdateDialogButtons();
}

void TFormMain::BuildMenuBar() {
    auto action = [this](const char* name, const QString& text, const QKeySequence& key = {}) {
        auto* a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty()) a->setShortcut(key);
        return a;
    };
    ActSaveInPlace = action("ActSaveInPlace", QStringLiteral("上書き保存(&S)"), QKeySequence::Save);
    ActSaveAs = action("ActSaveAs", QStringLiteral("名前を付けて保存(&A)..."),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    ActUndo = action("ActUndo", QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    ActRedo = action("ActRedo", QStringLiteral("やり直し(&R)"),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    ActSearch = action("ActSearch", QStringLiteral("検索(&F)..."), QKeySequence::Find);
    ActQuit = action("ActQuit", QStringLiteral("終了(&X)"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    ActHelp = action("ActHelp", QStringLiteral("使い方(&H)"), QKeySequence::HelpContents);
    ActAbout = action("ActAbout", QStringLiteral("バージョン情報(&A)"));
    // Ctrl+P prints as the toolbar's button does.
    pngBtnPrint->defaultAction()->setShortcut(QKeySequence::Print);
    connect(ActSaveInPlace, &QAction::triggered, this, &TFormMain::SaveInPlaceClick);
    connect(ActSaveAs, &QAction::triggered, this, &TFormMain::pngBtnSaveClick);
    connect(ActUndo, &QAction::triggered, this, &TFormMain::Undo);
    connect(ActRedo, &QAction::triggered, this, &TFormMain::Redo);
    connect(ActSearch, &QAction::triggered, this, [this] { ClickTab(kTabSearch); });
    connect(ActQuit, &QAction::triggered, this, &QWidget::close);
    connect(ActHelp, &QAction::triggered, this, &TFormMain::ShowHelp);
    connect(ActAbout, &QAction::triggered, this, &TFormMain::ShowAbout);
    auto updateUndo = [this] {
        TUndoHistory& h = Session.History();
        ActUndo->setEnabled(h.CanUndo());
        ActRedo->setEnabled(h.CanRedo());
        ActUndo->setText(h.CanUndo() ? QStringLiteral("元に戻す(&U)：%1").arg(h.UndoText())
                                     : QStringLiteral("元に戻す(&U)"));
        ActRedo->setText(h.CanRedo() ? QStringLiteral("やり直し(&R)：%1").arg(h.RedoText())
                                     : QStringLiteral("やり直し(&R)"));
    };
    connect(&Session.History(), &TUndoHistory::Changed, this, updateUndo);
    updateUndo();

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenuBar"));
    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("MenuFile"));
    file->addAction(pngBtnNew->defaultAction());
    file->addAction(pngBtnOpen->defaultAction());
    MenuRecentFiles = file->addMenu(QStringLiteral("最近使ったファイル(&R)"));
    MenuRecentFiles->setObjectName(QStringLiteral("MenuRecentFiles"));
    connect(MenuRecentFiles, &QMenu::aboutToShow, this, &TFormMain::FillRecentFiles);
    file->addSeparator();
    file->addAction(ActSaveInPlace);
    file->addAction(ActSaveAs);
    file->addSeparator();
    file->addAction(pngBtnImport->defaultAction());
    file->addAction(pngBtnExport->defaultAction());
    file->addSeparator();
    file->addAction(pngBtnPrint->defaultAction());
    file->addSeparator();
    file->addAction(ActQuit);

    QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("MenuEdit"));
    edit->addAction(ActUndo);
    edit->addAction(ActRedo);
    edit->addSeparator();
    edit->addAction(pngBtnAddAddress->defaultAction());
    edit->addAction(PopPrintCheck);
    edit->addAction(PopPrintNotCheck);
    edit->addAction(PopDelAddress);
    edit->addSeparator();
    edit->addAction(ActSearch);
    connect(edit, &QMenu::aboutToShow, this, &TFormMain::UpdatePopupState);

    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName(QStringLiteral("MenuView"));
    view->addMenu(PopSortMenu);
    view->addSeparator();
    view->addAction(findChild<QAction*>(QStringLiteral("ActNextTab")));
    view->addAction(findChild<QAction*>(QStringLiteral("ActPreviousTab")));

    QMenu* tools = bar->addMenu(QStringLiteral("ツール(&T)"));
    tools->setObjectName(QStringLiteral("MenuTools"));
    tools->addAction(pngBtnAddSender->defaultAction());
    tools->addAction(PngBtnDirectMail->defaultAction());
    tools->addAction(PngBtnZipUpdate->defaultAction());
    tools->addSeparator();
    tools->addAction(pngBtnConfig->defaultAction());

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    help->addAction(ActHelp);
    help->addSeparator();
    help->addAction(ActAbout);
}

void TFormMain::FillRecentFiles() {
    MenuRecentFiles->clear();
    const QStringList files = ReadRecentFiles();
    if (files.isEmpty()) {
        MenuRecentFiles->addAction(QStringLiteral("（なし）"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* a = MenuRecentFiles->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        connect(a, &QAction::triggered, this, [this, path] { OpenFileFromOutside(path); });
    }
}

void TFormMain::FormCreate() {
    SortAscending = true;

    // When the data folder cannot be created the user hears it once, here, and
    // the program goes on with defaults.
    if (!EnsureDataFolder())
        GetPrompter().Inform(QStringLiteral("データフォルダ「%1」を作成できません。\n"
                                            "設定や差出人は保存されません。")
                                 .arg(QDir::toNativeSeparators(DataFolderPath())));
    else if (!DataFolderUsable())
        // Without this the program would start on defaults as if the files were missing.
        GetPrompter().Inform(QStringLiteral("データフォルダ「%1」を読み書きできません（アクセス権がありません）。\n"
                                            "設定や差出人は読み込まれず、保存もされません。")
                                 .arg(QDir::toNativeSeparators(DataFolderPath())));
    else
        CopyMissingDefaults(DefaultDataFiles());
    DataFolder = DataFolderPath();
    PersonalFolder = WithSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));

    Session.Book.Clear();
    DisplayList.clear();

    Session.LoadSenders();
    Session.LoadMailConfig();

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
    Session.SetSaved(true);
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
    if (Session.MailConfig.UseSoftPassword) {
        const TPasswordResult r =
            passwordAuth_ ? CheckStartupPassword(*passwordAuth_, Session.MailConfig.SoftPassword)
                          : TPasswordResult::Cancelled;
        if (r != TPasswordResult::Passed) {
            EndProgram();
            return;
        }
    }
    if (Session.Book.Count() == 0 && GetUseAutoLoadFile()) AutoLoadFile();
}

bool TFormMain::FormCloseQuery() {
    return Session.MaySetAside(kCloseQuestion, [this] { return AskSavePath(); });
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (programEnded_ || FormCloseQuery()) {
        SaveWindowPlace();
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
    // A device or a folder is told as what it is by the open itself.
    if (CheckUserFile(path) != FileProblem::Missing) {
        OpenAddressFile(path);
        if (!programEnded_) AfterOpen();
    } else {
        GetPrompter().Inform(QStringLiteral("「") + path + QStringLiteral("」は存在しません"));
    }
}

void TFormMain::AutoLoadFile() {
    const QString name = GetAutoLoadFileName();
    if (!name.isEmpty() && QFileInfo(name).isFile()) {
        OpenAddressFile(name);
        if (!programEnded_) AfterOpen();
    } else if (!name.isEmpty()) {
        GetPrompter().Inform(
            QStringLiteral("自動読み込みに設定されている「") + FileNameOnly(name) +
            QStringLiteral("」は、削除又は移動されたため開く事ができませんでした"));
    }
}

bool TFormMain::OpenAddressFile(const QString& path) {
    if (programEnded_) return false;
    if (Session.Open(path) != TAddressBookSession::TOpenResult::Opened) return false;
    AddRecentFile(path);
    return true;
}

void TFormMain::UpdateCaption() {
    // The document first and the program last, the mark of unsaved changes
    // in front, as the desktop's other windows show theirs.
    const QString name = Session.FileName();
    const QString document = Trim(name).isEmpty() ? QStringLiteral("無題") : FileNameOnly(name);
    setWindowTitle((Session.Saved() ? QString() : QStringLiteral("*")) + document +
                   QStringLiteral(" — ") + kTitle);
}

void TFormMain::OnRecordsAboutToChange() {
    model_->BeginReset();
    DisplayList.clear();
    CurrentRecord = nullptr;
}

void TFormMain::OnRecordContentsChanged(TUserInfo* record) {
    model_->Redraw();
    // The record being edited is shown again before another keystroke can
    // reach it, also when a filter has taken it out of the list; a change of
    // several records (nullptr) may include it.
    if (CurrentRecord && (!record || record == CurrentRecord)) {
        RecordEditor->ShowRecord();
        return;
    }
    if (!record) return;
    const auto it = std::find(DisplayList.begin(), DisplayList.end(), record);
    if (it != DisplayList.end()) SelectRows({int(it - DisplayList.begin())});
}

void TFormMain::OfferToMarkSent(const QList<const TUserInfo*>& printed) {
    StoreInputArea();
    // The print list holds records of the open book.
    std::vector<TUserInfo*> records;
    records.reserve(printed.size());
    for (const TUserInfo* r : printed) records.push_back(const_cast<TUserInfo*>(r));
    Session.SeasonMarksRecorded(AskAndMarkSent(records, SeasonChooser->Season(), Today()));
}

void TFormMain::Undo() {
    Session.History().Undo();
}

void TFormMain::Redo() {
    Session.History().Redo();
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
    DisplayList.reserve(Session.Book.Count());
    for (int i = 0; i < Session.Book.Count(); ++i) {
        TUserInfo* r = Session.Book.Item(i);
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
    // Rows in book order: the header claims no order until the next sort.
    LVAddressList->horizontalHeader()->setSortIndicatorShown(false);
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
        QStringLiteral("%1/%2件該当").arg(DisplayList.size()).arg(Session.Book.Count()));
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
    // Every editor control writes its own field as it changes: nothing waits
    // to be stored, and nothing is copied from the controls wholesale.
}

void TFormMain::RecordChangedElsewhere(TUserInfo& record, const TUserInfo& before) {
    Session.RecordEdited(&record, before, nullptr);
    if (&record == CurrentRecord) RecordEditor->ShowRecord();
    model_->Redraw();
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
    TUserInfo* added = Session.AddRecord(std::move(record));
    // With a filter on, the new record waits for the next refresh.
    if (CBDisplayCategory_1->currentIndex() <= 0 && CBDisplayCategory_2->currentIndex() <= 0)
        SelectNewRecord(added);
    if (RecordEditor->EditPersonalZip_1->isEnabled()) {
        RecordEditor->PGPrintType->setCurrentWidget(RecordEditor->TabSheetPersonal);
        RecordEditor->EditPersonalZip_1->setFocus();
    }
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
    if (FormSender->Execute(Session.Senders)) {
        SaveProblem problem = SaveProblem::None;
        if (!SaveSenderFile(GetSenderPath(), Session.Senders, &problem))
            GetPrompter().Inform(SaveFailureMessage(problem, GetSenderPath(),
                                                    QStringLiteral("差出人ファイルを保存できませんでした")));
        Session.SetSaved(false);
    } else {
        Session.LoadSenders();
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
    std::vector<TUserInfo*> records;
    for (int row : rows) records.push_back(DisplayList[row]);
    Session.SetPrintChecks(records, on);
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
    // Kept in the undo history, to be put back at their places.
    Session.DeleteRecords(doomed);
    ClearCurrentRecord();
}

void TFormMain::ResetTabAndFilters() {
    quietControls_ = true;
    TCAddressList->setCurrentIndex(kTabAll);
    CBDisplayCategory_1->setCurrentIndex(0);
    CBDisplayCategory_2->setCurrentIndex(0);
    quietControls_ = false;
}

void TFormMain::pngBtnNewClick() {
    if (Session.Saved()) {
        if (!GetPrompter().Ask(QStringLiteral("住所録を新規作成しますか？"))) return;
    } else if (!Session.MaySetAside(kNewQuestion, [this] { return AskSavePath(); })) {
        return;
    }
    Session.New();  // the password stays for the next save
    ClearCurrentRecord();
    ResetTabAndFilters();
    RebuildDisplayList();
    UpdateCaption();
}

void TFormMain::pngBtnOpenClick() {
    if (!Session.MaySetAside(kOpenQuestion, [this] { return AskSavePath(); })) return;
    const QString path = GetDialogRunner().OpenFileName(
        this, {QStringLiteral("住所録を開く"), LastFolder(TFileKind::Book, PersonalFolder),
               QString(), kBookFilter, QString()});
    if (path.isEmpty()) return;
    SetLastFolder(TFileKind::Book, path);
    // A file cancelled at its password or refused as damaged leaves the book,
    // the list and the modified state as they were.
    if (OpenAddressFile(path)) AfterOpen();
}

void TFormMain::AfterOpen() {
    ResetTabAndFilters();
    RebuildDisplayList();
    ClearCurrentRecord();
    SortAscending = true;
    SortDisplayListBy(1);
}

void TFormMain::OpenFileFromOutside(const QString& path) {
    if (programEnded_) return;
    if (!Session.MaySetAside(kOpenQuestion, [this] { return AskSavePath(); })) return;
    if (!QFileInfo(path).isFile()) {
        GetPrompter().Inform(QStringLiteral("「") + path + QStringLiteral("」は存在しません"));
        RemoveRecentFile(path);
        return;
    }
    if (OpenAddressFile(path)) AfterOpen();
}

void TFormMain::TakeHandOver(const QString& path) {
    if (programEnded_) return;
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(300, this, [this, path] { TakeHandOver(path); });
        return;
    }
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    if (!path.isEmpty()) OpenFileFromOutside(path);
}

QString TFormMain::AskSavePath() {
    const QString current = Session.FileName();
    const QString folder =
        current.isEmpty() ? LastFolder(TFileKind::Book, PersonalFolder) : QFileInfo(current).absolutePath();
    const QString path =
        GetDialogRunner().SaveFileName(this, {QStringLiteral("住所録の保存"), folder, current,
                                              kBookFilter, QStringLiteral("QT2")});
    if (!path.isEmpty()) SetLastFolder(TFileKind::Book, path);
    return path;
}

void TFormMain::pngBtnSaveClick() {
    const QString path = AskSavePath();
    if (path.isEmpty()) return;
    SaveAddressFile(path);
}

bool TFormMain::SaveInPlace() {
    const QString name = Session.FileName();
    const QString path = Trim(name).isEmpty() ? AskSavePath() : name;
    if (path.isEmpty() || !SaveAddressFile(path)) return false;
    statusBar()->showMessage(QStringLiteral("保存しました"), 5000);
    return true;
}

void TFormMain::SaveInPlaceClick() {
    SaveInPlace();
}

bool TFormMain::SaveAddressFile(const QString& path) {
    if (!Session.SaveAs(path)) return false;
    // The user may have chosen another name when the file had changed.
    AddRecentFile(Session.FileName());
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
    if (printDialog_) printDialog_(DisplayList, Session.Senders);
}

void TFormMain::SetListPrintDialog(std::function<TPrintKind()> choose,
                                   std::function<void(TDisplayList&)> printList) {
    choosePrintKind_ = std::move(choose);
    listPrintDialog_ = std::move(printList);
    UpdateDialogButtons();
}

void TFormMain::pngBtnExportClick() {
    if (Session.Book.Count() == 0) {
        GetPrompter().Inform(QStringLiteral("エクスポート対象がありません"));
        return;
    }
    const QString path = GetDialogRunner().SaveFileName(
        this, {QStringLiteral("エクスポート"), LastFolder(TFileKind::Csv, PersonalFolder), QString(),
               kCsvFilter, QStringLiteral("csv")});
    if (path.isEmpty()) return;
    // The file dialog asked before replacing a file; the open book is never one to replace.
    if (IsSameFile(path, Session.FileName())) {
        GetPrompter().Inform(
            QStringLiteral("開いている住所録 %1 にはエクスポートできません。別のファイル名を指定してください")
                .arg(path));
        return;
    }
    SetLastFolder(TFileKind::Csv, path);
    if (exportDialog_) exportDialog_(path, Session.Book);
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
    if (!configDialog_ || !configDialog_(Session.Book, Session.MailConfig)) return;
    NameTitleItems = LoadListFile(GetNameTitlePath());
    Category1Items = LoadListFile(GetCategory1Path());
    Category2Items = LoadListFile(GetCategory2Path());
    RecordEditor->SetListItems(NameTitleItems, Category1Items, Category2Items);
    // The filters start over; the table follows at the next refresh.
    quietControls_ = true;
    FillDisplayCategory(CBDisplayCategory_1, Category1Items);
    FillDisplayCategory(CBDisplayCategory_2, Category2Items);
    quietControls_ = false;
    Session.SetSaved(false);
}

void TFormMain::pngBtnImportClick() {
    if (!importDialog_) return;
    const QString path = GetDialogRunner().OpenFileName(
        this, {QStringLiteral("インポート"), LastFolder(TFileKind::Csv, PersonalFolder), QString(),
               kImportFilter, QString()});
    if (path.isEmpty()) return;
    SetLastFolder(TFileKind::Csv, path);
    ImportFile(path);
}

void TFormMain::ImportFile(const QString& csvPath) {
    if (!importDialog_) return;
    // The import appends: the records from here on are one undo step.
    const int before = Session.Book.Count();
    const TImportResult result = importDialog_(csvPath, Session.Book);
    if (result == TImportResult::Imported) {
        Session.RecordsAppended(before, QStringLiteral("インポート"));
        RefreshAddressList();
    }
    // The dialog marks the book modified even when cancelled.
    if (result != TImportResult::NotRun) Session.SetSaved(false);
}

void TFormMain::PngBtnDirectMailClick() {
    if (!Session.MailConfig.IsComplete()) {
        GetPrompter().Inform(QStringLiteral(
            "メール送信設定が完了していないため使用できません\n設定ボタンから設定を行ってください"));
        return;
    }
    if (DisplayList.empty()) {
        GetPrompter().Inform(QStringLiteral(
            "メール送信の対象がいないため使用できません\n送信対象者を抽出してください"));
        return;
    }
    if (directMailDialog_) directMailDialog_(DisplayList, Session.MailConfig);
}

void TFormMain::PngBtnZipUpdateClick() {
    if (zipUpdateDialog_) zipUpdateDialog_();
}

QString TFormMain::AboutText() const {
    const TZipVersion zip = ReadZipVersion(GetZipVersionPath());
    // version.txt keeps "2025/09/30日本郵便公開データ" as the update server
    // writes it; the box puts a space after the date.
    QString data = zip.Read ? zip.DisplayText : QStringLiteral("（なし）");
    static const QRegularExpression date(QStringLiteral(R"(^(\d{4}/\d{2}/\d{2})(?=\S))"));
    data.replace(date, QStringLiteral("\\1 "));
    return QStringLiteral("Quintaro2 %1\nライセンス未定\n\n郵便番号データ：%2\nデータフォルダ：%3")
        .arg(QCoreApplication::applicationVersion(), data, QDir::toNativeSeparators(DataFolder));
}

void TFormMain::ShowAbout() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("バージョン情報"), AboutText(),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("AboutBox"));
    // The program's window icon; before start-up has set one (tests), the
    // picture it falls back to.
    QIcon icon = windowIcon();
    if (icon.isNull()) icon = QIcon(QStringLiteral(":/icons/address-add.svg"));
    box.setIconPixmap(icon.pixmap(64, 64));
    GetDialogRunner().Exec(box);
}

void TFormMain::ShowHelp() {
    FormHelp->show();
    FormHelp->raise();
    FormHelp->activateWindow();
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (!DroppedFile(data, "qt2").isEmpty() ||
        (importDialog_ && (!DroppedFile(data, "csv").isEmpty() || !DroppedFile(data, "vcf").isEmpty())))
        event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event) {
    const QString book = DroppedFile(event->mimeData(), "qt2");
    QString csv = DroppedFile(event->mimeData(), "csv");
    if (csv.isEmpty()) csv = DroppedFile(event->mimeData(), "vcf");
    if (book.isEmpty() && (csv.isEmpty() || !importDialog_)) return;
    event->acceptProposedAction();
    // The questions come after the drop has ended, so that the program the
    // file came from is not held up by them.
    QTimer::singleShot(0, this, [this, book, csv] {
        if (!book.isEmpty())
            OpenFileFromOutside(book);
        else
            ImportFile(csv);
    });
}

void TFormMain::FitToScreen(const QRect& available) {
    if (!available.isValid()) return;
    // Room for the frame the window manager adds; before the window is first
    // shown nobody knows it, so a usual title bar and border are assumed.
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isEmpty()) frame = QSize(8, 36);
    const QSize room = available.size() - frame;
    setMinimumSize(minimumSize().boundedTo(room));
    // A new window, or one last seen on a screen no longer there, is centred.
    QRect place = ReadWindowPlace();
    const bool remembered = place.isValid() && available.intersects(place);
    if (!place.isValid()) place = QRect(QPoint(), size());
    place.setSize(place.size().boundedTo(room).expandedTo(minimumSize()));
    if (!remembered) place.moveCenter(available.center() - QPoint(frame.width(), frame.height()) / 2);
    place.moveLeft(std::clamp(place.left(), available.left(),
                              available.right() + 1 - place.width() - frame.width()));
    place.moveTop(std::clamp(place.top(), available.top(),
                             available.bottom() + 1 - place.height() - frame.height()));
    resize(place.size());
    move(place.topLeft());
}

void TFormMain::SaveWindowPlace() const {
    WriteWindowPlace(QRect(pos(), size()));
}

}  // namespace q2
