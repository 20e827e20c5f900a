// The main window: the open address book, the address list on the left, the
// record editor's place on the right, the toolbar, and the book's life cycle
// from start-up to close.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>

#include "app/AddressBookSession.h"
#include "app/DisplayList.h"

class QAction;
class QComboBox;
class QDragEnterEvent;
class QDropEvent;
class QGroupBox;
class QLabel;
class QMenu;
class QTabBar;
class QTableView;
class QToolButton;

namespace q2 {

class TAddressListModel;
class TFormAddData;
class TFormEditHistory;
class TFormHelp;
class TFormPasswordAuth;
class TFormSearchZip;
class TFormSender;
class TRecordEditor;
class TSeasonChooser;

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kTabAll = 0;
    static constexpr int kTabSearch = 13;

    // Runs FormCreate.
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The password prompt, created after this window; file and start-up
    // passwords cannot be asked before it is set.
    void SetPasswordAuth(TFormPasswordAuth* form) { passwordAuth_ = form; }

    // Dialogs of later parts of the program plug in here; until one does,
    // its toolbar button or tab stays disabled.
    void SetSearchDialog(std::function<bool()> execute,
                         std::function<bool(const TUserInfo&, int readingRow)> matches);
    void SetPrintDialog(std::function<void(TDisplayList&, TSenderInfoList&)> show);
    void SetExportDialog(std::function<void(const QString& path, TUserInfoList&)> execute);
    // True when the settings dialog closed with OK.
    void SetConfigDialog(std::function<bool(TUserInfoList&, TthMailConfig&)> execute);
    // NotRun: the file could not be used and the dialog never opened.
    enum class TImportResult { NotRun, Cancelled, Imported };
    void SetImportDialog(std::function<TImportResult(const QString& csvPath, TUserInfoList&)> execute);
    void SetDirectMailDialog(std::function<void(TDisplayList&, TthMailConfig&)> execute);
    void SetZipUpdateDialog(std::function<void()> show);
    // The print button first asks what to print when a list print is plugged in.
    enum class TPrintKind { Address, List, Cancel };
    void SetListPrintDialog(std::function<TPrintKind()> choose,
                            std::function<void(TDisplayList&)> printList);

    // Life cycle.
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void OpenCommandLineFile(const QString& path);
    void AutoLoadFile();
    // True when the file was loaded into the book.
    bool OpenAddressFile(const QString& path);
    // The caption: the file's name and, while there are unsaved changes, "*".
    void UpdateCaption();
    // A file handed over by a second start, dropped on the window or chosen
    // among the recent files: opened as the open button does after its file
    // dialog, once unsaved changes have been dealt with.
    void OpenFileFromOutside(const QString& path);
    // The import as the import button runs it after its file dialog.
    void ImportFile(const QString& csvPath);
    // A request of a second start: the window comes to the front and opens
    // `path` unless it is empty. Waits while a dialog or question is open.
    void TakeHandOver(const QString& path);
    // Keeps the window within `available` (a screen's free area), at the size
    // and place last used where that fits.
    void FitToScreen(const QRect& available);
    void SaveWindowPlace() const;

    // A password check asked to end the program: nothing more is asked,
    // loaded or written, and closing asks no question.
    bool ProgramEnded() const { return programEnded_; }

    // The address list.
    void RebuildDisplayList();
    void RefreshAddressList();
    bool MatchesDisplayCategory(const TUserInfo& record) const;
    void UpdateCountLabel();
    // A click on a column header.
    void SortByColumn(int column);
    QList<int> SelectedRows() const;
    void SelectRows(const QList<int>& rows);
    // Selects a tab as a mouse press does, refreshing the list.
    void ClickTab(int index);

    // The book's files.
    bool SaveAddressFile(const QString& path);
    // 上書き保存: the book's own file without a dialog; a book without one
    // goes through 名前を付けて保存.
    bool SaveInPlace();

    // The record editor on the right half.
    void ClearInputArea();
    void SetInputArea(bool enabled);
    void ShowRecord(int row);
    void StoreInputArea();
    // A record changed by a dialog (a fix from the check list, a postal
    // review suggestion): one undo step, and the editor shows it at once.
    void RecordChangedElsewhere(TUserInfo& record, const TUserInfo& before);
    // Shows a record just added: its reading row's tab, the list refreshed,
    // its row selected.
    void SelectNewRecord(TUserInfo* record);

    // The open book, its senders, mail settings, file name, modified state
    // and undo history.
    TAddressBookSession Session;
    TDisplayList DisplayList;
    TUserInfo* CurrentRecord = nullptr;
    QString DataFolder;
    QString PersonalFolder;
    bool SortAscending = true;
    // The list files' items, for the record editor's combo boxes.
    QStringList NameTitleItems;
    QStringList Category1Items;
    QStringList Category2Items;

