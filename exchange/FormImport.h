// The import dialog: the column-to-field mapping grid, the preview and the import run.
#pragma once

#include <QDialog>
#include <QStringList>

#include "exchange/CsvImport.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace q2 {

class TFormImport : public QDialog {
    Q_OBJECT
public:
    explicit TFormImport(QWidget* parent = nullptr);

    // Runs the dialog modally; true when it closed through BtnImport. The
    // records are rewritten by the line-break marking.
    bool Execute(QStringList& records, TUserInfoList& book);

    // What Execute does before and after exec(), for tests that drive a
    // shown dialog through its handlers.
    void Open(QStringList& records, TUserInfoList& book);
    void Release();

    void SBAddContentClick();
    void SBDelContentClick();
    void SBNextClick();
    void SBPrevClick();
    void BtnImportClick();

    int PreviewIndex() const { return previewIndex_; }
    // The grid's destinations as a mapping from field index to destination.
    TImportMapping Mapping() const;

    QLabel* Label1;
    QLabel* Label2;
    QTableWidget* SGMain;
    QListWidget* ListBoxContents;
    QToolButton* SBAddContent;
    QToolButton* SBDelContent;
    QToolButton* SBPrev;
    QToolButton* SBNext;
    QLabel* LblPageCount;
    QCheckBox* CBFirstLineDisregarded;
    QProgressBar* ProgressBarStatus;
    QPushButton* BtnImport;
    QPushButton* BtnCancel;

private:
    void ShowPreview();

    QStringList* records_ = nullptr;
    TUserInfoList* book_ = nullptr;
    int previewIndex_ = 0;
};

enum class TImportRun {
    NotRun,     // the file could not be read or holds no record; a message was shown
    Cancelled,  // the dialog was cancelled; nothing was appended
    Imported,   // records were appended to the book
};

// The import button's work after the file dialog: reads the file (UTF-8 or
// CP932), splits it into records and runs the dialog over them.
TImportRun RunImport(TFormImport& form, const QString& csvPath, TUserInfoList& book);

}  // namespace q2
