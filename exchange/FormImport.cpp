// The import dialog.
#include "FormImport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "exchange/CsvReader.h"
#include "exchange/VcardReader.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/UserFile.h"

namespace q2 {

TFormImport::TFormImport(QWidget* parent) : QDialog(parent) {
    setObjectName("TFormImport");
    setWindowTitle(QStringLiteral("インポート"));
    Label1 = new QLabel(QStringLiteral("項目対応表"), this);
    Label2 = new QLabel(QStringLiteral("項目選択"), this);
    SGMain = new QTableWidget(1, 2, this);
    SGMain->setObjectName("SGMain");
    SGMain->horizontalHeader()->hide();
    SGMain->verticalHeader()->hide();
    SGMain->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGMain->setSelectionMode(QAbstractItemView::SingleSelection);
    SGMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGMain->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    SGMain->verticalHeader()->setDefaultSectionSize(SGMain->fontMetrics().height() + 6);
    ListBoxContents = new QListWidget(this);
    ListBoxContents->setObjectName("ListBoxContents");

    auto tool = [this](const char* name, const QString& text, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        if (text.isEmpty())
            b->setIcon(style()->standardIcon(icon));
        else
            b->setText(text);
        return b;
    };
    SBAddContent = tool("SBAddContent", {}, QStyle::SP_ArrowLeft);
    SBAddContent->setToolTip(QStringLiteral("選択した項目を対応表に追加"));
    SBDelContent = tool("SBDelContent", {}, QStyle::SP_ArrowRight);
    SBDelContent->setToolTip(QStringLiteral("対応表の項目を外す"));
    SBPrev = tool("SBPrev", QStringLiteral("←"), {});
    SBNext = tool("SBNext", QStringLiteral("→"), {});
    LblPageCount = new QLabel(QStringLiteral("0/0"), this);
    LblPageCount->setObjectName("LblPageCount");
    LblPageCount->setAlignment(Qt::AlignCenter);
    LblInfo = new QLabel(this);
    LblInfo->setObjectName("LblInfo");
    LblInfo->setWordWrap(true);
    CBFirstLineDisregarded = new QCheckBox(QStringLiteral("1行目を無視する"), this);
    CBFirstLineDisregarded->setObjectName("CBFirstLineDisregarded");
    CBMarkForPrint = new QCheckBox(QStringLiteral("取り込んだ記録を印刷対象にする"), this);
    CBMarkForPrint->setObjectName("CBMarkForPrint");
    LblDuplicate = new QLabel(this);
    LblDuplicate->setObjectName("LblDuplicate");
    CBDuplicateAction = new QComboBox(this);
    CBDuplicateAction->setObjectName("CBDuplicateAction");
    CBDuplicateAction->addItems(DuplicateActionNames());
    BtnApplyToAll = new QPushButton(QStringLiteral("すべての重複に適用"), this);
    BtnApplyToAll->setObjectName("BtnApplyToAll");
    BtnApplyToAll->setAutoDefault(false);
    ProgressBarStatus = new QProgressBar(this);
    ProgressBarStatus->setObjectName("ProgressBarStatus");
    ProgressBarStatus->setTextVisible(false);
    BtnImport = new QPushButton(QStringLiteral("インポートする"), this);
    BtnImport->setObjectName("BtnImport");
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName("BtnCancel");
    BtnImport->setAutoDefault(false);
    BtnCancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(SGMain, 1, 0);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(SBAddContent);
    middle->addWidget(SBDelContent);
    middle->addStretch();
    grid->addLayout(middle, 1, 1);
    grid->addWidget(ListBoxContents, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(2, 2);
    auto* nav = new QHBoxLayout;
    nav->addWidget(SBPrev);
    nav->addWidget(LblPageCount, 1);
    nav->addWidget(SBNext);
    grid->addLayout(nav, 2, 0);
    auto* duplicate = new QHBoxLayout;
    duplicate->addWidget(LblDuplicate, 1);
    duplicate->addWidget(CBDuplicateAction);
    duplicate->addWidget(BtnApplyToAll);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CBFirstLineDisregarded);
    buttons->addWidget(CBMarkForPrint);
    buttons->addStretch();
    buttons->addWidget(BtnImport);
    buttons->addWidget(BtnCancel);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addWidget(LblInfo);
    top->addLayout(duplicate);
    top->addWidget(ProgressBarStatus);
    top->addLayout(buttons);
    resize(620, 460);

    connect(SBAddContent, &QToolButton::clicked, this, &TFormImport::SBAddContentClick);
    connect(SBDelContent, &QToolButton::clicked, this, &TFormImport::SBDelContentClick);
    connect(SBPrev, &QToolButton::clicked, this, &TFormImport::SBPrevClick);
    connect(SBNext, &QToolButton::clicked, this, &TFormImport::SBNextClick);
    connect(BtnImport, &QPushButton::clicked, this, &TFormImport::BtnImportClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListBoxContents, &QListWidget::itemDoubleClicked, this,
            &TFormImport::SBAddContentClick);
    connect(CBDuplicateAction, &QComboBox::activated, this, &TFormImport::CBDuplicateActionChanged);
    connect(BtnApplyToAll, &QPushButton::clicked, this, &TFormImport::BtnApplyToAllClick);
    connect(CBFirstLineDisregarded, &QCheckBox::toggled, this, [this] {
        duplicatesStale_ = true;
        ShowDuplicate();
    });
}

int TFormImport::FirstImported() const {
    return !cards_ && CBFirstLineDisregarded->isChecked() ? 1 : 0;
}

const std::vector<TDuplicate>& TFormImport::Duplicates() {
    if (!duplicatesStale_ || !book_) return duplicates_;
    duplicatesStale_ = false;
    const int count = Count();
    duplicates_.assign(count, TDuplicate());
    actions_.resize(count, TDuplicateAction::Add);
    std::vector<TDuplicate> found;
    if (cards_) {
        found = FindDuplicates(cards_->Records, *book_);
    } else if (records_) {
        TImportOptions options;
        options.SkipFirstRecord = CBFirstLineDisregarded->isChecked();
        found = FindDuplicates(ConvertCsvRecords(*records_, Mapping(), options), *book_);
    }
    const int first = FirstImported();
    for (size_t i = 0; i < found.size(); ++i) {
        TDuplicate d = found[i];
        if (d.EarlierRow >= 0) d.EarlierRow += first;  // as a record index of the file
        duplicates_[first + i] = d;
    }
    return duplicates_;
}

void TFormImport::ShowDuplicate() {
    const std::vector<TDuplicate>& found = Duplicates();
    const bool inRange = previewIndex_ >= 0 && previewIndex_ < static_cast<int>(found.size()) &&
                         previewIndex_ >= FirstImported();
    const TDuplicate d = inRange ? found[previewIndex_] : TDuplicate();
    LblDuplicate->setText(book_ ? DuplicateDescription(d, *book_) : QString());
    CBDuplicateAction->setEnabled(d.IsDuplicate());
    CBDuplicateAction->setCurrentIndex(d.IsDuplicate() ? static_cast<int>(actions_[previewIndex_])
                                                       : 0);
    int count = 0;
    for (const TDuplicate& x : found) count += x.IsDuplicate();
    BtnApplyToAll->setEnabled(count > 0);
}

void TFormImport::CBDuplicateActionChanged(int action) {
    const std::vector<TDuplicate>& found = Duplicates();
    if (previewIndex_ < 0 || previewIndex_ >= static_cast<int>(found.size()) ||
        !found[previewIndex_].IsDuplicate())
        return;
    actions_[previewIndex_] = static_cast<TDuplicateAction>(action);
}

void TFormImport::BtnApplyToAllClick() {
    const std::vector<TDuplicate>& found = Duplicates();
    const auto action = static_cast<TDuplicateAction>(CBDuplicateAction->currentIndex());
    for (size_t i = 0; i < found.size(); ++i)
        if (found[i].IsDuplicate()) actions_[i] = action;
}

void TFormImport::SetMappingEnabled(bool enabled) {
    ListBoxContents->setEnabled(enabled);
    SBAddContent->setEnabled(enabled);
    SBDelContent->setEnabled(enabled);
    CBFirstLineDisregarded->setEnabled(enabled);
}

void TFormImport::Open(QStringList& records, TUserInfoList& book) {
    records_ = &records;
    book_ = &book;
    cards_ = nullptr;
    SetMappingEnabled(true);
    LblInfo->clear();
    // The proposal's derived columns go on the end of every record before
    // the grid is sized.
    if (proposal_) AppendDerivedColumns(records, *proposal_);
    MarkLineBreaks(records);
    int rows = 1;
    for (const QString& r : records) rows = std::max(rows, CountCsvFields(r));
    SGMain->clearContents();
    SGMain->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        SGMain->setItem(r, 0, new QTableWidgetItem);
        SGMain->setItem(r, 1, new QTableWidgetItem);
    }
    SGMain->setCurrentCell(0, 1);
    ListBoxContents->clear();
    ListBoxContents->addItems(ImportDestinations());
    // An empty bar: Qt draws a range of 0 to 0 as a busy indicator.
    ProgressBarStatus->setRange(0, 1);
    ProgressBarStatus->setValue(0);
    CBFirstLineDisregarded->setChecked(false);
    CBMarkForPrint->setChecked(true);
    actions_.clear();
    duplicatesStale_ = true;
    previewIndex_ = 0;
    if (proposal_) ApplyProposal(*proposal_);
    proposal_.reset();
    ShowPreview();
}

