// The bulk mail dialog and its recipient list.
#include "FormDirectMail.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "FormSendStatus.h"
#include "MailMessage.h"
#include "MailTemplate.h"
#include "SendMailThread.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"

namespace q2 {

namespace {
const QString kTemplateFilter = QStringLiteral("メールテンプレートファイル (*.mtl)");
}

// One row per record, produced when the view asks for it.
class TRecipientListModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRecords(const std::vector<TUserInfo*>* records) {
        beginResetModel();
        records_ = records;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !records_ ? 0 : static_cast<int>(records_->size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 7;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !records_ || index.row() >= rowCount()) return {};
        const TUserInfo& r = *(*records_)[index.row()];
        switch (index.column()) {
            case 0:
                return r.PersonalFullName();
            case 1:
                return r.PerSonalHonorificTitle;
            case 2:
                return RecipientAddress(r);
            case 3:
                return r.CommonInsertStr_1;
            case 4:
                return r.CommonInsertStr_2;
            case 5:
                return r.CommonInsertStr_3;
            case 6:
                return r.CommonInsertStr_4;
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        static const char16_t* const kHeaders[] = {u"名前",   u"敬称",   u"ﾒｰﾙｱﾄﾞﾚｽ", u"差込１",
                                                   u"差込２", u"差込３", u"差込４"};
        if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 6) return {};
        return QString::fromUtf16(kHeaders[section]);
    }

private:
    const std::vector<TUserInfo*>* records_ = nullptr;
};

TFormDirectMail::TFormDirectMail(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("同報メール送信"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Contents = new QWidget(this);

    LblSenderList = new QLabel(QStringLiteral("送信先一覧"), Contents);
    model_ = new TRecipientListModel(this);
    LVAddress = new QTableView(Contents);
    LVAddress->setModel(model_);
    LVAddress->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVAddress->setSelectionMode(QAbstractItemView::SingleSelection);
    LVAddress->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVAddress->verticalHeader()->hide();
    LVAddress->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    LVAddress->horizontalHeader()->setHighlightSections(false);
    LVAddress->setColumnWidth(0, 120);
    LVAddress->setColumnWidth(1, 50);
    LVAddress->setColumnWidth(2, 190);

    GBMakeMail = new QGroupBox(QStringLiteral("メール作成"), Contents);
    LblMailSubject = new QLabel(QStringLiteral("件名"), GBMakeMail);
    EditSubject = new QLineEdit(GBMakeMail);
    LblMailBody = new QLabel(QStringLiteral("本文"), GBMakeMail);
    MemoBody = new QPlainTextEdit(GBMakeMail);
    auto button = [this](const char16_t* caption, const char* placeholder) {
        auto* b = new QPushButton(QString::fromUtf16(caption), GBMakeMail);
        // The caret stays in the edit box the placeholder goes into.
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, placeholder] { InsertPlaceholder(QString::fromLatin1(placeholder)); });
        return b;
    };
    BtnInsertName = button(u"差込[名前]", "[NAME]");
    BtnInsertNameTitle = button(u"差込[敬称]", "[NAME_TITLE]");
    BtnInsertStr_1 = button(u"差込１", "[STR_1]");
    BtnInsertStr_2 = button(u"差込２", "[STR_2]");
    BtnInsertStr_3 = button(u"差込３", "[STR_3]");
    BtnInsertStr_4 = button(u"差込４", "[STR_4]");
    auto* make = new QGridLayout(GBMakeMail);
    make->addWidget(LblMailSubject, 0, 0);
    make->addWidget(EditSubject, 0, 1);
    make->addWidget(LblMailBody, 1, 0, Qt::AlignTop);
    make->addWidget(MemoBody, 1, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BtnInsertName, BtnInsertNameTitle, BtnInsertStr_1, BtnInsertStr_2,
                           BtnInsertStr_3, BtnInsertStr_4})
        buttons->addWidget(b);
    make->addLayout(buttons, 2, 1);

    GBMailPreview = new QGroupBox(QStringLiteral("送信イメージ"), Contents);
    LblPreviewMailSubject = new QLabel(QStringLiteral("件名"), GBMailPreview);
    EditPrevSubject = new QLineEdit(GBMailPreview);
    EditPrevSubject->setReadOnly(true);
    LblPreviewMailBody = new QLabel(QStringLiteral("本文"), GBMailPreview);
    MemoPrevBody = new QPlainTextEdit(GBMailPreview);
    MemoPrevBody->setReadOnly(true);
    auto* prev = new QGridLayout(GBMailPreview);
    prev->addWidget(LblPreviewMailSubject, 0, 0);
    prev->addWidget(EditPrevSubject, 0, 1);
    prev->addWidget(LblPreviewMailBody, 1, 0, Qt::AlignTop);
    prev->addWidget(MemoPrevBody, 1, 1);

    BtnOpen = new QPushButton(QStringLiteral("テンプレートを開く"), Contents);
    BtnSave = new QPushButton(QStringLiteral("テンプレートとして保存"), Contents);
    BtnSend = new QPushButton(QStringLiteral("送信"), Contents);
    BtnCancel = new QPushButton(QStringLiteral("閉じる"), Contents);
    for (QPushButton* b : {BtnOpen, BtnSave, BtnSend, BtnCancel}) b->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BtnOpen);
    bottom->addWidget(BtnSave);
    bottom->addStretch();
    bottom->addWidget(BtnSend);
    bottom->addWidget(BtnCancel);
    auto* texts = new QHBoxLayout;
    texts->addWidget(GBMakeMail, 1);
    texts->addWidget(GBMailPreview, 1);
    auto* contents = new QVBoxLayout(Contents);
    contents->setContentsMargins(0, 0, 0, 0);
    contents->addWidget(LblSenderList);
    contents->addWidget(LVAddress, 2);
    contents->addLayout(texts, 3);
    contents->addLayout(bottom);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Contents);
    resize(900, 640);

    // A child of the dialog, so that the modal dialog lets it be clicked; the
    // run disables Contents rather than the dialog, which would disable it too.
    FormSendStatus = new TFormSendStatus(this);
    FormSendStatus->setModal(false);

    EditSubject->installEventFilter(this);
    MemoBody->installEventFilter(this);
    connect(EditSubject, &QLineEdit::textChanged, this, &TFormDirectMail::UpdatePreview);
    connect(MemoBody, &QPlainTextEdit::textChanged, this, &TFormDirectMail::UpdatePreview);
    connect(LVAddress->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFormDirectMail::UpdatePreview);
    connect(BtnOpen, &QPushButton::clicked, this, &TFormDirectMail::BtnOpenClick);
    connect(BtnSave, &QPushButton::clicked, this, &TFormDirectMail::BtnSaveClick);
    connect(BtnSend, &QPushButton::clicked, this, &TFormDirectMail::BtnSendClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormDirectMail::reject);
    insertTarget_ = EditSubject;
}

