// The history entry editor.
#include "app/FormEditHistory.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/UserInfo.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/WidthMap.h"

namespace q2 {

TFormEditHistory::TFormEditHistory(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormEditHistory"));
    LblHistoryDate = new QLabel(QStringLiteral("日付"), this);
    DTPHistoryDate = new QDateEdit(this);
    DTPHistoryDate->setObjectName(QStringLiteral("DTPHistoryDate"));
    DTPHistoryDate->setCalendarPopup(true);
    DTPHistoryDate->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    DTPHistoryDate->setMinimumDate(QDate(100, 1, 1));
    LblTitle = new QLabel(QStringLiteral("項目"), this);
    EditTitle = new QLineEdit(this);
    EditTitle->setObjectName(QStringLiteral("EditTitle"));
    LblContent = new QLabel(QStringLiteral("内容"), this);
    EditContent = new QLineEdit(this);
    EditContent->setObjectName(QStringLiteral("EditContent"));
    EditContent->setMinimumWidth(320);
    BtnSave = new QPushButton(QStringLiteral("保存して閉じる"), this);
    BtnSave->setObjectName(QStringLiteral("BtnSave"));
    BtnSave->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    auto* grid = new QGridLayout;
    grid->addWidget(LblHistoryDate, 0, 0);
    grid->addWidget(DTPHistoryDate, 0, 1, Qt::AlignLeft);
    grid->addWidget(LblTitle, 1, 0);
    grid->addWidget(EditTitle, 1, 1);
    grid->addWidget(LblContent, 2, 0);
    grid->addWidget(EditContent, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnSave);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(BtnSave, &QPushButton::clicked, this, &TFormEditHistory::BtnSaveClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormEditHistory::Execute(THistoryObject& entry, const QString& caption) {
    setWindowTitle(caption);
    DTPHistoryDate->setDate(entry.HistoryDate);
    EditTitle->setText(entry.HistoryTitle);
    EditContent->setText(entry.HistoryContent);
    DTPHistoryDate->setFocus();
    entry_ = &entry;
    setResult(QDialog::Rejected);
    const bool saved = GetDialogRunner().Exec(*this) == QDialog::Accepted;
    entry_ = nullptr;
    return saved;
}

void TFormEditHistory::BtnSaveClick() {
    if (Trim(EditTitle->text()).isEmpty() || Trim(EditContent->text()).isEmpty()) {
        GetPrompter().Inform(QStringLiteral("項目、又は内容が未入力です"));
        return;
    }
    if (entry_) {
        entry_->HistoryDate = DTPHistoryDate->date();
        entry_->HistoryTitle = EditTitle->text();
        entry_->HistoryContent = EditContent->text();
    }
    accept();
}

}  // namespace q2