void TFormImport::ApplyProposal(const THeaderProposal& proposal) {
    const int rows = std::min<int>(SGMain->rowCount(), static_cast<int>(proposal.Mapping.size()));
    for (int r = 0; r < rows; ++r)
        SGMain->item(r, 1)->setText(proposal.Mapping[r] < 0 ? QString()
                                                            : ImportDestinations()[proposal.Mapping[r]]);
    CBFirstLineDisregarded->setChecked(true);
    LblInfo->setText(
        QStringLiteral("1行目を「%1」の見出しと判断し、項目対応表を設定しました。").arg(proposal.Layout));
}

void TFormImport::OpenVcard(TVcardImport& cards, TUserInfoList& book) {
    records_ = nullptr;
    cards_ = &cards;
    book_ = &book;
    cardsNow_ = MakeDateTime(Now());
    proposal_.reset();
    SGMain->clearContents();
    SGMain->setRowCount(0);
    ListBoxContents->clear();
    ListBoxContents->addItems(ImportDestinations());
    SetMappingEnabled(false);
    CBFirstLineDisregarded->setChecked(false);
    CBMarkForPrint->setChecked(true);
    actions_.clear();
    duplicatesStale_ = true;
    ProgressBarStatus->setRange(0, 1);
    ProgressBarStatus->setValue(0);
    const QString skipped = SkippedSummary(cards.Skipped);
    LblInfo->setText(QStringLiteral("vCard %1件").arg(cards.Records.size()) +
                     (skipped.isEmpty() ? QStringLiteral("：すべての項目を取り込みます。")
                                        : QStringLiteral("：取り込まない項目 ") + skipped));
    previewIndex_ = 0;
    ShowPreview();
}

