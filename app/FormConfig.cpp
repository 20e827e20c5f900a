// The settings dialog.
#include "app/FormConfig.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/FormEditPassword.h"
#include "app/FormInputBox.h"
#include "model/DataPaths.h"
#include "model/ListFile.h"
#include "model/UserInfoList.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

QLineEdit* NewEdit(QWidget* parent, const char* name, bool imeOff = true) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    if (imeOff) e->setAttribute(Qt::WA_InputMethodEnabled, false);
    return e;
}

QLineEdit* NewPasswordEdit(QWidget* parent, const char* name) {
    QLineEdit* e = NewEdit(parent, name);
    e->setEchoMode(QLineEdit::Password);
    return e;
}

QPushButton* NewButton(QWidget* parent, const QString& text, const char* name) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QComboBox* NewSecurityBox(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems({QStringLiteral("なし"), QStringLiteral("STARTTLS"), QStringLiteral("SSL/TLS")});
    return c;
}

// An optional sign and decimal digits, within the range of a port field.
bool ParseInteger(const QString& text, qint32* value) {
    static const QRegularExpression re(QStringLiteral("^[+-]?[0-9]+$"));
    if (!re.match(text).hasMatch()) return false;
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (ok) *value = v;
    return ok;
}

QPlainTextEdit* NewCaution(QWidget* parent, const QString& first, const QString& second) {
    auto* m = new QPlainTextEdit(parent);
    m->setReadOnly(true);
    m->setPlainText(QStringLiteral("- ご注意 -\n\n") + first + QLatin1Char('\n') + second);
    m->setMaximumHeight(80);
    return m;
}

}  // namespace

