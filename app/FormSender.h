// The sender editor "差出人": the five senders, one tab each, edited in place.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTabWidget;

namespace q2 {

class TSenderInfoList;

class TFormSender : public QDialog {
    Q_OBJECT
public:
    explicit TFormSender(QWidget* parent = nullptr);

    // True when closed with "保存して閉じる". Senders left through a tab change
    // are already changed either way; the caller reloads them on false.
    bool Execute(TSenderInfoList& senders);

    // Copy the controls from / to the sender of the selected tab.
    void ShowSender();
    void StoreSender();

    QTabBar* TCSender;
    QLineEdit* EditName_1;
    QLineEdit* EditName_2;
    QLineEdit* EditZip_1;
    QLineEdit* EditZip_2;
    QLineEdit* EditAddress_1;
    QLineEdit* EditAddress_2;
    QLineEdit* EditTel_1;
    QCheckBox* CBPrintTel_1;
    QLineEdit* EditFax_1;
    QCheckBox* CBPrintFax_1;
    QLineEdit* EditMail_1;
    QCheckBox* CBPrintMail_1;
    QLineEdit* EditHomePage;
    QCheckBox* CBPrintHomepage;
    QTabWidget* TCSenderType;
    QLineEdit* EditRen[4];
    QCheckBox* CBPrintRen[4];
    QLineEdit* EditOfficeName;
    QCheckBox* CBPrintOfficeName;
    QLineEdit* EditOfficePost;
    QCheckBox* CBPrintOfficePost;
    QLineEdit* EditOfficialPosition;
    QCheckBox* CBPrintOfficialPosition;
    QPushButton* BtnOK;
    QPushButton* BtnClose;

public slots:
    void BtnOKClick();

private:
    void TabChanged(int index);

    TSenderInfoList* senders_ = nullptr;  // only while Execute runs
    int shownTab_ = 0;                    // the tab whose sender the controls hold
};

}  // namespace q2
