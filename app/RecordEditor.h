// The record editor on the right half of the main window: every control of
// the current record; a change in a control writes that control's field and
// nothing else.
#pragma once

#include <QHash>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "model/UserInfo.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace q2 {

class TFormEditHistory;
class TFormSearchZip;
class TSeasonMarksWidget;
class TthMailConfig;

class TRecordEditor : public QWidget {
    Q_OBJECT
public:
    // `current` is the main window's CurrentRecord: the editor never keeps a
    // record of its own, so a book that is cleared leaves nothing dangling.
    TRecordEditor(TUserInfo* const& current, const TthMailConfig& mailConfig,
                  QWidget* parent = nullptr);

    void SetDialogs(TFormSearchZip* searchZip, TFormEditHistory* editHistory);
    // The combo boxes' items from the list files.
    void SetListItems(const QStringList& nameTitles, const QStringList& category1,
                      const QStringList& category2);

    void ClearInputArea();
    void SetInputArea(bool enabled);
    // Fills the controls from the current record; nothing is stored meanwhile.
    // Controls that already show the record's value are left alone, so the
    // cursor stays where the user is typing.
    void ShowRecord();
    void RefreshHistoryList();
    void UpdateImageButtons();
    void OpenMailer(const QString& address);
    bool InputEnabled() const { return enabled_; }
    // The control behind the latest RecordChanged; nullptr for the history
    // and picture buttons, whose every use is a change of its own.
    const QObject* LastEditedControl() const { return lastControl_; }
    // The current record as it was just before the latest RecordChanged.
    const TUserInfo& RecordBefore() const { return before_; }
    // The picture the editor shows.
    const TPicture& Picture() const { return picture_; }

    QLineEdit* EditPersonalKana_1;
    QLineEdit* EditPersonalKana_2;
    QLineEdit* EditPersonalName_1;
    QLineEdit* EditPersonalName_2;
    QComboBox* CBPerSonalHonorificTitle;
    QCheckBox* CBPrintCheck;
    // 印刷面: which side's address the piece carries. The tabs below only
    // show a side; looking at one changes nothing.
    QRadioButton* RBPrintSidePersonal;
    QRadioButton* RBPrintSideOffice;
    QTabWidget* PGPrintType;
    QWidget* TabSheetPersonal;
    QWidget* TabSheetOffice;
    QLineEdit* EditPersonalZip_1;
    QLineEdit* EditPersonalZip_2;
    QLineEdit* EditPersonalAddress_1;
    QLineEdit* EditPersonalAddress_2;
    QLineEdit* EditPersonalTel_1;
    QLineEdit* EditPersonalTel_2;
    QLineEdit* EditPersonalMail_1;
    QLineEdit* EditPersonalMail_2;
    QLineEdit* EditPersonalHomePage;
    QDateEdit* DTPBirthday;
    QComboBox* CBPersonalSex;
    QLineEdit* EditPersonalAge;
    QLineEdit* EditOfficeKana;
    QLineEdit* EditOfficeName;
    QLineEdit* EditOfficeZip_1;
    QLineEdit* EditOfficeZip_2;
    QLineEdit* EditOfficeAddress_1;
    QLineEdit* EditOfficeAddress_2;
    QLineEdit* EditOfficeTel_1;
    QLineEdit* EditOfficeTel_2;
    QLineEdit* EditOfficeMail_1;
    QLineEdit* EditOfficeMail_2;
    QLineEdit* EditOfficeHomePage;
    QLineEdit* EditOfficePost;
    QLineEdit* EditOfficialPosition;
    QCheckBox* CBJointName[4];
    QLineEdit* EditJointName[4];
    QComboBox* CBJointNameTitle[4];
    QPlainTextEdit* MemoRemarks;
    QComboBox* CBCategory_1;
    QComboBox* CBCategory_2;
    QLineEdit* EditInsertStr[4];
    QLineEdit* EditRegistDate;
    QGroupBox* GBImage;
    QLabel* Img1;
    QGroupBox* GBHistory;
    QTableWidget* LVHistory;
    // 送付, 受取 and 喪中 of the season chosen in the main window.
    TSeasonMarksWidget* SeasonMarks;

    QPushButton* BtnPersonalZip;
    QPushButton* BtnOfficeZip;
    QPushButton* BtnPersonalAddress;
    QPushButton* BtnOfficeAddress;
    QPushButton* BtnPersonalMail_1;
    QPushButton* BtnPersonalMail_2;
    QPushButton* BtnOfficeMail_1;
    QPushButton* BtnOfficeMail_2;
    QPushButton* BtnSendMail;
    QPushButton* BtnDel;
    QPushButton* BtnHistoryAdd;
    QPushButton* BtnHistoryEdit;
    QPushButton* BtnHistoryDel;
    QPushButton* BtnImg_1_Load;
    QPushButton* BtnImg_1_Clear;

signals:
    // The record changed through the editor: the book is modified and the
    // list row must be redrawn.
    void RecordChanged();
    void DeleteRequested();

public slots:
    void ZipButtonClick(int tag);
    void AddressButtonClick(int tag);
    void MailButtonClick(int tag);
    void BtnSendMailClick();
    void BtnImg_1_LoadClick();
    void BtnImg_1_ClearClick();
    void BtnHistoryAddClick();
    void BtnHistoryEditClick();
    void BtnHistoryDelClick();
    // Loads a picture file as the load button does after its file dialog;
    // false (and a message) when it cannot be read.
    bool LoadPicture(const QString& path);

private:
    using FieldWriter = std::function<void(TUserInfo&)>;
    void BuildControls();
    void RegisterWriters();
    // A change the user made in `control`: only its own field is written.
    void StoreControl(const QObject* control);
    // Writes through `write`, then tells the main window. A record that
    // changed elsewhere since it was shown is shown again in full, so no
    // control goes on showing (and later writing) an old value.
    void Change(const QObject* control, const FieldWriter& write);
    void BeginChange();
    void EndChange(const QObject* control);
    void ShowPicture();
    void UpdateHistoryButtons();
    int SelectedHistoryRow() const;
    QString SendMailUrl(const TUserInfo& r) const;

    TUserInfo* const& current_;
    const TthMailConfig& mailConfig_;
    TFormSearchZip* searchZip_ = nullptr;
    TFormEditHistory* editHistory_ = nullptr;
    TPicture picture_;
    bool enabled_ = false;
    bool filling_ = false;  // set while the program itself fills the controls
    const QObject* lastControl_ = nullptr;
    QHash<const QObject*, FieldWriter> writers_;
    TUserInfo shown_;   // the record as the controls show it
    const TUserInfo* shownRecord_ = nullptr;  // whose page the tabs were turned to
    TUserInfo before_;  // the record before the latest change
    bool stale_ = false;
};

}  // namespace q2
