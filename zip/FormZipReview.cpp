// The review of the book after a postal data refresh.
#include "FormZipReview.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/UserInfo.h"
#include "model/UserInfoList.h"
#include "platform/Prompter.h"

namespace q2 {
namespace {

enum Column { kName, kSide, kZip, kAddress, kKind, kSuggestion, kColumns };

}  // namespace

TFormZipReview::TFormZipReview(TUserInfoList& book, QWidget* parent)
    : QDialog(parent), book_(book) {
    setWindowTitle(QStringLiteral("住所録の確認"));
    auto* layout = new QVBoxLayout(this);
    LblSummary = new QLabel(this);
    LblSummary->setWordWrap(true);
    layout->addWidget(LblSummary);
    LVFindings = new QTableWidget(0, kColumns, this);
    LVFindings->setHorizontalHeaderLabels({QStringLiteral("氏名"), QStringLiteral("区分"),
                                           QStringLiteral("〒"), QStringLiteral("住所１"),
                                           QStringLiteral("内容"), QStringLiteral("提案")});
    LVFindings->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVFindings->setSelectionMode(QAbstractItemView::SingleSelection);
    LVFindings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVFindings->verticalHeader()->hide();
    LVFindings->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(LVFindings, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    BtnApply = new QPushButton(QStringLiteral("提案を適用"), this);
    BtnClose = new QPushButton(QStringLiteral("閉じる"), this);
    buttons->addWidget(BtnApply);
    buttons->addWidget(BtnClose);
    layout->addLayout(buttons);
    resize(980, 360);

    connect(BtnApply, &QPushButton::clicked, this, [this] { ApplyRow(LVFindings->currentRow()); });
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(LVFindings, &QTableWidget::currentCellChanged, this, [this] { UpdateButtons(); });
}

bool TFormZipReview::Review(const QString& dataPath) {
    TZipIndex data;
    findings_.clear();
    if (data.Load(dataPath)) findings_ = ReviewBook(book_, data);
    applied_ = QList<bool>(findings_.size(), false);
    Fill();
    return !findings_.isEmpty();
}

bool TFormZipReview::Offer() const {
    return GetPrompter().Ask(
        QStringLiteral("新しい郵便番号データと一致しない住所が住所録に%1件あります。\r\n"
                       "住所録の確認を行いますか？")
            .arg(findings_.size()));
}

void TFormZipReview::Fill() {
    LblSummary->setText(QStringLiteral(
        "新しい郵便番号データと一致しない住所が%1件あります。提案を選んで「提案を適用」を押すと、"
        "その郵便番号と住所１が書き換わります。そのままでよいものは閉じてください。")
                            .arg(findings_.size()));
    LVFindings->setRowCount(int(findings_.size()));
    for (int row = 0; row < findings_.size(); ++row) {
        const TZipFinding& f = findings_[row];
        const TUserInfo& r = *book_.Item(f.Record);
        auto set = [&](int column, const QString& text) {
            LVFindings->setItem(row, column, new QTableWidgetItem(text));
        };
        set(kName, r.PersonalFullName());
        set(kSide, f.Office ? QStringLiteral("勤務先") : QStringLiteral("自宅"));
        set(kZip, f.Zip);
        set(kAddress, f.Address);
        set(kKind, f.Description());
        if (f.Suggestions.isEmpty()) {
            set(kSuggestion, QStringLiteral("（候補なし）"));
            continue;
        }
        auto* choice = new QComboBox(LVFindings);
        for (const TZipSuggestion& s : f.Suggestions) choice->addItem(s.Text());
        LVFindings->setCellWidget(row, kSuggestion, choice);
    }
    LVFindings->resizeColumnsToContents();
    if (!findings_.isEmpty()) LVFindings->selectRow(0);
    UpdateButtons();
}

void TFormZipReview::ApplyRow(int row) {
    if (row < 0 || row >= findings_.size() || applied_[row]) return;
    const TZipFinding& f = findings_[row];
    auto* choice = qobject_cast<QComboBox*>(LVFindings->cellWidget(row, kSuggestion));
    if (!choice || choice->currentIndex() < 0) return;
    TUserInfo& record = *book_.Item(f.Record);
    const TUserInfo before = record;
    ApplySuggestion(record, f.Office, f.Suggestions[choice->currentIndex()]);
    applied_[row] = true;
    choice->setEnabled(false);
    LVFindings->item(row, kKind)->setText(QStringLiteral("適用しました"));
    if (OnApplied) OnApplied(record, before);
    UpdateButtons();
}

int TFormZipReview::AppliedCount() const {
    return int(std::count(applied_.begin(), applied_.end(), true));
}

void TFormZipReview::UpdateButtons() {
    const int row = LVFindings->currentRow();
    BtnApply->setEnabled(row >= 0 && row < findings_.size() && !applied_[row] &&
                         !findings_[row].Suggestions.isEmpty());
}

}  // namespace q2
