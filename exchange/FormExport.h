// The export dialog: which columns to write, the header line and the export run.
#pragma once

#include <QDialog>
#include <vector>

#include "model/UserInfoList.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace q2 {

class TFormExport : public QDialog {
    Q_OBJECT
public:
    explicit TFormExport(QWidget* parent = nullptr);

    // Ticks every field box, unticks the header and UTF-8 boxes and runs the
    // dialog modally; the file is written from within it. A path ending in
    // ".vcf" writes every record whole as vCards: the field boxes give way
    // to the choice of the vCard version.
    void Execute(const QString& path, const TUserInfoList& book);

    // What Execute does around exec(), for tests that drive a shown dialog.
    void Open(const QString& path, const TUserInfoList& book);
    void Release();

    void BtnExportClick();

    QLabel* Label1;
    QGroupBox* GBPersonal;
    QGroupBox* GBOffice;
    QGroupBox* GBCommon;
    std::vector<QCheckBox*> FieldBoxes;  // the 43 boxes in column order
    QCheckBox* CBMidashi;
    QCheckBox* CBUtf8;
    QLabel* LblVcardVersion;
    QComboBox* CBVcardVersion;  // "3.0" or "4.0"
    QProgressBar* ProgressBarStatus;
    QPushButton* BtnExport;
    QPushButton* BtnCancel;

private:
    void FormCreate();
    void ExportVcard();

    bool vcard_ = false;

    QString path_;
    const TUserInfoList* book_ = nullptr;
};

}  // namespace q2