TFormConfig::TFormConfig(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("設定"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);
    PCConfig = new QTabWidget(this);
    layout->addWidget(PCConfig);

    // Lists.
    auto* lists = new QWidget(PCConfig);
    auto* listsLayout = new QHBoxLayout(lists);
    struct Group {
        const char* caption;
        QListWidget** box;
        QPushButton** add;
        QPushButton** edit;
        QPushButton** del;
        const char* names[4];
    };
    const Group groups[] = {
        {"分類１", &LBCategory_1, &BtnAddCategory_1, &BtnEditCategory_1, &BtnDeleteCategory_1,
         {"LBCategory_1", "BtnAddCategory_1", "BtnEditCategory_1", "BtnDeleteCategory_1"}},
        {"分類２", &LBCategory_2, &BtnAddCategory_2, &BtnEditCategory_2, &BtnDeleteCategory_2,
         {"LBCategory_2", "BtnAddCategory_2", "BtnEditCategory_2", "BtnDeleteCategory_2"}},
        {"敬称一覧", &LBTitle, &BtnAddTitle, &BtnEditTitle, &BtnDeleteTitle,
         {"LBTitle", "BtnAddTitle", "BtnEditTitle", "BtnDeleteTitle"}},
    };
    for (int g = 0; g < 3; ++g) {
        auto* box = new QGroupBox(QString::fromUtf8(groups[g].caption), lists);
        auto* v = new QVBoxLayout(box);
        *groups[g].box = new QListWidget(box);
        (*groups[g].box)->setObjectName(QLatin1String(groups[g].names[0]));
        v->addWidget(*groups[g].box);
        auto* buttons = new QHBoxLayout;
        *groups[g].add = NewButton(box, QStringLiteral("追加"), groups[g].names[1]);
        *groups[g].edit = NewButton(box, QStringLiteral("編集"), groups[g].names[2]);
        *groups[g].del = NewButton(box, QStringLiteral("削除"), groups[g].names[3]);
        for (QPushButton* b : {*groups[g].add, *groups[g].edit, *groups[g].del}) buttons->addWidget(b);
        v->addLayout(buttons);
        connect(*groups[g].add, &QPushButton::clicked, this, [this, g] { LBAdd(g); });
        connect(*groups[g].edit, &QPushButton::clicked, this, [this, g] { LBEdit(g); });
        connect(*groups[g].del, &QPushButton::clicked, this, [this, g] { LBDel(g); });
        listsLayout->addWidget(box);
    }
    PCConfig->addTab(lists, QStringLiteral("分類・敬称設定"));

    // Mail.
    auto* mailPage = new QWidget(PCConfig);
    auto* mailLayout = new QVBoxLayout(mailPage);
    auto* smtp = new QGroupBox(QStringLiteral("SMTPサーバー設定"), mailPage);
    auto* smtpForm = new QFormLayout(smtp);
    EditSenderName = NewEdit(smtp, "EditSenderName", false);
    EditSenderMailAddress = NewEdit(smtp, "EditSenderMailAddress");
    EditSMTPServerAddress = NewEdit(smtp, "EditSMTPServerAddress");
    EditSMTPPortNo = NewEdit(smtp, "EditSMTPPortNo");
    BtnSMTPPortNo = NewButton(smtp, QStringLiteral("標準"), "BtnSMTPPortNo");
    CBSMTPSecurity = NewSecurityBox(smtp, "CBSMTPSecurity");
    smtpForm->addRow(QStringLiteral("送信者名"), EditSenderName);
    smtpForm->addRow(QStringLiteral("メールアドレス"), EditSenderMailAddress);
    smtpForm->addRow(QStringLiteral("SMTPサーバーのアドレス"), EditSMTPServerAddress);
    auto* smtpPort = new QHBoxLayout;
    smtpPort->addWidget(EditSMTPPortNo);
    smtpPort->addWidget(BtnSMTPPortNo);
    smtpForm->addRow(QStringLiteral("SMTP接続に使うポート番号(標準：25)"), smtpPort);
    smtpForm->addRow(QStringLiteral("接続の保護"), CBSMTPSecurity);
    auto* auth = new QGroupBox(smtp);
    auto* authForm = new QFormLayout(auth);
    CBUseSmtpAuth = new QCheckBox(QStringLiteral("SMTP認証を使用する"), auth);
    EditSMTPAccount = NewEdit(auth, "EditSMTPAccount");
    EditSMTPPassword = NewPasswordEdit(auth, "EditSMTPPassword");
    authForm->addRow(CBUseSmtpAuth);
    authForm->addRow(QStringLiteral("SMTPアカウント"), EditSMTPAccount);
    authForm->addRow(QStringLiteral("パスワード"), EditSMTPPassword);
    smtpForm->addRow(auth);
    mailLayout->addWidget(smtp);
    auto* pop = new QGroupBox(mailPage);
    auto* popForm = new QFormLayout(pop);
    CBUsePopBeforeSMTP = new QCheckBox(QStringLiteral("Pop Before SMTPによる認証を使用する"), pop);
    EditPOP3ServerAddress = NewEdit(pop, "EditPOP3ServerAddress");
    EditPOP3PortNo = NewEdit(pop, "EditPOP3PortNo");
    BtnPOP3PortNo = NewButton(pop, QStringLiteral("標準"), "BtnPOP3PortNo");
    CBPOP3Security = NewSecurityBox(pop, "CBPOP3Security");
    EditPOP3Account = NewEdit(pop, "EditPOP3Account");
    EditPop3Password = NewPasswordEdit(pop, "EditPop3Password");
    popForm->addRow(CBUsePopBeforeSMTP);
    popForm->addRow(QStringLiteral("POP3サーバーのアドレス"), EditPOP3ServerAddress);
    auto* popPort = new QHBoxLayout;
    popPort->addWidget(EditPOP3PortNo);
    popPort->addWidget(BtnPOP3PortNo);
    popForm->addRow(QStringLiteral("POP接続に使うポート番号(標準：110)"), popPort);
    popForm->addRow(QStringLiteral("接続の保護"), CBPOP3Security);
    popForm->addRow(QStringLiteral("POP3アカウント"), EditPOP3Account);
    popForm->addRow(QStringLiteral("パスワード"), EditPop3Password);
    mailLayout->addWidget(pop);
    PCConfig->addTab(mailPage, QStringLiteral("メール送信設定"));

    // Passwords.
    auto* passPage = new QWidget(PCConfig);
    auto* passLayout = new QVBoxLayout(passPage);
    auto* soft = new QGroupBox(passPage);
    auto* softLayout = new QVBoxLayout(soft);
    CBUseSoftPassword = new QCheckBox(QStringLiteral("ソフト起動時にパスワードを設定する"), soft);
    EditSoftPassword = NewPasswordEdit(soft, "EditSoftPassword");
    EditSoftPassword->setReadOnly(true);
    BtnSoftPassword = NewButton(soft, QStringLiteral("パスワードの設定・変更"), "BtnSoftPassword");
    softLayout->addWidget(CBUseSoftPassword);
    softLayout->addWidget(EditSoftPassword);
    softLayout->addWidget(BtnSoftPassword);
    softLayout->addWidget(NewCaution(soft, QStringLiteral("パスワードを忘れると、ソフトを起動できなくなりますので十"),
                                     QStringLiteral("分注意してください。")));
    passLayout->addWidget(soft);
    auto* file = new QGroupBox(passPage);
    auto* fileLayout = new QVBoxLayout(file);
    CBUseFilePassword = new QCheckBox(QStringLiteral("現在、編集中の住所録にパスワードを設定する"), file);
    EditFilePassword = NewPasswordEdit(file, "EditFilePassword");
    EditFilePassword->setReadOnly(true);
    BtnFilePassword = NewButton(file, QStringLiteral("パスワードの設定・変更"), "BtnFilePassword");
    fileLayout->addWidget(CBUseFilePassword);
    fileLayout->addWidget(EditFilePassword);
    fileLayout->addWidget(BtnFilePassword);
    fileLayout->addWidget(NewCaution(file, QStringLiteral("パスワードを忘れると、編集中の住所録を開くことができなく"),
                                     QStringLiteral("なりますので十分注意してください。")));
    passLayout->addWidget(file);
    PCConfig->addTab(passPage, QStringLiteral("パスワード設定"));

    // Other.
    auto* etc = new QWidget(PCConfig);
    auto* etcLayout = new QVBoxLayout(etc);
    auto* load = new QGroupBox(etc);
    auto* loadLayout = new QVBoxLayout(load);
    CBUseAutoLoadFile = new QCheckBox(QStringLiteral("ソフト起動時に自動的に下記ファイルを読み込む"), load);
    EditAutoLoadFile = NewEdit(load, "EditAutoLoadFile");
    EditAutoLoadFile->setReadOnly(true);
    BtnAutoLoadFileSelect = NewButton(load, QStringLiteral("選択"), "BtnAutoLoadFileSelect");
    loadLayout->addWidget(CBUseAutoLoadFile);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(EditAutoLoadFile, 1);
    pathRow->addWidget(BtnAutoLoadFileSelect);
    loadLayout->addLayout(pathRow);
    etcLayout->addWidget(load);
    etcLayout->addStretch();
    PCConfig->addTab(etc, QStringLiteral("その他"));

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    BtnSave = NewButton(this, QStringLiteral("設定"), "BtnSave");
    BtnCancel = NewButton(this, QStringLiteral("キャンセル"), "BtnCancel");
    bottom->addWidget(BtnSave);
    bottom->addWidget(BtnCancel);
    layout->addLayout(bottom);

    InputBox = new TFormInputBox(this);
    EditPassword = new TFormEditPassword(this);

    connect(BtnSave, &QPushButton::clicked, this, [this] {
        if (BtnSaveClick()) accept();
    });
    connect(BtnCancel, &QPushButton::clicked, this, &TFormConfig::BtnCancelClick);
    // The standard port follows the connection security chosen.
    connect(BtnSMTPPortNo, &QPushButton::clicked, this, [this] {
        const int s = CBSMTPSecurity->currentIndex();
        EditSMTPPortNo->setText(s == 1 ? QStringLiteral("587") : s == 2 ? QStringLiteral("465") : QStringLiteral("25"));
    });
    connect(BtnPOP3PortNo, &QPushButton::clicked, this, [this] {
        EditPOP3PortNo->setText(CBPOP3Security->currentIndex() == 2 ? QStringLiteral("995")
                                                                     : QStringLiteral("110"));
    });
    for (QCheckBox* c : {CBUseSmtpAuth, CBUsePopBeforeSMTP, CBUseSoftPassword, CBUseFilePassword,
                         CBUseAutoLoadFile})
        connect(c, &QCheckBox::toggled, this, &TFormConfig::UpdateEnabling);
    connect(BtnSoftPassword, &QPushButton::clicked, this, &TFormConfig::BtnSoftPasswordClick);
    connect(BtnFilePassword, &QPushButton::clicked, this, &TFormConfig::BtnFilePasswordClick);
    connect(BtnAutoLoadFileSelect, &QPushButton::clicked, this,
            &TFormConfig::BtnAutoLoadFileSelectClick);
    ChooseBookFile = [this] {
        return GetDialogRunner().OpenFileName(
            this, {QStringLiteral("住所録を開く"), QString(), QString(),
                   QStringLiteral("Quintaro2 ファイル (*.QT2 *.qt2)"), QString()});
    };
}

