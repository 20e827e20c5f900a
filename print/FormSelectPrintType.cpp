// The print-type choice shown by the main window's print button.
#include "print/FormSelectPrintType.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace q2 {

TFormSelectPrintType::TFormSelectPrintType(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormSelectPrintType"));
    setWindowTitle(QString::fromUtf16(u"印刷選択"));
    auto* layout = new QVBoxLayout(this);
    BtnAddressPrint =
        new QPushButton(QString::fromUtf16(u"宛名印刷（ハガキ・封筒・タックシール）"), this);
    BtnAddressPrint->setObjectName(QStringLiteral("BtnAddressPrint"));
    BtnListPrint = new QPushButton(QString::fromUtf16(u"一覧印刷"), this);
    BtnListPrint->setObjectName(QStringLiteral("BtnListPrint"));
    BtnCancel = new QPushButton(QString::fromUtf16(u"キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    for (QPushButton* b : {BtnAddressPrint, BtnListPrint, BtnCancel}) {
        b->setMinimumHeight(36);
        b->setAutoDefault(false);
        layout->addWidget(b);
    }
    BtnAddressPrint->setDefault(true);
    connect(BtnAddressPrint, &QPushButton::clicked, this, [this] { done(kAddressPrintResult); });
    connect(BtnListPrint, &QPushButton::clicked, this, [this] { done(kListPrintResult); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { done(kCancelResult); });
}

TPrintTypeChoice TFormSelectPrintType::ChoiceOf(int result) {
    switch (result) {
        case kAddressPrintResult:
            return TPrintTypeChoice::AddressPrint;
        case kListPrintResult:
            return TPrintTypeChoice::ListPrint;
        default:
            return TPrintTypeChoice::Cancel;
    }
}

TPrintTypeChoice TFormSelectPrintType::Choose() {
    return ChoiceOf(exec());
}

}  // namespace q2
