// The postal data update dialog.
#include "FormZipUpdate.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "model/DataPaths.h"
#include "model/ListFile.h"
#include "platform/Prompter.h"

namespace q2 {

void Thread_ZipDL::run() {
    // Download, unpacking and conversion all run here, so the dialog stays responsive.
    TZipHttpClient& client = dialog_.client_;
    QString reason;
    const TZipDownloadResult result =
        !dialog_.files_.isEmpty()
            ? UpdateZipFromFiles(dialog_.files_, dialog_.source_, GetZipVersionPath(),
                                 GetZipDataPath(), ZipNoNumberPath(GetZipDataPath()), &reason)
            : DownloadZipUpdate(
                  client, dialog_.source_, GetZipVersionPath(), GetZipDataPath(),
                  ZipNoNumberPath(GetZipDataPath()),
                  [this](qint64 received, qint64 total) {
                      // Progress is only shown, so it need not wait for the dialog.
                      QMetaObject::invokeMethod(&dialog_, "WorkerProgress", Qt::QueuedConnection,
                                                Q_ARG(qint64, received), Q_ARG(qint64, total));
                  },
                  &reason);
    QMetaObject::invokeMethod(&dialog_, "WorkerReport", Qt::BlockingQueuedConnection,
                              Q_ARG(int, static_cast<int>(result)), Q_ARG(QString, reason));
}

Tzip_update::Tzip_update(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("新しい郵便番号データの取得"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);

    auto* current = new QHBoxLayout;
    current->addWidget(new QLabel(QStringLiteral("現在"), this));
    Edit1 = new QLineEdit(QStringLiteral("2005/11/30郵政公社公開データ"), this);
    Edit1->setReadOnly(true);
    Edit1->setMinimumWidth(260);
    current->addWidget(Edit1, 1);
    current->addWidget(new QLabel(QStringLiteral("が使用されています。"), this));
    layout->addLayout(current);

    auto* source = new QFormLayout;
    CBSource = new QComboBox(this);
    CBSource->addItem(QStringLiteral("日本郵便の公開データ"));
    CBSource->addItem(QStringLiteral("更新サーバ"));
    source->addRow(QStringLiteral("取得元"), CBSource);
    layout->addLayout(source);

    Button1 = new QPushButton(QStringLiteral("郵便番号データの更新を確認する"), this);
    layout->addWidget(Button1);
    layout->addWidget(new QLabel(QStringLiteral("※インターネットに接続されている必要があります"), this));
    layout->addSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("プロキシサーバを使用する場合は下記に入力してください"), this));
    layout->addWidget(new QLabel(QStringLiteral("（使用しない場合は空欄にしてください）"), this));
    auto* proxy = new QFormLayout;
    LabeledEdit1 = new QLineEdit(this);
    LabeledEdit2 = new QLineEdit(this);
    // Only digits reach the port box.
    LabeledEdit2->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), LabeledEdit2));
    proxy->addRow(QStringLiteral("アドレス"), LabeledEdit1);
    proxy->addRow(QStringLiteral("ポート"), LabeledEdit2);
    layout->addLayout(proxy);

    Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* panel = new QVBoxLayout(Panel1);
    panel->addWidget(new QLabel(QStringLiteral("更新データのダウンロード中です"), Panel1));
    Progress = new QProgressBar(Panel1);
    Progress->setRange(0, 0);
    Progress->setFormat(QStringLiteral("%v バイト"));
    panel->addWidget(Progress);
    Panel1->hide();
    layout->addWidget(Panel1);

    BtnFromFiles = new QPushButton(QStringLiteral("ファイルから更新…"), this);
    Btn_Cancel = new QPushButton(QStringLiteral("閉じる"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BtnFromFiles);
    bottom->addStretch();
    bottom->addWidget(Btn_Cancel);
    layout->addLayout(bottom);

    connect(Button1, &QPushButton::clicked, this, &Tzip_update::Button1Click);
    connect(Btn_Cancel, &QPushButton::clicked, this, &Tzip_update::Btn_CancelClick);
    connect(BtnFromFiles, &QPushButton::clicked, this, &Tzip_update::BtnFromFilesClick);
}

Tzip_update::~Tzip_update() {
    if (worker_) worker_->wait();
}

void Tzip_update::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void Tzip_update::FormShow() {
    mayClose_ = true;
    installed_ = false;
    RefreshVersion();
    CBSource->setCurrentIndex(ReadZipSourceSettings(GetConfigPath()).Source == TZipSource::Server ? 1 : 0);
    const TProxySetting p = LoadProxyFile(GetProxyPath());
    LabeledEdit1->setText(p.Host);
    LabeledEdit2->setText(p.Port);
}

void Tzip_update::RefreshVersion() {
    current_ = ReadZipVersion(GetZipVersionPath());
    // Without a version file the data's version is unknown: any server key is newer.
    if (current_.Read) Edit1->setText(current_.DisplayText);
}

TZipSourceSettings Tzip_update::ChosenSource() const {
    TZipSourceSettings s = ReadZipSourceSettings(
        GetConfigPath(), CBSource->currentIndex() == 1 ? TZipSource::Server : TZipSource::JapanPost);
    s.MinResidentialLines = MinResidentialLines;
    return s;
}