TFormConfig::~TFormConfig() = default;

QListWidget* TFormConfig::ListOf(int group) const {
    return group == 0 ? LBCategory_1 : group == 1 ? LBCategory_2 : LBTitle;
}

QString TFormConfig::CaptionOf(int group) const {
    return group == 0 ? QStringLiteral("分類１") : group == 1 ? QStringLiteral("分類２")
                                                              : QStringLiteral("敬称一覧");
}

QString TFormConfig::PathOf(int group) const {
    return group == 0 ? GetCategory1Path() : group == 1 ? GetCategory2Path() : GetNameTitlePath();
}

int TFormConfig::Execute(TUserInfoList& book, TthMailConfig& mail) {
    book_ = &book;
    mail_ = &mail;
    FormShow();
    const int result = GetDialogRunner().Exec(*this);
    book_ = nullptr;
    mail_ = nullptr;
    return result;
}

void TFormConfig::FormShow() {
    mayClose_ = false;
    for (int g = 0; g < 3; ++g) {
        QListWidget* box = ListOf(g);
        box->clear();
        bool exists = false;
        const QStringList items = LoadListFile(PathOf(g), &exists);
        if (!exists) SaveListFile(PathOf(g), {});
        box->addItems(items);
        if (box->count() > 0) box->setCurrentRow(0);
    }
    if (mail_) {
        const TthMailConfig& m = *mail_;
        EditSenderName->setText(m.SenderName);
        EditSenderMailAddress->setText(m.SenderMailAddress);
        EditSMTPServerAddress->setText(m.SMTPServerAddress);
        EditSMTPPortNo->setText(QString::number(m.SMTPPortNo));
        CBSMTPSecurity->setCurrentIndex(static_cast<int>(m.SMTPSecurity));
        CBUseSmtpAuth->setChecked(m.UseSmtpAuth);
        EditSMTPAccount->setText(m.SMTPAccount);
        EditSMTPPassword->setText(m.SMTPPassword);
        CBUsePopBeforeSMTP->setChecked(m.UsePopBeforeSMTP);
        EditPOP3ServerAddress->setText(m.POP3ServerAddress);
        EditPOP3PortNo->setText(QString::number(m.POP3PortNo));
        CBPOP3Security->setCurrentIndex(static_cast<int>(m.POP3Security));
        EditPOP3Account->setText(m.POP3Account);
        EditPop3Password->setText(m.Pop3Password);
        CBUseSoftPassword->setChecked(m.UseSoftPassword);
        EditSoftPassword->setText(m.SoftPassword);
    }
    if (book_) {
        CBUseFilePassword->setChecked(book_->HasPassword);
        EditFilePassword->setText(book_->Password);
    }
    CBUseAutoLoadFile->setChecked(GetUseAutoLoadFile());
    EditAutoLoadFile->setText(GetAutoLoadFileName());
    PCConfig->setCurrentIndex(0);
    UpdateEnabling();
}