    QToolButton* pngBtnAddAddress;
    QToolButton* pngBtnOpen;
    QToolButton* pngBtnSave;
    QToolButton* pngBtnAddSender;
    QToolButton* pngBtnPrint;
    QToolButton* pngBtnConfig;
    QToolButton* PngBtnDirectMail;
    QToolButton* pngBtnImport;
    QToolButton* pngBtnExport;
    QToolButton* pngBtnNew;
    QToolButton* PngBtnZipUpdate;
    QTabBar* TCAddressList;
    QTableView* LVAddressList;
    QGroupBox* GBDisplayCategory;
    QComboBox* CBDisplayCategory_1;
    QComboBox* CBDisplayCategory_2;
    QLabel* LblPrintCount;
    // The New Year's card season the list columns, the editor and the search show.
    TSeasonChooser* SeasonChooser;
    QMenu* PopupMenuMain;
    QAction* PopPrintCheck;
    QAction* PopPrintNotCheck;
    QAction* PopDelAddress;
    // Sorting from the keyboard: one command per column, as a header click.
    QMenu* PopSortMenu;
    // The menu bar's own commands; the rest are the toolbar's and the popup's.
    QAction* ActSaveInPlace;
    QAction* ActSaveAs;
    QAction* ActUndo;
    QAction* ActRedo;
    QAction* ActSearch;
    QAction* ActQuit;
    QAction* ActHelp;
    QAction* ActAbout;
    QMenu* MenuRecentFiles;
    QWidget* PanelRecordEditor;  // holds the record editor
    TRecordEditor* RecordEditor;
    // The dialogs the toolbar and the editor open, created once.
    TFormAddData* FormAddData;
    TFormSender* FormSender;
    TFormSearchZip* FormSearchZip;
    TFormEditHistory* FormEditHistory;
    TFormHelp* FormHelp;

signals:
    void ProgramEndRequested();
    // The window has closed for good: the program ends.
    void Closed();

public slots:
    void pngBtnAddAddressClick();
    void pngBtnAddSenderClick();
    void pngBtnNewClick();
    void pngBtnOpenClick();
    void pngBtnSaveClick();
    void pngBtnPrintClick();
    void pngBtnExportClick();
    void pngBtnConfigClick();
    void pngBtnImportClick();
    void PngBtnDirectMailClick();
    void PngBtnZipUpdateClick();
    void SaveInPlaceClick();
    // After a print run: asks whether to record "年賀状送付" for the chosen
    // season on the printed records; on Yes one undoable step.
    void OfferToMarkSent(const QList<const TUserInfo*>& printed);
    void Undo();
    void Redo();
    void ShowHelp();
    // Version, postal data in use and the data folder.
    void ShowAbout();
    QString AboutText() const;
    void PopPrintCheckClick();
    void PopPrintNotCheckClick();
    void PopDelAddressClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildWindow();
    void BuildMenuBar();
    void FillRecentFiles();
    void AfterOpen();
    QString AskSavePath();
    void OnRecordsAboutToChange();
    void OnRecordContentsChanged(TUserInfo* record);
    QToolButton* AddToolButton(const char* name, const QString& caption, const QString& iconName,
                               const QString& fallback, const QKeySequence& shortcut = {});
    void EndProgram();
    void SetPrintChecks(bool on);
    void ClearCurrentRecord();
    void ResetTabAndFilters();
    void SortDisplayListBy(int column);
    void OnSelectionChanged();
    void UpdatePopupState();
    void UpdateDialogButtons();
    void FillDisplayCategory(QComboBox* box, const QStringList& items);

    TAddressListModel* model_ = nullptr;
    TFormPasswordAuth* passwordAuth_ = nullptr;
    std::function<bool()> searchDialog_;
    std::function<bool(const TUserInfo&, int)> searchMatches_;
    std::function<void(TDisplayList&, TSenderInfoList&)> printDialog_;
    std::function<void(const QString&, TUserInfoList&)> exportDialog_;
    std::function<bool(TUserInfoList&, TthMailConfig&)> configDialog_;
    std::function<TImportResult(const QString&, TUserInfoList&)> importDialog_;
    std::function<void(TDisplayList&, TthMailConfig&)> directMailDialog_;
    std::function<void()> zipUpdateDialog_;
    std::function<TPrintKind()> choosePrintKind_;
    std::function<void(TDisplayList&)> listPrintDialog_;
    bool programEnded_ = false;
    bool formShown_ = false;
    bool quietControls_ = false;  // set while the program itself moves tabs and filters
};

}  // namespace q2
