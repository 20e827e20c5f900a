// The list print dialog's print path into a real CUPS queue: a private cupsd
// (own configuration, spool and socket in a temp folder) with a cups-pdf
// queue, started and stopped by the test. Needs root, as cups-pdf does.
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/Prompter.h"
#include "print/FormPrintAllAddressList.h"

using namespace q2;

namespace {

const char* const kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
const char* const kBackend = "/usr/lib/cups/backend/cups-pdf";
const QString kQueue = QStringLiteral("Q2LISTPDF");
// cups-pdf names its file after the job title, bytes outside ASCII written as
// octal: "-住所" of "-住所録一覧印刷-". Other jobs' files are left alone.
const QString kTitleFile = QStringLiteral("-_344_275_217_346_211_200*.pdf");

bool WriteFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

int RunTool(const QString& program, const QStringList& args, QString* out = nullptr) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");  // the tools' answers are read
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(5000);
        return -1;
    }
    if (out) *out = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A cupsd of the test's own, on a socket in its folder.
class PrivateCups {
public:
    ~PrivateCups() {
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            if (!cupsd_.waitForFinished(5000)) {
                cupsd_.kill();
                cupsd_.waitForFinished(5000);
            }
        }
    }

    // Empty on success, else what went wrong.
    QString Start() {
        if (!dir_.isValid()) return "no temp folder";
        const QString w = dir_.path(), conf = w + "/conf";
        for (const char* sub : {"/conf/ppd", "/spool/tmp", "/cache", "/state", "/log"})
            QDir().mkpath(w + sub);
        QFile::setPermissions(w, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                     QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                     QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                     QFileDevice::ExeOther);
        QFile::setPermissions(w + "/spool/tmp", QFileDevice::Permissions(0x7777));
        socket_ = w + "/cups.sock";
        const QByteArray cupsd =
            "Listen " + socket_.toUtf8() +
            "\nLogLevel warn\nBrowsing No\nDefaultAuthType None\nWebInterface No\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
            "</Policy>\n";
        const QByteArray files = "ServerRoot " + conf.toUtf8() + "\nRequestRoot " + w.toUtf8() +
                                 "/spool\nTempDir " + w.toUtf8() + "/spool/tmp\nCacheDir " +
                                 w.toUtf8() + "/cache\nStateDir " + w.toUtf8() +
                                 "/state\nAccessLog " + w.toUtf8() + "/log/access_log\nErrorLog " +
                                 w.toUtf8() + "/log/error_log\nPageLog " + w.toUtf8() +
                                 "/log/page_log\nSystemGroup root\nSandboxing Relaxed\n";
        if (!WriteFile(conf + "/cupsd.conf", cupsd) || !WriteFile(conf + "/cups-files.conf", files))
            return "cannot write the configuration";
        for (const char* f : {"mime.types", "mime.convs"})
            QFile::copy(QStringLiteral("/usr/share/cups/mime/") + f, conf + "/" + f);
        cupsd_.setProcessChannelMode(QProcess::ForwardedChannels);
        cupsd_.start("cupsd", {"-f", "-c", conf + "/cupsd.conf", "-s", conf + "/cups-files.conf"});
        if (!cupsd_.waitForStarted(10000)) return "cupsd did not start";
        // libcups reads the server once, on first use: set before any printer is asked for.
        qputenv("CUPS_SERVER", socket_.toUtf8());
        QElapsedTimer t;
        t.start();
        // "lpstat -r" answers 0 either way; the socket may also take a moment
        // more to accept the administration requests, so those are retried.
        QString out;
        auto waitFor = [&](const QStringList& args, const QString& want) {
            while (true) {
                const int rc = RunTool(args[0], args.mid(1), &out);
                if (rc == 0 && (want.isEmpty() || out.contains(want))) return true;
                if (cupsd_.state() == QProcess::NotRunning || t.elapsed() > 20000) return false;
                QThread::msleep(200);
            }
        };
        if (!waitFor({"lpstat", "-r"}, "scheduler is running"))
            return "cupsd does not answer" + Log();
        if (!waitFor({"lpadmin", "-p", kQueue, "-E", "-v", "cups-pdf:/", "-P", kPpd}, {}))
            return "lpadmin: " + out + Log();
        if (!waitFor({"lpadmin", "-d", kQueue}, {})) return "lpadmin -d: " + out;
        return {};
    }

    QString Log() const {
        QFile f(dir_.path() + "/log/error_log");
        return f.open(QIODevice::ReadOnly) ? "\n" + QString::fromUtf8(f.readAll()) : QString();
    }

