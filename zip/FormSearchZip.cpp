// The postal code lookup dialog.
#include "zip/FormSearchZip.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/DataPaths.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "zip/ZipData.h"

namespace q2 {
namespace {

bool Show(QTreeWidget* list, QLabel* label, const TZipSearch& s, bool byAddress,
          const QString& path) {
    if (!s.Label.isEmpty()) label->setText(s.Label);
    if (s.Result != TZipSearchResult::Found) {
        GetPrompter().Inform(ZipSearchMessage(s, byAddress, path));
        return false;
    }
    QList<QTreeWidgetItem*> rows;
    rows.reserve(s.Entries.size());
    for (const TZipEntry& e : s.Entries)
        rows.append(new QTreeWidgetItem(QStringList{e.CodeColumn(), e.Address}));
    list->addTopLevelItems(rows);
    return true;
}

}  // namespace

TFormSearchZip::TFormSearchZip(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormSearchZip"));
    setWindowTitle(QStringLiteral("郵便番号検索"));
    LblSearchWord = new QLabel(QStringLiteral("検索キー："), this);
    LblSearchWord->setObjectName(QStringLiteral("LblSearchWord"));
    LVZipList = new QTreeWidget(this);
    LVZipList->setObjectName(QStringLiteral("LVZipList"));
    LVZipList->setHeaderLabels({QStringLiteral("〒"), QStringLiteral("住所")});
    LVZipList->setRootIsDecorated(false);
    LVZipList->setUniformRowHeights(true);  // thousands of rows for a short key
    LVZipList->setSelectionMode(QAbstractItemView::SingleSelection);
    LVZipList->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVZipList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVZipList->setColumnWidth(0, 80);
    LVZipList->header()->setStretchLastSection(true);
    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblSearchWord);
    layout->addWidget(LVZipList, 1);
    layout->addLayout(buttons);
    setFixedSize(520, 400);

    connect(BtnOK, &QPushButton::clicked, this, &TFormSearchZip::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormSearchZip::BtnCancelClick);
    connect(LVZipList, &QTreeWidget::itemDoubleClicked, this, &TFormSearchZip::BtnOKClick);
}

bool TFormSearchZip::SearchByZip(const QString& upper, const QString& lower) {
    const QString path = GetZipDataPath();
    return Show(LVZipList, LblSearchWord, q2::SearchByZip(path, upper, lower), false, path);
}

bool TFormSearchZip::SearchByAddress(const QString& address) {
    const QString path = GetZipDataPath();
    return Show(LVZipList, LblSearchWord, q2::SearchByAddress(path, address), true, path);
}

bool TFormSearchZip::Execute(QString& upper, QString& lower, bool byAddress, QString& address) {
    LVZipList->clear();
    LblSearchWord->setText(QStringLiteral("検索キー："));
    const bool found = byAddress ? SearchByAddress(address) : SearchByZip(upper, lower);
    if (!found || LVZipList->topLevelItemCount() == 0) return false;
    // One hit leaves nothing to choose: it is taken without the list.
    if (LVZipList->topLevelItemCount() == 1) {
        LVZipList->setCurrentItem(LVZipList->topLevelItem(0));
        return TakeChosen(upper, lower, address);
    }
    if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
    // The first hit is chosen from the start: Enter takes it.
    LVZipList->setCurrentItem(LVZipList->topLevelItem(0));
    LVZipList->setFocus();
    mayClose_ = false;
    setResult(QDialog::Rejected);
    if (GetDialogRunner().Exec(*this) != QDialog::Accepted) return false;
    return TakeChosen(upper, lower, address);
}

bool TFormSearchZip::TakeChosen(QString& upper, QString& lower, QString& address) const {
    const QList<QTreeWidgetItem*> chosen = LVZipList->selectedItems();
    if (chosen.size() != 1) return false;
    const QString code = chosen.first()->text(0);
    const qsizetype dash = code.indexOf(QLatin1Char('-'));
    upper = code.left(dash);
    lower = code.mid(dash + 1);
    address = chosen.first()->text(1);
    return true;
}

void TFormSearchZip::BtnOKClick() {
    if (LVZipList->selectedItems().size() != 1) {
        GetPrompter().Inform(QStringLiteral("郵便番号を選択してください"));
        return;
    }
    mayClose_ = true;
    accept();
}

void TFormSearchZip::BtnCancelClick() {
    mayClose_ = true;
    reject();
}

void TFormSearchZip::done(int result) {
    // Escape and the close box end the dialog as Cancel does.
    if (result != QDialog::Accepted) mayClose_ = true;
    if (!mayClose_) return;
    QDialog::done(result);
}

}  // namespace q2
