// The "確認" list before printing or mailing.
#include "preflight/FormPreflight.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "mail/FormDirectMail.h"
#include "model/DataPaths.h"
#include "print/FormPrintAddress.h"
#include "zip/ZipReview.h"

namespace q2 {
namespace {

enum Column { kIndex, kName, kField, kSeverity, kMessage, kSuggestion, kColumns };

TPreflightPresenter& Presenter() {
    static TPreflightPresenter presenter;
    return presenter;
}

std::function<void(TUserInfo&, const TUserInfo&)>& AppliedHandler() {
    static std::function<void(TUserInfo&, const TUserInfo&)> handler;
    return handler;
}

// The postal data, read again only when the file changed (after an update).
const TZipIndex* ZipData() {
    static TZipIndex index;
    static QString loadedPath;
    static QDateTime loadedTime;
    static bool loaded = false;
    const QString path = GetZipDataPath();
    const QFileInfo info(path);
    if (!loaded || path != loadedPath || info.lastModified() != loadedTime) {
        loaded = index.Load(path);
        loadedPath = path;
        loadedTime = info.lastModified();
    }
    return loaded ? &index : nullptr;
}

bool NeedsALook(const QList<TPreflightFinding>& findings) {
    for (const TPreflightFinding& f : findings)
        if (f.Severity() != TPreflightSeverity::Info) return true;
    return false;
}

bool Present(TFormPreflight& form) {
    form.OnApplied = AppliedHandler();
    return Presenter() ? Presenter()(form) : true;
}

}  // namespace

TFormPreflight::TFormPreflight(QList<TPreflightFinding> findings, QList<TUserInfo*> records, QString* subject,
                               QString* body, QWidget* parent)
    : QDialog(parent), findings_(std::move(findings)), records_(std::move(records)), subject_(subject),
      body_(body), fixed_(findings_.size(), false) {
    setWindowTitle(QStringLiteral("確認"));
    auto* layout = new QVBoxLayout(this);
    LblSummary = new QLabel(this);
    LblSummary->setWordWrap(true);
    layout->addWidget(LblSummary);
    LVFindings = new QTableWidget(0, kColumns, this);
    LVFindings->setHorizontalHeaderLabels({QStringLiteral("番号"), QStringLiteral("名前"), QStringLiteral("項目"),
                                           QStringLiteral("区分"), QStringLiteral("内容"), QStringLiteral("提案")});
    LVFindings->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVFindings->setSelectionMode(QAbstractItemView::SingleSelection);
    LVFindings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVFindings->setWordWrap(false);
    LVFindings->verticalHeader()->hide();
    LVFindings->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(LVFindings, 1);
    auto* buttons = new QHBoxLayout;
    BtnFix = new QPushButton(QStringLiteral("修正する"), this);
    BtnContinue = new QPushButton(QStringLiteral("このまま続ける"), this);
    BtnAbort = new QPushButton(QStringLiteral("中止"), this);
    buttons->addWidget(BtnFix);
    buttons->addStretch();
    buttons->addWidget(BtnContinue);
    buttons->addWidget(BtnAbort);
    layout->addLayout(buttons);
    resize(1040, 380);
    BtnAbort->setDefault(true);

    connect(BtnFix, &QPushButton::clicked, this, [this] { FixRow(LVFindings->currentRow()); });
    connect(LVFindings, &QTableWidget::cellDoubleClicked, this, [this](int row) { FixRow(row); });
    connect(BtnContinue, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnAbort, &QPushButton::clicked, this, &QDialog::reject);
    connect(LVFindings, &QTableWidget::currentCellChanged, this, [this] { UpdateButtons(); });
    Fill();
}

void TFormPreflight::Fill() {
    int faults = 0, fixable = 0;
    for (const TPreflightFinding& f : findings_) {
        faults += f.Severity() == TPreflightSeverity::Fault;
        fixable += f.Fixable();
    }
    LblSummary->setText(QStringLiteral("このまま進めると次の%1件が問題になります（エラー%2件）。"
                                       "提案のある行は選んで「修正する」を押すと、その項目だけが書き換わります。")
                            .arg(findings_.size())
                            .arg(faults));
    LVFindings->setRowCount(int(findings_.size()));
    for (int row = 0; row < findings_.size(); ++row) {
        const TPreflightFinding& f = findings_[row];
        auto set = [&](int column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            if (f.Severity() == TPreflightSeverity::Fault) item->setForeground(QColor(0xB0, 0x00, 0x20));
            LVFindings->setItem(row, column, item);
        };
        set(kIndex, f.Record < 0 ? QStringLiteral("－") : QString::number(f.Record + 1));
        set(kName, f.Record < 0 ? QStringLiteral("（テンプレート）") : f.Name);
        set(kField, FieldCaption(f.Field));
        set(kSeverity, SeverityText(f.Severity()));
        set(kMessage, f.Message);
        set(kSuggestion, fixed_[row] ? QStringLiteral("修正済：") + f.Suggestion : f.Suggestion);
    }
    LVFindings->resizeColumnsToContents();
    if (!findings_.isEmpty() && LVFindings->currentRow() < 0) LVFindings->setCurrentCell(0, 0);
    UpdateButtons();
}

void TFormPreflight::UpdateButtons() {
    const int row = LVFindings->currentRow();
    BtnFix->setEnabled(row >= 0 && row < findings_.size() && findings_[row].Fixable() && !fixed_[row]);
}

bool TFormPreflight::FixRow(int row) {
    if (row < 0 || row >= findings_.size() || fixed_[row]) return false;
    const TPreflightFinding& f = findings_[row];
    TUserInfo* record = f.Record >= 0 && f.Record < records_.size() ? records_[f.Record] : nullptr;
    const TUserInfo before = record ? *record : TUserInfo();
    if (!ApplyFix(f, record, subject_, body_)) return false;
    fixed_[row] = true;
    LVFindings->item(row, kSuggestion)->setText(QStringLiteral("修正済：") + f.Suggestion);
    UpdateButtons();
    if (record && OnApplied) OnApplied(*record, before);
    return true;
}

void SetPreflightPresenter(TPreflightPresenter presenter) { Presenter() = std::move(presenter); }

void InstallPreflightDialog(std::function<void(TUserInfo&, const TUserInfo&)> onApplied) {
    AppliedHandler() = std::move(onApplied);
    SetPreflightPresenter([](TFormPreflight& form) { return form.exec() == QDialog::Accepted; });
    SetBeforePrintCheck(PreflightBeforePrint);
    SetBeforeMailCheck(PreflightBeforeMail);
}

bool PreflightBeforePrint(QWidget* parent, const QList<const TUserInfo*>& records, const TPieceSetup& setup) {
    if (!Presenter()) return true;
    const QList<TPreflightFinding> findings = CheckPrint(records, setup, {ZipData()});
    if (!NeedsALook(findings)) return true;
    // The print list holds the book's own records, lent read-only to the
    // print dialog; a fix chosen here is the user's edit of that record.
    QList<TUserInfo*> editable;
    for (const TUserInfo* r : records) editable << const_cast<TUserInfo*>(r);
    TFormPreflight form(findings, editable, nullptr, nullptr, parent);
    return Present(form);
}

bool PreflightBeforeMail(QWidget* parent, const std::vector<TUserInfo*>& records, QString& subject,
                         QString& body) {
    if (!Presenter()) return true;
    const QList<const TUserInfo*> list(records.begin(), records.end());
    const QList<TPreflightFinding> findings = CheckMail(list, subject, body);
    if (!NeedsALook(findings)) return true;
    TFormPreflight form(findings, QList<TUserInfo*>(records.begin(), records.end()), &subject, &body, parent);
    return Present(form);
}

}  // namespace q2