private:
    QTemporaryDir dir_;
    QString socket_;
    QProcess cupsd_;
};

QString Poppler(const QString& tool, const QStringList& args) {
    QString out;
    RunTool(tool, args, &out);
    return out;
}

}  // namespace

TEST(ListPrintCups, PrintStartPrintsThroughTheCupsPdfQueue) {
    if (geteuid() != 0) GTEST_SKIP() << "cupsd and the cups-pdf backend need root";
    if (QStandardPaths::findExecutable("cupsd").isEmpty() || !QFileInfo::exists(kPpd) ||
        !QFileInfo(kBackend).isExecutable())
        GTEST_SKIP() << "cups or cups-pdf is not installed";
    PrivateCups cups;
    const QString error = cups.Start();
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    // cups-pdf writes into ${HOME}/PDF of the job's user (its system
    // configuration); the test takes the files newer than its job.
    const QString out = QDir::homePath() + "/PDF";
    QDir().mkpath(out);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);

    std::vector<TUserInfo> v(3);
    std::vector<TUserInfo*> records;
    for (int i = 0; i < 3; ++i) {
        v[i].PerSonalName_1 = QStringLiteral("CUPS%1").arg(i);
        v[i].CommonPrintCheck = i != 1;
        records.push_back(&v[i]);
    }
    ScriptedPrompter prompter;
    ScopedPrompter scoped(prompter);
    TFormPrintAllAddressList form;
    ASSERT_GE(form.CBPrinterList->findText(kQueue), 0) << cups.Log().toStdString();
    form.TakeRecords(records);
    form.FormShow();
    EXPECT_EQ(form.CBPrinterList->currentText(), kQueue);
    prompter.answers = {true};
    ASSERT_TRUE(form.PrintStart());

    QString pdf;
    QElapsedTimer t;
    t.start();
    while (pdf.isEmpty() && t.elapsed() < 60000) {
        QThread::msleep(300);
        for (const QFileInfo& f : QDir(out).entryInfoList({kTitleFile}, QDir::Files))
            if (f.lastModified() >= before && f.size() > 0) pdf = f.filePath();
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from cups-pdf" << cups.Log().toStdString();
    QThread::msleep(500);  // the backend may still be writing
    const QString info = Poppler("pdfinfo", {pdf});
    QTemporaryDir png;
    Poppler("pdftoppm", {"-r", "100", "-gray", "-png", "-singlefile", pdf, png.filePath("page")});
    QFile::remove(pdf);
    EXPECT_TRUE(QRegularExpression(R"(Pages:\s+1\b)").match(info).hasMatch()) << info.toStdString();
    EXPECT_TRUE(info.contains("(A4)")) << info.toStdString();
    // The backend's glyphs carry no text, so the page is read as an image:
    // a landscape table on A4 fed portrait runs along the sheet's long side,
    // and its two rows give four long rules across it.
    const QImage page(png.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 250) ink |= QRect(x, y, 1, 1);
    ASSERT_TRUE(ink.isValid());
    const bool tall = ink.height() > ink.width();
    EXPECT_TRUE(tall) << ink.width() << "x" << ink.height();
    const int across = tall ? ink.width() : ink.height(), along = tall ? ink.height() : ink.width();
    int rules = 0;
    bool inRule = false;
    for (int k = 0; k < across; ++k) {
        int dark = 0;
        for (int m = 0; m < along; ++m) {
            const int x = tall ? ink.left() + k : ink.left() + m,
                      y = tall ? ink.top() + m : ink.top() + k;
            dark += qGray(page.pixel(x, y)) < 250 ? 1 : 0;
        }
        const bool rule = dark > along * 8 / 10;
        if (rule && !inRule) ++rules;
        inRule = rule;
    }
    EXPECT_EQ(rules, 4) << ink.width() << "x" << ink.height();
}