void TFormConfig::UpdateEnabling() {
    QPushButton* edits[] = {BtnEditCategory_1, BtnEditCategory_2, BtnEditTitle};
    QPushButton* dels[] = {BtnDeleteCategory_1, BtnDeleteCategory_2, BtnDeleteTitle};
    for (int g = 0; g < 3; ++g) {
        const bool any = ListOf(g)->count() > 0;
        edits[g]->setEnabled(any);
        dels[g]->setEnabled(any);
    }
    const bool auth = CBUseSmtpAuth->isChecked();
    EditSMTPAccount->setEnabled(auth);
    EditSMTPPassword->setEnabled(auth);
    const bool pop = CBUsePopBeforeSMTP->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{EditPOP3ServerAddress, EditPOP3PortNo, BtnPOP3PortNo,
                                                      CBPOP3Security, EditPOP3Account, EditPop3Password})
        w->setEnabled(pop);
    BtnSoftPassword->setEnabled(CBUseSoftPassword->isChecked());
    BtnFilePassword->setEnabled(CBUseFilePassword->isChecked());
    BtnAutoLoadFileSelect->setEnabled(CBUseAutoLoadFile->isChecked());
}

void TFormConfig::LBAdd(int group) {
    const QString caption = CaptionOf(group);
    const QString text = InputBox->Execute(caption + QStringLiteral("追加"),
                                           caption + QStringLiteral("に追加するアイテム名"), QString(),
                                           QStringLiteral("追加"), QStringLiteral("キャンセル"));
    if (text.isEmpty()) return;
    ListOf(group)->addItem(text);
    ListOf(group)->setCurrentRow(ListOf(group)->count() - 1);
    UpdateEnabling();
}

