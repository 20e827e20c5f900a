// The quick add dialog.
#include "app/FormAddData.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ReadingCapture.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

QLineEdit* NewBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(40);
    box->setAttribute(Qt::WA_InputMethodEnabled, true);
    return box;
}

}  // namespace

TFormAddData::TFormAddData(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormAddData"));
    setWindowTitle(QStringLiteral("住所追加"));
    Label1 = new QLabel(QStringLiteral("名前"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    EditName_1 = NewBox(this, "EditName_1");
    EditName_2 = NewBox(this, "EditName_2");
    Label2 = new QLabel(QStringLiteral("フリガナ"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    EditKana_1 = NewBox(this, "EditKana_1");
    EditKana_2 = NewBox(this, "EditKana_2");
    BtnAdd = new QPushButton(QStringLiteral("登録"), this);
    BtnAdd->setObjectName(QStringLiteral("BtnAdd"));
    BtnAdd->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    new ReadingCapture(EditName_1, EditKana_1);
    new ReadingCapture(EditName_2, EditKana_2);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(EditName_1, 0, 1);
    grid->addWidget(EditName_2, 0, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(EditKana_1, 1, 1);
    grid->addWidget(EditKana_2, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnAdd);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(BtnAdd, &QPushButton::clicked, this, &TFormAddData::BtnAddClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormAddData::Execute() {
    for (QLineEdit* box : {EditName_1, EditName_2, EditKana_1, EditKana_2}) box->clear();
    EditName_1->setFocus();
    setResult(QDialog::Rejected);
    return GetDialogRunner().Exec(*this);
}

void TFormAddData::BtnAddClick() {
    for (QLineEdit* box : {EditName_1, EditName_2, EditKana_1, EditKana_2}) {
        if (Trim(box->text()).isEmpty()) {
            GetPrompter().Inform(QStringLiteral("名前・フリガナは全て入力してください"));
            return;
        }
    }
    accept();
}

}  // namespace q2