TFormDirectMail::~TFormDirectMail() {
    // A run that is still going needs this thread to answer its calls.
    if (thread_) {
        FormSendStatus->BtnCancelClick();
        while (!thread_->wait(10)) QCoreApplication::processEvents();
    }
}

void TFormDirectMail::SetUp(const std::vector<TUserInfo*>& records, const TthMailConfig& config) {
    records_ = &records;
    config_ = &config;
    handedOverTotal_ = 0;
    model_->SetRecords(records_);
}

int TFormDirectMail::Execute(const std::vector<TUserInfo*>& records, const TthMailConfig& config) {
    SetUp(records, config);
    const int result = exec();
    model_->SetRecords(nullptr);
    records_ = nullptr;
    config_ = nullptr;
    return result;
}

void TFormDirectMail::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void TFormDirectMail::FormShow() {
    EditSubject->clear();
    MemoBody->clear();
    EditPrevSubject->clear();
    MemoPrevBody->clear();
    LVAddress->clearSelection();
    keptSubject_.clear();
    keptBody_.clear();
    insertTarget_ = EditSubject;
    EditSubject->setFocus();
}

bool TFormDirectMail::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == EditSubject || watched == MemoBody))
        insertTarget_ = static_cast<QWidget*>(watched);
    return QDialog::eventFilter(watched, event);
}

void TFormDirectMail::InsertPlaceholder(const QString& placeholder) {
    if (insertTarget_ == MemoBody)
        MemoBody->textCursor().insertText(placeholder);
    else
        EditSubject->insert(placeholder);
}

