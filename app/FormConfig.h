// The settings dialog "設定": category and honorific lists, mail servers,
// passwords and the book opened at start-up.
#pragma once

#include <QDialog>
#include <functional>

#include "model/MailConfig.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace q2 {

class TUserInfoList;
class TFormInputBox;
class TFormEditPassword;

class TFormConfig : public QDialog {
    Q_OBJECT
public:
    explicit TFormConfig(QWidget* parent = nullptr);
    ~TFormConfig() override;

    // Shows the dialog for one book and the program's mail settings; on
    // QDialog::Accepted everything was validated and stored.
    int Execute(TUserInfoList& book, TthMailConfig& mail);

    // The main window's open dialog, used by "選択"; returns an empty text
    // when cancelled.
    std::function<QString()> ChooseBookFile;

    // Fills every control from the files and the two objects.
    void FormShow();
    // Validates in order and stores; false (dialog stays open) at the first failed check.
    bool BtnSaveClick();
    void BtnCancelClick();
    void LBAdd(int group);
    void LBEdit(int group);
    void LBDel(int group);
    void UpdateEnabling();

    QTabWidget* PCConfig;
    QListWidget* LBCategory_1;
    QListWidget* LBCategory_2;
    QListWidget* LBTitle;
    QPushButton* BtnAddCategory_1;
    QPushButton* BtnEditCategory_1;
    QPushButton* BtnDeleteCategory_1;
    QPushButton* BtnAddCategory_2;
    QPushButton* BtnEditCategory_2;
    QPushButton* BtnDeleteCategory_2;
    QPushButton* BtnAddTitle;
    QPushButton* BtnEditTitle;
    QPushButton* BtnDeleteTitle;

    QLineEdit* EditSenderName;
    QLineEdit* EditSenderMailAddress;
    QLineEdit* EditSMTPServerAddress;
    QLineEdit* EditSMTPPortNo;
    QPushButton* BtnSMTPPortNo;
    QComboBox* CBSMTPSecurity;
    QCheckBox* CBUseSmtpAuth;
    QLineEdit* EditSMTPAccount;
    QLineEdit* EditSMTPPassword;
    QCheckBox* CBUsePopBeforeSMTP;
    QLineEdit* EditPOP3ServerAddress;
    QLineEdit* EditPOP3PortNo;
    QPushButton* BtnPOP3PortNo;
    QComboBox* CBPOP3Security;
    QLineEdit* EditPOP3Account;
    QLineEdit* EditPop3Password;

    QCheckBox* CBUseSoftPassword;
    QLineEdit* EditSoftPassword;
    QPushButton* BtnSoftPassword;
    QCheckBox* CBUseFilePassword;
    QLineEdit* EditFilePassword;
    QPushButton* BtnFilePassword;

    QCheckBox* CBUseAutoLoadFile;
    QLineEdit* EditAutoLoadFile;
    QPushButton* BtnAutoLoadFileSelect;

    QPushButton* BtnSave;
    QPushButton* BtnCancel;

    TFormInputBox* InputBox;
    TFormEditPassword* EditPassword;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QListWidget* ListOf(int group) const;
    QString CaptionOf(int group) const;
    QString PathOf(int group) const;
    void BtnSoftPasswordClick();
    void BtnFilePasswordClick();
    void BtnAutoLoadFileSelectClick();

    TUserInfoList* book_ = nullptr;
    TthMailConfig* mail_ = nullptr;
    bool mayClose_ = true;
};

}  // namespace q2
