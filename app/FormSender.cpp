// The sender editor.
#include "app/FormSender.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/SenderInfo.h"
#include "platform/DialogRunner.h"

namespace q2 {
namespace {

QLineEdit* NewEdit(QWidget* parent, const QString& name, int maxLength = 0) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

QCheckBox* NewPrintCheck(QWidget* parent, const QString& name) {
    auto* c = new QCheckBox(QStringLiteral("印刷"), parent);
    c->setObjectName(name);
    return c;
}

void AddItemRow(QGridLayout* grid, int row, const QString& caption, QLineEdit* edit,
                QCheckBox* check) {
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(edit, row, 1);
    if (check) grid->addWidget(check, row, 2);
}

void ShowItem(const TInputSetObject& item, QLineEdit* edit, QCheckBox* check) {
    edit->setText(item.Content);
    check->setChecked(item.PrintData);
}

void StoreItem(TInputSetObject& item, const QLineEdit* edit, const QCheckBox* check) {
    item.Content = edit->text();
    item.PrintData = check->isChecked();
}

}  // namespace

TFormSender::TFormSender(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormSender"));
    setWindowTitle(QStringLiteral("差出人"));
    TCSender = new QTabBar(this);
    TCSender->setObjectName(QStringLiteral("TCSender"));
    for (const QString& t :
         {QStringLiteral("差出人１"), QStringLiteral("差出人２"), QStringLiteral("差出人３"),
          QStringLiteral("差出人４"), QStringLiteral("差出人５")})
        TCSender->addTab(t);
    TCSender->setExpanding(false);

    EditName_1 = NewEdit(this, QStringLiteral("EditName_1"));
    EditName_2 = NewEdit(this, QStringLiteral("EditName_2"));
    EditZip_1 = NewEdit(this, QStringLiteral("EditZip_1"), 3);
    EditZip_2 = NewEdit(this, QStringLiteral("EditZip_2"), 4);
    EditZip_1->setMaximumWidth(50);
    EditZip_2->setMaximumWidth(60);
    EditAddress_1 = NewEdit(this, QStringLiteral("EditAddress_1"));
    EditAddress_2 = NewEdit(this, QStringLiteral("EditAddress_2"));
    EditTel_1 = NewEdit(this, QStringLiteral("EditTel_1"));
    CBPrintTel_1 = NewPrintCheck(this, QStringLiteral("CBPrintTel_1"));
    EditFax_1 = NewEdit(this, QStringLiteral("EditFax_1"));
    CBPrintFax_1 = NewPrintCheck(this, QStringLiteral("CBPrintFax_1"));
    EditMail_1 = NewEdit(this, QStringLiteral("EditMail_1"));
    CBPrintMail_1 = NewPrintCheck(this, QStringLiteral("CBPrintMail_1"));
    EditHomePage = NewEdit(this, QStringLiteral("EditHomePage"));
    CBPrintHomepage = NewPrintCheck(this, QStringLiteral("CBPrintHomepage"));

    TCSenderType = new QTabWidget(this);
    TCSenderType->setObjectName(QStringLiteral("TCSenderType"));
    auto* personal = new QWidget;
    auto* personalGrid = new QGridLayout(personal);
    for (int i = 0; i < 4; ++i) {
        EditRen[i] = NewEdit(personal, QStringLiteral("EditRen_%1").arg(i + 1));
        CBPrintRen[i] = NewPrintCheck(personal, QStringLiteral("CBPrintRen_%1").arg(i + 1));
        AddItemRow(personalGrid, i, QStringLiteral("連名者%1").arg(i + 1), EditRen[i],
                   CBPrintRen[i]);
    }
    auto* office = new QWidget;
    auto* officeGrid = new QGridLayout(office);
    EditOfficeName = NewEdit(office, QStringLiteral("EditOfficeName"));
    CBPrintOfficeName = NewPrintCheck(office, QStringLiteral("CBPrintOfficeName"));
    EditOfficePost = NewEdit(office, QStringLiteral("EditOfficePost"));
    CBPrintOfficePost = NewPrintCheck(office, QStringLiteral("CBPrintOfficePost"));
    EditOfficialPosition = NewEdit(office, QStringLiteral("EditOfficialPosition"));
    CBPrintOfficialPosition = NewPrintCheck(office, QStringLiteral("CBPrintOfficialPosition"));
    AddItemRow(officeGrid, 0, QStringLiteral("会社名"), EditOfficeName, CBPrintOfficeName);
    AddItemRow(officeGrid, 1, QStringLiteral("部署名"), EditOfficePost, CBPrintOfficePost);
    AddItemRow(officeGrid, 2, QStringLiteral("役職名"), EditOfficialPosition,
               CBPrintOfficialPosition);
    officeGrid->setRowStretch(3, 1);
    TCSenderType->addTab(personal, QStringLiteral("個人用"));
    TCSenderType->addTab(office, QStringLiteral("会社用"));

    BtnOK = new QPushButton(QStringLiteral("保存して閉じる"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnClose = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("名前")), 0, 0);
    auto* names = new QHBoxLayout;
    names->addWidget(EditName_1);
    names->addWidget(EditName_2);
    grid->addLayout(names, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("〒")), 1, 0);
    auto* zip = new QHBoxLayout;
    zip->addWidget(EditZip_1);
    zip->addWidget(new QLabel(QStringLiteral("-")));
    zip->addWidget(EditZip_2);
    zip->addStretch();
    grid->addLayout(zip, 1, 1);
    AddItemRow(grid, 2, QStringLiteral("住所１"), EditAddress_1, nullptr);
    AddItemRow(grid, 3, QStringLiteral("住所２"), EditAddress_2, nullptr);
    AddItemRow(grid, 4, QStringLiteral("電話"), EditTel_1, CBPrintTel_1);
    AddItemRow(grid, 5, QStringLiteral("FAX"), EditFax_1, CBPrintFax_1);
    AddItemRow(grid, 6, QStringLiteral("メール"), EditMail_1, CBPrintMail_1);
    AddItemRow(grid, 7, QStringLiteral("HP"), EditHomePage, CBPrintHomepage);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TCSender);
    layout->addLayout(grid);
    layout->addWidget(TCSenderType);
    layout->addLayout(buttons);
    resize(460, sizeHint().height());

    connect(TCSender, &QTabBar::currentChanged, this, &TFormSender::TabChanged);
    connect(BtnOK, &QPushButton::clicked, this, &TFormSender::BtnOKClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormSender::Execute(TSenderInfoList& senders) {
    senders_ = &senders;
    {
        const QSignalBlocker quiet(TCSender);
        TCSender->setCurrentIndex(0);
    }
    shownTab_ = 0;
    TCSenderType->setCurrentIndex(0);
    ShowSender();
    setResult(QDialog::Rejected);
    const bool ok = GetDialogRunner().Exec(*this) == QDialog::Accepted;
    senders_ = nullptr;
    return ok;
}

void TFormSender::TabChanged(int index) {
    // The controls still hold the sender of the tab being left.
    StoreSender();
    shownTab_ = index;
    ShowSender();
}

void TFormSender::ShowSender() {
    if (!senders_ || shownTab_ < 0 || shownTab_ >= senders_->Count()) return;
    const TSenderInfo& s = *senders_->Item(shownTab_);
    EditName_1->setText(s.SenderName_1);
    EditName_2->setText(s.SenderName_2);
    EditZip_1->setText(s.SenderZip_1);
    EditZip_2->setText(s.SenderZip_2);
    EditAddress_1->setText(s.SenderAddress_1);
    EditAddress_2->setText(s.SenderAddress_2);
    ShowItem(s.SenderTel_1, EditTel_1, CBPrintTel_1);
    ShowItem(s.SenderFax_1, EditFax_1, CBPrintFax_1);
    ShowItem(s.SenderMail_1, EditMail_1, CBPrintMail_1);
    ShowItem(s.SenderHomePage, EditHomePage, CBPrintHomepage);
    for (int i = 0; i < 4; ++i) ShowItem(s.JointName(i), EditRen[i], CBPrintRen[i]);
    ShowItem(s.OfficeName, EditOfficeName, CBPrintOfficeName);
    ShowItem(s.OfficePost, EditOfficePost, CBPrintOfficePost);
    ShowItem(s.OfficeOfficialPosition, EditOfficialPosition, CBPrintOfficialPosition);
}

void TFormSender::StoreSender() {
    if (!senders_ || shownTab_ < 0 || shownTab_ >= senders_->Count()) return;
    TSenderInfo& s = *senders_->Item(shownTab_);
    s.SenderName_1 = EditName_1->text();
    s.SenderName_2 = EditName_2->text();
    s.SenderZip_1 = EditZip_1->text();
    s.SenderZip_2 = EditZip_2->text();
    s.SenderAddress_1 = EditAddress_1->text();
    s.SenderAddress_2 = EditAddress_2->text();
    StoreItem(s.SenderTel_1, EditTel_1, CBPrintTel_1);
    StoreItem(s.SenderFax_1, EditFax_1, CBPrintFax_1);
    StoreItem(s.SenderMail_1, EditMail_1, CBPrintMail_1);
    StoreItem(s.SenderHomePage, EditHomePage, CBPrintHomepage);
    for (int i = 0; i < 4; ++i) StoreItem(s.JointName(i), EditRen[i], CBPrintRen[i]);
    StoreItem(s.OfficeName, EditOfficeName, CBPrintOfficeName);
    StoreItem(s.OfficePost, EditOfficePost, CBPrintOfficePost);
    StoreItem(s.OfficeOfficialPosition, EditOfficialPosition, CBPrintOfficialPosition);
}

void TFormSender::BtnOKClick() {
    StoreSender();
    accept();
}

}  // namespace q2
