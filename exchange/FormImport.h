// The import dialog: the column-to-field mapping grid, the preview and the import run.
#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

#include "exchange/CsvHeaderMapping.h"
#include "exchange/CsvImport.h"
#include "exchange/ImportDuplicates.h"
#include "exchange/VcardImport.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace q2 {

// A file read for the import: its CSV records, with the mapping its header
// line suggests, or its cards.
struct TImportFile {
    bool Vcard = false;
    QStringList Records;
    std::optional<THeaderProposal> Proposal;
    TVcardImport Cards;
};

// Reads the file the user chose; nothing, after the message, when it cannot
// be read or holds nothing to import.
std::optional<TImportFile> ReadImportFile(const QString& path);

class TFormImport : public QDialog {
    Q_OBJECT
public:
    explicit TFormImport(QWidget* parent = nullptr);

    // Runs the dialog modally; true when it closed through BtnImport. The
    // records are rewritten by the line-break marking.
    bool Execute(QStringList& records, TUserInfoList& book);

    // The cards of a vCard file: the grid previews each converted card (what
    // goes where) and the label names what had no place; the import appends
    // every card.
    bool ExecuteVcard(TVcardImport& cards, TUserInfoList& book);

    // A mapping proposed from the file's header line, applied by the next
    // opening: the grid gets its destinations and "1行目を無視する" is ticked.
    void SetProposal(const THeaderProposal& proposal) { proposal_ = proposal; }

    // What Execute does before and after exec(), for tests that drive a
    // shown dialog through its handlers.
    void Open(QStringList& records, TUserInfoList& book);
    void OpenVcard(TVcardImport& cards, TUserInfoList& book);
    // Open or OpenVcard, whichever the file needs.
    void OpenFile(TImportFile& file, TUserInfoList& book);
    void Release();

    void SBAddContentClick();
    void SBDelContentClick();
    void SBNextClick();
    void SBPrevClick();
    void BtnImportClick();

    // The grid's destinations as a mapping from field index to destination.
    TImportMapping Mapping() const;

    // The record under preview: whether it looks like one in the book or
    // earlier in the file, and what the import does with it.
    void CBDuplicateActionChanged(int action);
    // The action chosen for the record under preview, for every duplicate.
    void BtnApplyToAllClick();
    // What the import will do with each record of the file (Add for records
    // that duplicate nothing), in file order.
    std::vector<TDuplicateAction> Actions() const { return actions_; }
    // Each record's duplicate, as the preview shows it.
    const std::vector<TDuplicate>& Duplicates();

    QLabel* Label1;
    QLabel* Label2;
    QTableWidget* SGMain;
    QListWidget* ListBoxContents;
    QToolButton* SBAddContent;
    QToolButton* SBDelContent;
    QToolButton* SBPrev;
    QToolButton* SBNext;
    QLabel* LblPageCount;
    QLabel* LblInfo;  // the recognised header, or what the cards hold that is skipped
    QCheckBox* CBFirstLineDisregarded;
    QCheckBox* CBMarkForPrint;  // "取り込んだ記録を印刷対象にする", ticked at every opening
    QLabel* LblDuplicate;  // e.g. "既存の記録「山田 太郎」と重複しています"
    QComboBox* CBDuplicateAction;  // 追加する / スキップ / 既存の記録を更新
    QPushButton* BtnApplyToAll;    // "すべての重複に適用"
    QProgressBar* ProgressBarStatus;
    QPushButton* BtnImport;
    QPushButton* BtnCancel;

private:
    void ShowPreview();
    void ApplyProposal(const THeaderProposal& proposal);
    void SetMappingEnabled(bool enabled);
    int Count() const;
    // The first record that is imported (1 with "1行目を無視する" on a CSV file).
    int FirstImported() const;
    void ShowDuplicate();

    std::optional<THeaderProposal> proposal_;
    TVcardImport* cards_ = nullptr;
    QDateTime cardsNow_;
    QStringList* records_ = nullptr;
    TUserInfoList* book_ = nullptr;
    int previewIndex_ = 0;
    // Per record of the file; the duplicates are found again when the
    // mapping or the first-line box changes.
    std::vector<TDuplicate> duplicates_;
    std::vector<TDuplicateAction> actions_;
    bool duplicatesStale_ = true;
};

enum class TImportRun {
    NotRun,     // the file could not be read or holds no record; a message was shown
    Cancelled,  // the dialog was cancelled; nothing was appended
    Imported,   // records were appended to the book
};

// The import button's work after the file dialog: reads the file, and runs
// the dialog over its vCards, or over its CSV records (UTF-8 or CP932) with
// the mapping its header line suggests.
TImportRun RunImport(TFormImport& form, const QString& path, TUserInfoList& book);

}  // namespace q2
