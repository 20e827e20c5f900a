// "確認": the findings before a print run or a bulk mail, one line each, with
// the fix of a line applied on request; "このまま続ける" or "中止".
#pragma once

#include <QDialog>
#include <QList>
#include <functional>
#include <vector>

#include "preflight/Preflight.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace q2 {

class TFormPreflight : public QDialog {
    Q_OBJECT
public:
    // The records are the checked list, lent for the dialog's lifetime; the
    // template texts are given for a mail check, else null.
    TFormPreflight(QList<TPreflightFinding> findings, QList<TUserInfo*> records, QString* subject,
                   QString* body, QWidget* parent = nullptr);

    const QList<TPreflightFinding>& Findings() const { return findings_; }
    // Applies the fix of a row; false when it has none or its field changed.
    bool FixRow(int row);
    bool Fixed(int row) const { return fixed_.value(row); }
    // Called after each fix of a record field, with the record changed.
    std::function<void(TUserInfo& record, const TUserInfo& before)> OnApplied;

    QLabel* LblSummary;
    QTableWidget* LVFindings;  // 番号, 名前, 項目, 区分, 内容, 提案
    QPushButton* BtnFix;       // 修正する
    QPushButton* BtnContinue;  // このまま続ける
    QPushButton* BtnAbort;     // 中止

private:
    void Fill();
    void UpdateButtons();

    QList<TPreflightFinding> findings_;
    QList<TUserInfo*> records_;
    QString* subject_;
    QString* body_;
    QList<bool> fixed_;
};

// How the list is put in front of the user: true to go on with the job. With
// none installed, nothing is shown and the job goes on, as questions are
// answered without a window when no prompter is installed; the program
// installs the modal dialog at start-up (InstallPreflightDialog).
using TPreflightPresenter = std::function<bool(TFormPreflight&)>;
void SetPreflightPresenter(TPreflightPresenter presenter);
// The modal "確認" dialog as the presenter, and the check before the print
// dialog's jobs and the bulk mail dialog's runs; `onApplied` learns of each
// record a fix changed (the main window marks the book modified).
void InstallPreflightDialog(std::function<void(TUserInfo&, const TUserInfo&)> onApplied);

// The hooks of the print dialog and the bulk mail dialog: runs the check and
// shows the list when it holds an error or a warning. False: "中止".
bool PreflightBeforePrint(QWidget* parent, const QList<const TUserInfo*>& records, const TPieceSetup& setup);
bool PreflightBeforeMail(QWidget* parent, const std::vector<TUserInfo*>& records, QString& subject,
                         QString& body);

}  // namespace q2
