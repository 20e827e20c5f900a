// The dialog that refreshes the postal code data from Japan Post's published
// files or from an update server.
#pragma once

#include <QDialog>
#include <QStringList>
#include <QThread>
#include <functional>
#include <memory>

#include "zip/ZipUpdate.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QProgressBar;
class QFrame;

namespace q2 {

class Tzip_update;

// Downloads on its own thread; every call into the dialog is a blocking
// queued call, so the dialog is only ever touched by the UI thread.
class Thread_ZipDL : public QThread {
    Q_OBJECT
public:
    explicit Thread_ZipDL(Tzip_update& dialog) : dialog_(dialog) {}

protected:
    void run() override;

private:
    Tzip_update& dialog_;
};

class Tzip_update : public QDialog {
    Q_OBJECT
public:
    explicit Tzip_update(QWidget* parent = nullptr);
    ~Tzip_update() override;

    // Reads the version file and pro.dat into the controls.
    void FormShow();
    // Asks the server for a newer version and, on the user's consent, starts
    // the download.
    void Button1Click();
    // Writes pro.dat and closes, unless a download is running.
    void Btn_CancelClick();
    // Lets the user pick Japan Post's files downloaded elsewhere and installs
    // them, on the worker like a download.
    void BtnFromFilesClick();
    // Chooses the files for BtnFromFilesClick; the file dialog unless set.
    std::function<QStringList()> PickFiles;

    bool MayClose() const { return mayClose_; }
    bool Downloading() const { return worker_ != nullptr; }
    // New data was installed since the dialog was last shown.
    bool Installed() const { return installed_; }

    // Below this many residential lines a conversion is refused; tests of
    // small data sets lower it.
    int MinResidentialLines = TZipSourceSettings().MinResidentialLines;

    QLineEdit* Edit1;
    QComboBox* CBSource;  // 日本郵便の公開データ / 更新サーバ
    QPushButton* Button1;
    QLineEdit* LabeledEdit1;
    QLineEdit* LabeledEdit2;
    QPushButton* BtnFromFiles;  // ファイルから更新…
    QPushButton* Btn_Cancel;
    QFrame* Panel1;
    QProgressBar* Progress;

signals:
    void DownloadFinished();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    friend class Thread_ZipDL;
    void ApplyProxy();
    void RefreshVersion();
    void SetBusy(bool busy);
    // Called from the worker through blocking queued calls.
    Q_INVOKABLE void WorkerReport(int result, const QString& reason);
    Q_INVOKABLE void WorkerProgress(qint64 received, qint64 total);
    void WorkerEnded();
    void StartWorker();
    // Nothing to download was found on Japan Post's pages: say so and offer the files.
    void OfferFiles();

    TZipSourceSettings ChosenSource() const;

    TZipHttpClient client_;
    TZipSourceSettings source_;  // of the running download
    QStringList files_;          // of the running update from files; empty for a download
    TZipVersion current_;
    bool mayClose_ = true;
    bool installed_ = false;
    bool offerFiles_ = false;
    std::unique_ptr<Thread_ZipDL> worker_;
};

}  // namespace q2