void Tzip_update::ApplyProxy() {
    client_.ProxyHost = LabeledEdit1->text().trimmed();
    bool ok = false;
    client_.ProxyPort = LabeledEdit2->text().trimmed().toInt(&ok, 10);
    if (!ok) {
        client_.ProxyPort = 0;
        LabeledEdit2->clear();
    }
}

void Tzip_update::Button1Click() {
    ApplyProxy();
    TZipSourceSettings source = ChosenSource();
    switch (CheckZipUpdate(client_, source, current_.Key)) {
        case TZipCheckResult::Failed:
            GetPrompter().Inform(ZipCheckFailedMessage());
            return;
        case TZipCheckResult::NotFound:
            OfferFiles();
            return;
        case TZipCheckResult::Current:
            GetPrompter().Inform(QStringLiteral("データの更新はありませんでした。"));
            return;
        case TZipCheckResult::Newer:
            break;
    }
    if (GetPrompter().Ask(
            QStringLiteral("新しい更新データがありました\r\n更新を行いますか？\r\n"
                           "データサイズが大きいため、接続速度によっては時間がかかります。"))) {
        source_ = source;
        files_.clear();
        StartWorker();
    }
    RefreshVersion();
}

void Tzip_update::StartWorker() {
    if (worker_) {  // the last download is over, only its thread has not ended yet
        worker_->wait();
        worker_.reset();
    }
    SetBusy(true);
    worker_ = std::make_unique<Thread_ZipDL>(*this);
    connect(worker_.get(), &QThread::finished, this, &Tzip_update::WorkerEnded);
    worker_->start();
}

void Tzip_update::OfferFiles() {
    if (GetPrompter().Ask(
            ZipNotFoundMessage() +
            QStringLiteral("\r\n日本郵便のサイトからダウンロードしたファイルで更新しますか？")))
        BtnFromFilesClick();
}

void Tzip_update::BtnFromFilesClick() {
    if (!mayClose_) return;
    const QStringList files =
        PickFiles ? PickFiles()
                  : QFileDialog::getOpenFileNames(
                        this, QStringLiteral("郵便番号データのファイル"), QString(),
                        QStringLiteral("日本郵便の郵便番号データ (*.zip *.ZIP *.csv *.CSV);;"
                                       "すべてのファイル (*)"));
    if (files.isEmpty()) return;
    source_ = ChosenSource();
    files_ = files;
    StartWorker();
}

void Tzip_update::SetBusy(bool busy) {
    mayClose_ = !busy;
    for (QWidget* w : {static_cast<QWidget*>(LabeledEdit1), static_cast<QWidget*>(LabeledEdit2),
                       static_cast<QWidget*>(Btn_Cancel), static_cast<QWidget*>(Button1),
                       static_cast<QWidget*>(CBSource), static_cast<QWidget*>(BtnFromFiles)})
        w->setEnabled(!busy);
    Progress->setRange(0, 0);
    Progress->setValue(0);
    Panel1->setVisible(busy);
}

void Tzip_update::WorkerProgress(qint64 received, qint64 total) {
    // QProgressBar counts in int: show kilobytes beyond 2 GB never happens
    // for postal data, but keep the range honest.
    if (total > 0) Progress->setRange(0, int(qMin<qint64>(total, INT_MAX)));
    Progress->setValue(int(qMin<qint64>(received, INT_MAX)));
}

void Tzip_update::WorkerReport(int result, const QString& reason) {
    const auto r = static_cast<TZipDownloadResult>(result);
    const bool fromFiles = !files_.isEmpty();
    files_.clear();
    RefreshVersion();
    SetBusy(false);
    if (r == TZipDownloadResult::Updated) {
        installed_ = true;
        GetPrompter().Inform(QStringLiteral("更新しました。"));
    } else if (r == TZipDownloadResult::NotFound) {
        // The worker is still waiting for this call: the offer, which may
        // start the next one, comes once it has ended.
        offerFiles_ = true;
    } else if (fromFiles && r == TZipDownloadResult::DownloadFailed) {
        // The files are the user's own: what is wrong with them, not the network.
        GetPrompter().Inform(QStringLiteral("郵便番号データを更新できませんでした。\r\n") + reason);
    } else {
        GetPrompter().Inform(ZipUpdateFailureMessage(r, reason));
    }
}

void Tzip_update::WorkerEnded() {
    if (!worker_) return;
    worker_->wait();
    worker_.reset();
    emit DownloadFinished();
    if (offerFiles_) {
        offerFiles_ = false;
        OfferFiles();
    }
}

void Tzip_update::Btn_CancelClick() {
    if (!mayClose_) return;
    SaveProxyFile(GetProxyPath(), {LabeledEdit1->text(), LabeledEdit2->text()});
    SaveZipSource(GetConfigPath(), CBSource->currentIndex() == 1 ? TZipSource::Server : TZipSource::JapanPost);
    accept();
}

void Tzip_update::closeEvent(QCloseEvent* e) {
    if (!mayClose_) e->ignore();
    else QDialog::closeEvent(e);
}

void Tzip_update::reject() {
    // Escape closes like "閉じる", and not while downloading.
    if (mayClose_) Btn_CancelClick();
}

}  // namespace q2