bool TFormImport::ExecuteVcard(TVcardImport& cards, TUserInfoList& book) {
    OpenVcard(cards, book);
    const bool ok = exec() == QDialog::Accepted;
    Release();
    return ok;
}

void TFormImport::Release() {
    records_ = nullptr;
    cards_ = nullptr;
    book_ = nullptr;
}

int TFormImport::Count() const {
    if (cards_) return static_cast<int>(cards_->Records.size());
    return records_ ? static_cast<int>(records_->size()) : 0;
}

bool TFormImport::Execute(QStringList& records, TUserInfoList& book) {
    Open(records, book);
    const bool ok = exec() == QDialog::Accepted;
    Release();
    return ok;
}

void TFormImport::ShowPreview() {
    const int count = Count();
    if (cards_) {
        // What the card under preview fills: the value, and where it goes.
        const auto rows = previewIndex_ < count
                              ? VcardPreviewRows(cards_->Records[previewIndex_], cardsNow_)
                              : std::vector<std::pair<QString, QString>>();
        SGMain->setRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
            SGMain->setItem(r, 0, new QTableWidgetItem(rows[r].second));
            SGMain->setItem(r, 1, new QTableWidgetItem(rows[r].first));
        }
        LblPageCount->setText(QStringLiteral("%1/%2").arg(previewIndex_ + 1).arg(count));
        ShowDuplicate();
        return;
    }
    const QStringList fields =
        previewIndex_ < count ? SplitCsvFields((*records_)[previewIndex_]) : QStringList();
    for (int r = 0; r < SGMain->rowCount(); ++r)
        SGMain->item(r, 0)->setText(r < fields.size() ? PreviewText(fields[r]) : QString());
    LblPageCount->setText(QStringLiteral("%1/%2").arg(previewIndex_ + 1).arg(count));
    ShowDuplicate();
}

void TFormImport::SBNextClick() {
    const int count = Count();
    if (count == 0) return;
    previewIndex_ = (previewIndex_ + 1) % count;
    ShowPreview();
}

void TFormImport::SBPrevClick() {
    const int count = Count();
    if (count == 0) return;
    previewIndex_ = (previewIndex_ + count - 1) % count;
    ShowPreview();
}

void TFormImport::SBAddContentClick() {
    if (cards_) return;
    QListWidgetItem* chosen = ListBoxContents->currentItem();
    if (!chosen || !chosen->isSelected()) {
        GetPrompter().Inform(QStringLiteral("追加する項目を選択して下さい"));
        return;
    }
    const QString name = chosen->text();
    for (int r = 0; r < SGMain->rowCount(); ++r)
        if (SGMain->item(r, 1)->text() == name) SGMain->item(r, 1)->setText(QString());
    const int row = std::max(0, SGMain->currentRow());
    SGMain->item(row, 1)->setText(name);
    duplicatesStale_ = true;
    ShowDuplicate();
}