int TFormDirectMail::SelectedRow() const {
    const QModelIndexList rows = LVAddress->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString TFormDirectMail::SubjectText() const {
    return EditSubject->text();
}

QString TFormDirectMail::BodyText() const {
    return MemoBody->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

void TFormDirectMail::UpdatePreview() {
    const int row = SelectedRow();
    if (row < 0 || !records_ || row >= static_cast<int>(records_->size())) {
        EditPrevSubject->setText(EditSubject->text());
        MemoPrevBody->setPlainText(MemoBody->toPlainText());
        return;
    }
    const TUserInfo& r = *(*records_)[row];
    EditPrevSubject->setText(Personalize(EditSubject->text(), r));
    MemoPrevBody->setPlainText(Personalize(MemoBody->toPlainText(), r));
}

bool TFormDirectMail::OpenTemplate(const QString& path) {
    TMailTemplate t;
    if (FileProblem p; !LoadMailTemplate(path, &t, &p)) {
        GetPrompter().Inform(FileProblemMessage(p, path));
        return false;
    }
    EditSubject->setText(t.Subject);
    QString body = t.Body;
    MemoBody->setPlainText(body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    keptSubject_ = EditSubject->text();
    keptBody_ = MemoBody->toPlainText();
    return true;
}

bool TFormDirectMail::SaveTemplate(const QString& path) {
    bool lost = false;
    if (SaveProblem p; !SaveMailTemplate(path, SubjectText(), BodyText(), &lost, &p)) {
        GetPrompter().Inform(CannotCreateMessage(p, path));
        return false;
    }
    keptSubject_ = EditSubject->text();
    keptBody_ = MemoBody->toPlainText();
    if (lost)
        GetPrompter().Inform(
            QStringLiteral("保存できない文字があったため、その文字を「?」にして保存しました"));
    return true;
}

void TFormDirectMail::BtnOpenClick() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("テンプレートを開く"),
                                                      {}, kTemplateFilter);
    if (!path.isEmpty()) OpenTemplate(path);
}

void TFormDirectMail::BtnSaveClick() {
    QFileDialog dialog(this, QStringLiteral("テンプレートとして保存"), {}, kTemplateFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("mtl"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    SaveTemplate(dialog.selectedFiles().first());
}

TBeforeMailCheck& BeforeMailCheck() {
    static TBeforeMailCheck check;
    return check;
}

void SetBeforeMailCheck(TBeforeMailCheck check) { BeforeMailCheck() = std::move(check); }

void TFormDirectMail::BtnSendClick() {
    if (thread_ || !records_ || !config_) return;
    // The findings of the batch come first; a substitute taken there changes the template.
    QString subject = EditSubject->text(), body = MemoBody->toPlainText();
    const bool goOn = !BeforeMailCheck() || BeforeMailCheck()(this, *records_, subject, body);
    if (subject != EditSubject->text()) EditSubject->setText(subject);
    if (body != MemoBody->toPlainText()) MemoBody->setPlainText(body);
    if (!goOn) return;
    if (!GetPrompter().Ask(QStringLiteral("送信を開始しますがよろしいですか？"))) return;
    Contents->setEnabled(false);
    FormSendStatus->show();
    thread_ = std::make_unique<TSendMailThread>(*config_, *records_, SubjectText(), BodyText(),
                                                FormSendStatus, TMailTransportOptions{});
    connect(thread_.get(), &QThread::finished, this, &TFormDirectMail::OnThreadFinished,
            Qt::QueuedConnection);
    thread_->start();
}

void TFormDirectMail::OnThreadFinished() {
    if (!thread_) return;
    thread_->wait();
    const TSendMailResult result = thread_->Result();
    handedOverTotal_ += result.HandedOver;
    Contents->setEnabled(true);
    FormSendStatus->hide();
    if (!result.ErrorText.isEmpty())
        GetPrompter().Inform(result.ErrorText);
    else if (result.Cancelled)
        GetPrompter().Inform(kCancelledText);
    else
        GetPrompter().Inform(records_ ? CompletionText(result, *records_) : kCompletedText);
    thread_.reset();
    emit SendFinished();
}

void TFormDirectMail::closeEvent(QCloseEvent* event) {
    if (thread_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool TFormDirectMail::HasUnkeptText() const {
    const QString subject = EditSubject->text(), body = MemoBody->toPlainText();
    if (subject.isEmpty() && body.isEmpty()) return false;
    return subject != keptSubject_ || body != keptBody_;
}

// The close button, Escape and the window's close box all come here.
void TFormDirectMail::reject() {
    if (thread_) return;
    if (HasUnkeptText() && !GetPrompter().Ask(kCloseUnkeptQuestion)) return;
    QDialog::reject();
}

bool ShowDirectMailDialog(QWidget* parent, const std::vector<TUserInfo*>& records,
                          const TthMailConfig& config) {
    TFormDirectMail dialog(parent);
    dialog.Execute(records, config);
    return dialog.HandedOverTotal() > 0;
}

}  // namespace q2