void TFormConfig::LBEdit(int group) {
    QListWidgetItem* item = ListOf(group)->currentItem();
    if (!item) {
        GetPrompter().Inform(QStringLiteral("編集するアイテムを選択してください"));
        return;
    }
    const QString text = InputBox->Execute(CaptionOf(group) + QStringLiteral("編集"),
                                           QStringLiteral("新しいアイテム名"), item->text(),
                                           QStringLiteral("編集"), QStringLiteral("キャンセル"));
    if (!text.isEmpty()) item->setText(text);
}

void TFormConfig::LBDel(int group) {
    QListWidget* box = ListOf(group);
    QListWidgetItem* item = box->currentItem();
    if (!item) {
        GetPrompter().Inform(QStringLiteral("削除するアイテムを選択してください"));
        return;
    }
    if (GetPrompter().Ask(item->text() + QStringLiteral("を削除してよろしいですか？"))) {
        delete box->takeItem(box->row(item));
        UpdateEnabling();
    }
}

void TFormConfig::BtnSoftPasswordClick() {
    if (EditPassword->Execute() == QDialog::Accepted) EditSoftPassword->setText(EditPassword->NewPassword());
}

void TFormConfig::BtnFilePasswordClick() {
    if (EditPassword->Execute() == QDialog::Accepted) EditFilePassword->setText(EditPassword->NewPassword());
}

void TFormConfig::BtnAutoLoadFileSelectClick() {
    const QString path = ChooseBookFile ? ChooseBookFile() : QString();
    if (!path.isEmpty()) EditAutoLoadFile->setText(path);
}