void TFormImport::SBDelContentClick() {
    if (cards_) return;
    const int row = SGMain->currentRow();
    if (row >= 0) SGMain->item(row, 1)->setText(QString());
    duplicatesStale_ = true;
    ShowDuplicate();
}

TImportMapping TFormImport::Mapping() const {
    TImportMapping m(SGMain->rowCount(), -1);
    for (int r = 0; r < SGMain->rowCount(); ++r)
        m[r] = ImportDestinationIndex(SGMain->item(r, 1)->text());
    return m;
}

void TFormImport::BtnImportClick() {
    if ((!records_ && !cards_) || !book_) return;
    const int count = Count();
    ProgressBarStatus->setRange(0, std::max(1, count - 1));
    TImportOptions options;
    options.SkipFirstRecord = CBFirstLineDisregarded->isChecked();
    // Large files: the bar moves and the window repaints every few dozen
    // milliseconds; the controls stay disabled so that nothing changes the
    // grid or the records meanwhile.
    QElapsedTimer clock;
    clock.start();
    options.Progress = [&](int index) {
        if (clock.elapsed() < 40 && index + 1 < count) return;
        ProgressBarStatus->setValue(index);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        clock.restart();
    };
    options.MarkForPrint = CBMarkForPrint->isChecked();
    const int first = FirstImported();
    // The choices were made on what the preview showed: the duplicates are
    // those of the current mapping.
    duplicatesStale_ = true;
    const std::vector<TDuplicate> found = Duplicates();
    const std::vector<TDuplicate> incomingDuplicates(
        found.begin() + std::min<int>(first, found.size()), found.end());
    std::vector<TDuplicateAction> actions(actions_.begin() + std::min<int>(first, actions_.size()),
                                          actions_.end());
    std::vector<TDuplicate> shifted = incomingDuplicates;
    for (TDuplicate& d : shifted)
        if (d.EarlierRow >= 0) d.EarlierRow -= first;
    setEnabled(false);
    std::vector<TUserInfo> incoming;
    if (cards_) {
        SetPrintMarkOfOtherCards(*cards_, options.MarkForPrint);
        incoming = std::move(cards_->Records);
        cards_->Records.clear();
    } else {
        incoming = ConvertCsvRecords(*records_, Mapping(), options);
    }
    const TImportSummary summary = ApplyImport(std::move(incoming), shifted, actions, *book_,
                                               [&](int row) { options.Progress(first + row); });
    ProgressBarStatus->setValue(ProgressBarStatus->maximum());
    setEnabled(true);
    GetPrompter().Inform(ImportSummaryMessage(summary));
    accept();
}

std::optional<TImportFile> ReadImportFile(const QString& path) {
    QByteArray bytes;
    if (const FileProblem p = ReadUserFile(path, &bytes); p != FileProblem::None) {
        GetPrompter().Inform(FileProblemMessage(p, path));
        return std::nullopt;
    }
    const QString nothingToImport = QStringLiteral("ファイル %1 には取り込むデータがありません").arg(path);
    TImportFile out;
    const QString suffix = QFileInfo(path).suffix().toLower();
    out.Vcard = suffix == u"vcf" || suffix == u"vcard" || LooksLikeVcard(bytes);
    if (out.Vcard) {
        out.Cards = ConvertVcards(bytes, MakeDateTime(Now()));
    } else {
        // Binary files and text in no encoding we read would come in as junk.
        QString text;
        if (!DecodeCsvText(bytes, &text)) {
            GetPrompter().Inform(nothingToImport);
            return std::nullopt;
        }
        out.Records = SplitCsvRecords(text);
        if (!out.Records.isEmpty()) out.Proposal = ProposeCsvMapping(SplitCsvFields(out.Records[0]));
    }
    if (out.Vcard ? out.Cards.Records.empty() : out.Records.isEmpty()) {
        GetPrompter().Inform(nothingToImport);
        return std::nullopt;
    }
    return out;
}

void TFormImport::OpenFile(TImportFile& file, TUserInfoList& book) {
    if (file.Vcard) {
        OpenVcard(file.Cards, book);
        return;
    }
    if (file.Proposal) SetProposal(*file.Proposal);
    Open(file.Records, book);
}

TImportRun RunImport(TFormImport& form, const QString& path, TUserInfoList& book) {
    std::optional<TImportFile> file = ReadImportFile(path);
    if (!file) return TImportRun::NotRun;
    form.OpenFile(*file, book);
    const bool ok = form.exec() == QDialog::Accepted;
    form.Release();
    return ok ? TImportRun::Imported : TImportRun::Cancelled;
}

}  // namespace q2
