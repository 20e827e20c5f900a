// The bulk mail dialog: recipients, subject and body templates with their
// placeholders, a personalised preview, template files and the send run.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "MailTransport.h"
#include "model/MailConfig.h"
#include "model/UserInfo.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace q2 {

class TFormSendStatus;
class TRecipientListModel;
class TSendMailThread;

class TFormDirectMail : public QDialog {
    Q_OBJECT
public:
    explicit TFormDirectMail(QWidget* parent = nullptr);
    ~TFormDirectMail() override;

    // Shows the dialog modally for the records and settings, which it keeps
    // only while it is open.
    int Execute(const std::vector<TUserInfo*>& records, const TthMailConfig& config);
    // What Execute does before it shows the dialog; tests show it themselves.
    void SetUp(const std::vector<TUserInfo*>& records, const TthMailConfig& config);

    void FormShow();
    // Replaces the selection of the insert target, or inserts at its caret.
    void InsertPlaceholder(const QString& placeholder);
    void UpdatePreview();
    // The row selected in the list, or -1.
    int SelectedRow() const;
    // The texts as the worker gets them; body lines end in CR LF.
    QString SubjectText() const;
    QString BodyText() const;

    bool OpenTemplate(const QString& path);
    bool SaveTemplate(const QString& path);
    void BtnOpenClick();
    void BtnSaveClick();
    void BtnSendClick();
    bool Sending() const { return thread_ != nullptr; }
    // True when the subject or body holds text that no template file holds,
    // so that closing would lose it.
    bool HasUnkeptText() const;
    // Messages handed over in all runs since the dialog was set up.
    int HandedOverTotal() const { return handedOverTotal_; }

    QLabel* LblSenderList;
    QTableView* LVAddress;
    QGroupBox* GBMakeMail;
    QLabel* LblMailSubject;
    QLineEdit* EditSubject;
    QLabel* LblMailBody;
    QPlainTextEdit* MemoBody;
    QPushButton* BtnInsertName;
    QPushButton* BtnInsertNameTitle;
    QPushButton* BtnInsertStr_1;
    QPushButton* BtnInsertStr_2;
    QPushButton* BtnInsertStr_3;
    QPushButton* BtnInsertStr_4;
    QGroupBox* GBMailPreview;
    QLabel* LblPreviewMailSubject;
    QLineEdit* EditPrevSubject;
    QLabel* LblPreviewMailBody;
    QPlainTextEdit* MemoPrevBody;
    QPushButton* BtnOpen;
    QPushButton* BtnSave;
    QPushButton* BtnSend;
    QPushButton* BtnCancel;
    TFormSendStatus* FormSendStatus;
    // Everything of the dialog but the status window, disabled during a run.
    QWidget* Contents;

signals:
    void SendFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void OnThreadFinished();

    const std::vector<TUserInfo*>* records_ = nullptr;
    const TthMailConfig* config_ = nullptr;
    TRecipientListModel* model_;
    QWidget* insertTarget_ = nullptr;
    std::unique_ptr<TSendMailThread> thread_;
    int handedOverTotal_ = 0;
    // The texts as last opened from or saved to a template file.
    QString keptSubject_, keptBody_;
};

// Asked when the dialog is closed with texts that would be lost.
inline const QString kCloseUnkeptQuestion =
    QStringLiteral("入力した件名と本文は保存されていません。閉じてもよろしいですか？");

// Opens the bulk mail dialog for the main window's current list; true when
// at least one message was handed over.
bool ShowDirectMailDialog(QWidget* parent, const std::vector<TUserInfo*>& records,
                          const TthMailConfig& config);

// The check before sending: false stops the run, and a substitute taken there
// changes the subject or body. The program installs the preflight's findings
// list at start-up; without a check the run goes on.
using TBeforeMailCheck = std::function<bool(QWidget* parent, const std::vector<TUserInfo*>& records,
                                            QString& subject, QString& body)>;
void SetBeforeMailCheck(TBeforeMailCheck check);

}  // namespace q2