bool TFormConfig::BtnSaveClick() {
    auto fail = [this](const char* message) {
        GetPrompter().Inform(QString::fromUtf8(message));
        mayClose_ = false;
        return false;
    };
    auto blank = [](const QLineEdit* e) { return Trim(e->text()).isEmpty(); };
    qint32 smtpPort = 0, popPort = 110;
    if (!ParseInteger(EditSMTPPortNo->text(), &smtpPort))
        return fail("SMTP接続に使うポート番号は半角数字で入力してください");
    if (CBUseSmtpAuth->isChecked()) {
        if (blank(EditSMTPAccount)) return fail("SMTP認証を使用する場合は、SMTPアカウントを入力してください");
        if (blank(EditSMTPPassword)) return fail("SMTP認証を使用する場合は、パスワードを入力してください");
    }
    if (CBUsePopBeforeSMTP->isChecked()) {
        if (blank(EditPOP3ServerAddress))
            return fail("Pop Before SMTPによる認証を使用する場合は、POP3サーバーのアドレスを入力してください");
        if (!ParseInteger(EditPOP3PortNo->text(), &popPort))
            return fail("POP接続に使うポート番号は半角数字で入力してください");
        if (blank(EditPOP3Account))
            return fail("Pop Before SMTPによる認証を使用する場合は、POP3アカウントを入力してください");
        if (blank(EditPop3Password))
            return fail("Pop Before SMTPによる認証を使用する場合は、パスワードを入力してください");
    } else if (!ParseInteger(EditPOP3PortNo->text(), &popPort)) {
        popPort = 110;
        EditPOP3PortNo->setText(QStringLiteral("110"));
    }
    if (CBUseSoftPassword->isChecked() && blank(EditSoftPassword))
        return fail("ソフト起動時のパスワードを設定する場合は、パスワードを入力してください");
    if (CBUseFilePassword->isChecked() && blank(EditFilePassword))
        return fail("住所録にパスワードを設定する場合は、パスワードを入力してください");
    if (CBUseAutoLoadFile->isChecked()) {
        if (blank(EditAutoLoadFile))
            return fail("ソフト起動時に自動的に下記ファイルを読み込む機能を使用する場合は、ファイルの場所を指定してください");
        if (!QFileInfo(EditAutoLoadFile->text()).isFile())
            return fail("ソフト起動時に自動的に下記ファイルを読み込む機能で指定したファイルが存在しません");
    }
    mayClose_ = true;

    // Storing stops at the first file that cannot be written; the dialog still closes.
    for (int g = 0; g < 3; ++g) {
        QStringList items;
        for (int i = 0; i < ListOf(g)->count(); ++i) items << ListOf(g)->item(i)->text();
        if (SaveProblem p; !SaveListFile(PathOf(g), items, &p)) {
            GetPrompter().Inform(CannotCreateMessage(p, PathOf(g)));
            return true;
        }
    }
    if (mail_) {
        TthMailConfig& m = *mail_;
        m.SenderName = EditSenderName->text();
        m.SenderMailAddress = EditSenderMailAddress->text();
        m.SMTPServerAddress = EditSMTPServerAddress->text();
        m.SMTPPortNo = smtpPort;
        m.SMTPSecurity = static_cast<TMailSecurity>(CBSMTPSecurity->currentIndex());
        m.UseSmtpAuth = CBUseSmtpAuth->isChecked();
        m.SMTPAccount = EditSMTPAccount->text();
        m.SMTPPassword = EditSMTPPassword->text();
        m.UsePopBeforeSMTP = CBUsePopBeforeSMTP->isChecked();
        m.POP3ServerAddress = EditPOP3ServerAddress->text();
        m.POP3PortNo = popPort;
        m.POP3Security = static_cast<TMailSecurity>(CBPOP3Security->currentIndex());
        m.POP3Account = EditPOP3Account->text();
        m.Pop3Password = EditPop3Password->text();
        m.UseSoftPassword = CBUseSoftPassword->isChecked();
        m.SoftPassword = m.UseSoftPassword ? EditSoftPassword->text() : QString();
        if (SaveProblem p; !m.SaveToFile(GetMailConfigPath(), &p)) {
            GetPrompter().Inform(CannotCreateMessage(p, GetMailConfigPath()));
            return true;
        }
    }
    if (book_) {
        book_->HasPassword = CBUseFilePassword->isChecked();
        book_->Password = book_->HasPassword ? EditFilePassword->text() : QString();
    }
    if (!CBUseAutoLoadFile->isChecked()) EditAutoLoadFile->clear();
    SetAutoLoadFile(EditAutoLoadFile->text(), CBUseAutoLoadFile->isChecked());
    return true;
}

void TFormConfig::BtnCancelClick() {
    mayClose_ = true;
    QDialog::reject();
}

void TFormConfig::reject() { BtnCancelClick(); }

void TFormConfig::closeEvent(QCloseEvent* event) {
    if (!mayClose_) event->ignore();
    else QDialog::closeEvent(event);
}

}  // namespace q2
