// The postal data update against real HTTP servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTcpServer>

#include "model/DataPaths.h"
#include "platform/Cp932.h"
#include "platform/DataFolder.h"
#include "platform/ProfileFile.h"
#include "platform/SafeFile.h"
#include "platform/Prompter.h"
#include "zip/FormZipUpdate.h"
#include "zip/ZipUpdate.h"
#include "zip/ZipData.h"

using namespace q2;

namespace {

const char kNoUpdate[] = "データの更新はありませんでした。";
const char kUpdated[] = "更新しました。";

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A port nobody listens on.
int FreePort() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

// A server process that prints its port first (or is told one), stopped at the end.
class Server {
public:
    ~Server() {
        if (p_.state() != QProcess::NotRunning) {
            p_.kill();
            p_.waitForFinished();
        }
    }
    int StartHttp(const QString& root) {
        port_ = FreePort();
        p_.start("/usr/bin/python3", {"-u", "-m", "http.server", QString::number(port_), "--bind",
                                      "127.0.0.1", "--directory", root});
        return WaitListening() ? port_ : 0;
    }
    int StartScript(const QString& script, const QStringList& args) {
        p_.start("/usr/bin/python3", QStringList{"-u", script} + args);
        if (!p_.waitForReadyRead(10000)) return 0;
        port_ = p_.readLine().trimmed().toInt();
        return port_;
    }
    int StartTinyproxy(const QString& dir) {
        port_ = FreePort();
        const QString conf = dir + "/tinyproxy.conf";
        log_ = dir + "/tinyproxy.log";
        WriteFile(conf, QStringLiteral("Port %1\nListen 127.0.0.1\nAllow 127.0.0.1\nLogFile \"%2\"\n"
                                       "LogLevel Info\nMaxClients 10\n")
                            .arg(port_).arg(log_).toUtf8());
        p_.start("/usr/bin/tinyproxy", {"-d", "-c", conf});
        return WaitListening() ? port_ : 0;
    }
    QByteArray Log() const { return ReadFile(log_); }

private:
    bool WaitListening() {
        for (int i = 0; i < 100; ++i) {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, port_);
            if (s.waitForConnected(100)) return true;
            QTest::qWait(50);
        }
        return false;
    }
    QProcess p_;
    int port_ = 0;
    QString log_;
};

class ZipUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        ASSERT_TRUE(EnsureDataFolder());
        WriteFile(GetZipVersionPath(), EncodeCp932(QStringLiteral("12\r\n2024/01/01データ\r\n")));
        WriteFile(GetZipDataPath(), EncodeCp932(QStringLiteral("1000013,東京都千代田区霞が関\r\n")));
        SetPrompter(&prompter);
    }
    void TearDown() override { SetPrompter(nullptr); }

    void Serve(const QByteArray& version, const QByteArray& data) {
        WriteFile(site.path() + "/liveupdate/zipcode/version.txt", version);
        WriteFile(site.path() + "/liveupdate/zipcode/zip.dat", data);
        const int port = server.StartHttp(site.path());
        ASSERT_NE(port, 0);
        PointAt(port);
    }
    void PointAt(int port) {
        ProfileFile config(GetConfigPath());
        config.WriteString("COMMON", "UPDATE_SOURCE", "server");
        config.WriteString("COMMON", "UPDATE_SERVER", QStringLiteral("http://127.0.0.1:%1").arg(port));
    }
    // Presses the check button and, when a download starts, waits for its end.
    void Check(Tzip_update& dialog) {
        QSignalSpy done(&dialog, &Tzip_update::DownloadFinished);
        dialog.Button1Click();
        if (dialog.Downloading()) {
            EXPECT_FALSE(dialog.MayClose());
            ASSERT_TRUE(done.wait(20000));
        }
    }

    QTemporaryDir home, site;
    ScriptedPrompter prompter;
    Server server;
};

}  // namespace

TEST(ZipUpdateText, LineBreaksAndVersionKeys) {
    EXPECT_EQ(NormalizeLineBreaks("a\r\nb\tc"), "a\r\n\r\nb\r\nc");
    EXPECT_EQ(SplitLines("a\r\n\r\nb\rc\nd"), (QList<QByteArray>{"a", "", "b", "c", "d"}));
    struct Case { const char* current; const char* server; bool newer; };
    const Case cases[] = {{"12", "123", true},       {"12", "12", false},
                          {"20250930", "20240101", false}, {"", "1", true},
                          {"9", "10", false},         {"20250930", "20251031", true}};
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerVersion(c.current, c.server), c.newer) << c.current << " " << c.server;
    EXPECT_TRUE(LooksLikePostalData("x\r\n1000013,東京"));
    EXPECT_FALSE(LooksLikePostalData("<html>not found</html>"));
    EXPECT_FALSE(LooksLikePostalData(""));
}

TEST_F(ZipUpdate, NewerKeyDownloadsBothFilesAndTheLookupsSeeTheNewData) {
    Serve("123\nnew data 2025\n", EncodeCp932(QStringLiteral("9999998,新しい町\n1000013,東京都千代田区霞が関\n")));
    Tzip_update dialog;
    dialog.show();
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("2024/01/01データ"));
    prompter.answers = {true};
    Check(dialog);
    ASSERT_EQ(prompter.shown.size(), 2);
    EXPECT_TRUE(prompter.shown[0].startsWith(QStringLiteral("新しい更新データがありました")));
    EXPECT_EQ(prompter.shown[1], QString::fromUtf8(kUpdated));
    EXPECT_EQ(ReadFile(GetZipVersionPath()), "123\r\nnew data 2025\r\n");
    EXPECT_EQ(dialog.Edit1->text(), "new data 2025");
    EXPECT_TRUE(dialog.MayClose());
    EXPECT_TRUE(dialog.Button1->isEnabled());
    const TZipSearch s = SearchByZip(GetZipDataPath(), "999", "9998");
    ASSERT_EQ(s.Result, TZipSearchResult::Found);
    EXPECT_EQ(s.Entries[0].Address, QStringLiteral("新しい町"));
}

TEST_F(ZipUpdate, EqualOrLowerKeyHasNoUpdate) {
    Serve("12\r\nsame\r\n", "1000013,x\r\n");
    Tzip_update dialog;
    dialog.show();
    Check(dialog);
    EXPECT_EQ(prompter.shown, QStringList{QString::fromUtf8(kNoUpdate)});
}

TEST_F(ZipUpdate, CrLfVersionFileGainsEmptyLines) {
    Serve(EncodeCp932(QStringLiteral("20251031\r\n2025/10/31データ\r\n")), "1000013,x\r\n");
    Tzip_update dialog;
    dialog.show();
    prompter.answers = {true};
    Check(dialog);
    EXPECT_EQ(ReadFile(GetZipVersionPath()), QByteArray("20251031\r\n\r\n") +
                                                 EncodeCp932(QStringLiteral("2025/10/31データ")) +
                                                 "\r\n\r\n");
    EXPECT_EQ(dialog.Edit1->text(), "");  // line 2 is now the empty one
}

TEST_F(ZipUpdate, NoServerGivesTheCheckMessageAndTheDialogStaysUsable) {
    PointAt(FreePort());
    Tzip_update dialog;
    dialog.show();
    Check(dialog);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].startsWith(QStringLiteral("更新データを確認できませんでした。")));
    EXPECT_TRUE(dialog.MayClose());
    EXPECT_TRUE(dialog.Button1->isEnabled());
}

TEST_F(ZipUpdate, ServerDyingInTheDataFileLeavesBothFilesAsTheyWere) {
    const QByteArray version = ReadFile(GetZipVersionPath()), data = ReadFile(GetZipDataPath());
    const int port = server.StartScript(QStringLiteral(Q2_BROKEN_SERVER), {"999"});
    ASSERT_NE(port, 0);
    PointAt(port);
    Tzip_update dialog;
    dialog.show();
    prompter.answers = {true};
    Check(dialog);
    ASSERT_EQ(prompter.shown.size(), 2);
    EXPECT_TRUE(prompter.shown[1].startsWith(QStringLiteral("更新データの取得に失敗しました。")));
    EXPECT_EQ(ReadFile(GetZipVersionPath()), version);
    EXPECT_EQ(ReadFile(GetZipDataPath()), data);
    EXPECT_EQ(QDir(QFileInfo(GetZipDataPath()).absolutePath()).entryList(QDir::Files),
              (QStringList{"version.txt", "zip.dat"}));
}

TEST_F(ZipUpdate, SomethingThatIsNotPostalDataIsRefused) {
    const QByteArray data = ReadFile(GetZipDataPath());
    Serve("999\r\n", "<html>maintenance</html>");
    Tzip_update dialog;
    dialog.show();
    prompter.answers = {true};
    Check(dialog);
    EXPECT_TRUE(prompter.shown.last().startsWith(QStringLiteral("更新データの取得に失敗しました。")));
    EXPECT_EQ(ReadFile(GetZipDataPath()), data);
}

TEST_F(ZipUpdate, RequestsGoThroughTheProxyWhenOneIsSet) {
    if (!QFile::exists("/usr/bin/tinyproxy")) GTEST_SKIP() << "tinyproxy is not installed";
    Serve("12\r\n", "1000013,x\r\n");
    QTemporaryDir proxyDir;
    Server proxy;
    const int proxyPort = proxy.StartTinyproxy(proxyDir.path());
    ASSERT_NE(proxyPort, 0);
    Tzip_update dialog;
    dialog.show();
    dialog.LabeledEdit1->setText(" 127.0.0.1 ");
    dialog.LabeledEdit2->setText(QString::number(proxyPort));
    Check(dialog);
    EXPECT_EQ(prompter.shown, QStringList{QString::fromUtf8(kNoUpdate)});
    QTest::qWait(200);
    EXPECT_TRUE(proxy.Log().contains("/liveupdate/zipcode/version.txt")) << proxy.Log().constData();
}

TEST_F(ZipUpdate, PortBoxTakesDigitsOnlyAndClosingWritesTheProxyFile) {
    Tzip_update dialog;
    dialog.show();
    QTest::keyClicks(dialog.LabeledEdit2, "8a0b8x0");
    EXPECT_EQ(dialog.LabeledEdit2->text(), "8080");
    EXPECT_FALSE(QFile::exists(GetProxyPath()));
    dialog.LabeledEdit2->clear();
    dialog.Btn_CancelClick();
    EXPECT_EQ(ReadFile(GetProxyPath()), "\r\n\r\n");
}

namespace {

const QString kShippedData = QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat");
const QString kBusinessCodes = QStringLiteral(Q2_SOURCE_DIR "/barcode/data/nonumber.txt");
// 2025-10-31 10:00 in Japan.
constexpr qint64 kPublished = 1761872400;
// Codes of every oddity of the published files: 以下に掲載がない場合 (100),
// floors (170, 450), …の次に…がくる場合 (409, 766), 一円 (522), several
// lines per code (004, 069) and business codes (001, 100).
const char kSlice[] = "001,004,069,100,170,409,450,522,766";
const char kNewLine[] = "9999991,北海道テスト郡新しい町";

// The shipped lines whose code starts with one of the prefixes.
QByteArray ShippedSlice(const QString& path, const QStringList& prefixes) {
    QByteArray out;
    for (const QByteArray& line : SplitLines(ReadFile(path)))
        for (const QString& p : prefixes)
            if (line.startsWith(p.toLatin1())) {
                out += line + (path.endsWith(".txt") ? "\n" : "\r\n");
                break;
            }
    return out;
}

// Japan Post's layout on a real server, where the files are today:
// /service/search/zipcode/download/kogaki/zip/ken_all.zip and
// …/office/zip/jigyosyo.zip.
class JapanPostUpdate : public ZipUpdate {
protected:
    void SetUp() override {
        ZipUpdate::SetUp();
        WriteFile(GetZipVersionPath(), EncodeCp932(QStringLiteral("20250930\r\n2025/09/30日本郵便公開データ\r\n")));
        const int port = server.StartHttp(site.path());
        ASSERT_NE(port, 0);
        ProfileFile(GetConfigPath())
            .WriteString("COMMON", "JAPANPOST_BASE", QStringLiteral("http://127.0.0.1:%1/").arg(port));
    }
    // Writes the two ZIPs from the shipped data's slice into out.
    static void Generate(const QString& out, const QStringList& options) {
        QProcess p;
        p.start("/usr/bin/python3", QStringList{Q2_JAPANPOST_FILES, kShippedData, kBusinessCodes,
                                                out, "--mtime", QString::number(kPublished)} +
                                        options);
        ASSERT_TRUE(p.waitForFinished(60000) && p.exitCode() == 0) << p.readAllStandardError().constData();
    }
    // Writes the two ZIPs from the shipped data's slice into the site.
    void Publish(const QStringList& options) {
        QTemporaryDir out;
        Generate(out.path(), options);
        PublishFile("ken_all.zip", ReadFile(out.filePath("ken_all.zip")));
        PublishFile("jigyosyo.zip", ReadFile(out.filePath("jigyosyo.zip")));
    }
    void PublishFile(const QString& name, const QByteArray& bytes) {
        const QString path =
            site.path() +
            (name == "ken_all.zip" ? "/service/search/zipcode/download/kogaki/zip/"
                                   : "/service/search/zipcode/download/office/zip/") +
            name;
        WriteFile(path, bytes);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime::fromSecsSinceEpoch(kPublished, Qt::UTC), QFileDevice::FileModificationTime);
    }
    QStringList ZipFolder() const {
        return QDir(QFileInfo(GetZipDataPath()).absolutePath()).entryList(QDir::Files);
    }
};

}  // namespace

TEST_F(JapanPostUpdate, NewerFilesAreConvertedAndInstalledAndThenCurrent) {
    Publish({"--prefixes", kSlice, "--add", QString::fromUtf8(kNewLine)});
    Tzip_update dialog;
    dialog.MinResidentialLines = 100;
    dialog.show();
    EXPECT_EQ(dialog.CBSource->currentText(), QStringLiteral("日本郵便の公開データ"));
    prompter.answers = {true};
    Check(dialog);
    ASSERT_EQ(prompter.shown.size(), 2) << prompter.shown.join("|").toStdString();
    EXPECT_EQ(prompter.shown[1], QString::fromUtf8(kUpdated));
    EXPECT_TRUE(dialog.Installed());

    const QStringList slice = QString::fromLatin1(kSlice).split(',');
    EXPECT_TRUE(ReadFile(GetZipDataPath()) ==
                ShippedSlice(kShippedData, slice) + EncodeCp932(QString::fromUtf8(kNewLine)) + "\r\n");
    EXPECT_TRUE(ReadFile(ZipNoNumberPath(GetZipDataPath())) == ShippedSlice(kBusinessCodes, slice));
    EXPECT_EQ(ReadFile(GetZipVersionPath()),
              EncodeCp932(QStringLiteral("20251031100000\r\n2025/10/31日本郵便公開データ\r\n")));
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("2025/10/31日本郵便公開データ"));
    const TZipSearch found = SearchByZip(GetZipDataPath(), "999", "9991");
    ASSERT_EQ(found.Result, TZipSearchResult::Found);
    EXPECT_EQ(found.Entries[0].Address, QStringLiteral("北海道テスト郡新しい町"));
    EXPECT_EQ(SearchByZip(GetZipDataPath(), "170", "6045").Entries[0].Address,
              QStringLiteral("東京都豊島区東池袋サンシャイン６０　４５階"));

    prompter.shown.clear();
    Check(dialog);  // the same files again
    EXPECT_EQ(prompter.shown, QStringList{QString::fromUtf8(kNoUpdate)});
}

// Each bad download leaves the installed files byte for byte as they were.
TEST_F(JapanPostUpdate, BadFilesLeaveTheInstalledDataAlone) {
    const QByteArray version = ReadFile(GetZipVersionPath()), data = ReadFile(GetZipDataPath());
    // A file that is no ZIP at all is the site's error page: the program looks
    // for the file on the download pages, which this site has not.
    const QString notFound =
        ZipNotFoundMessage() + "\r\n日本郵便のサイトからダウンロードしたファイルで更新しますか？";
    struct Case {
        const char* name;
        QStringList options;
        QByteArray kenAll;
        int minLines;
        QString message;
    };
    const Case cases[] = {
        {"not a ZIP", {"--prefixes", "100"}, "<html>メンテナンス中</html>", 1, notFound},
        {"an empty file", {"--prefixes", "100"}, QByteArray(""), 1, notFound},
        {"a few bytes",
         {"--prefixes", "100"},
         QByteArray("PK\x03\x04", 4),
         1,
         ZipDownloadFailedMessage()},
        {"a row of 14 columns",
         {"--prefixes", "100", "--break", "columns"},
         {},
         1,
         ZipDownloadFailedMessage()},
        {"an empty CSV",
         {"--prefixes", "100", "--break", "empty"},
         {},
         0,
         ZipDownloadFailedMessage()},
        {"under 100,000 residential lines",
         {"--prefixes", kSlice},
         {},
         100000,
         ZipDownloadFailedMessage()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Publish(c.options);
        if (!c.kenAll.isNull()) PublishFile("ken_all.zip", c.kenAll);
        Tzip_update dialog;
        dialog.MinResidentialLines = c.minLines;
        dialog.show();
        prompter.shown.clear();
        prompter.answers = {true};
        Check(dialog);
        ASSERT_EQ(prompter.shown.size(), 2);
        EXPECT_EQ(prompter.shown[1], c.message);
        EXPECT_FALSE(dialog.Installed());
        EXPECT_TRUE(ReadFile(GetZipDataPath()) == data);
        EXPECT_TRUE(ReadFile(GetZipVersionPath()) == version);
        EXPECT_EQ(ZipFolder(), (QStringList{"version.txt", "zip.dat"}));
    }
}

// Nothing where the files should be and no page linking to them: the
// dialog says so and offers the files the user downloaded; declined, nothing
// changes, taken, they are installed like a download.
TEST_F(JapanPostUpdate, NoFileOnTheSiteOffersTheUpdateFromFiles) {
    const QByteArray data = ReadFile(GetZipDataPath());
    QTemporaryDir files;
    Generate(files.path(), {"--prefixes", kSlice, "--add", QString::fromUtf8(kNewLine)});
    Tzip_update dialog;
    dialog.MinResidentialLines = 100;
    int picked = 0;
    dialog.PickFiles = [&] {
        ++picked;
        return QStringList{files.filePath("jigyosyo.zip"), files.filePath("ken_all.zip")};
    };
    dialog.show();
    Check(dialog);
    const QString offer =
        ZipNotFoundMessage() + "\r\n日本郵便のサイトからダウンロードしたファイルで更新しますか？";
    EXPECT_EQ(prompter.shown, QStringList{offer});
    EXPECT_EQ(picked, 0);
    EXPECT_TRUE(ReadFile(GetZipDataPath()) == data);

    prompter.shown.clear();
    prompter.answers = {true};
    Check(dialog);
    EXPECT_EQ(prompter.shown, (QStringList{offer, QString::fromUtf8(kUpdated)}));
    EXPECT_EQ(picked, 1);
    EXPECT_TRUE(dialog.Installed());
    EXPECT_EQ(SearchByZip(GetZipDataPath(), "999", "9991").Entries.value(0).Address,
              QStringLiteral("北海道テスト郡新しい町"));
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("2025/10/31日本郵便公開データ"));
    EXPECT_TRUE(dialog.MayClose());
}

// The button on its own, with files that are no postal data and with a disk
// that fills up: each says why, and the installed files stay.
TEST_F(JapanPostUpdate, UpdateFromFilesTellsWhyItFailed) {
    const QByteArray version = ReadFile(GetZipVersionPath()), data = ReadFile(GetZipDataPath());
    QTemporaryDir files;
    Generate(files.path(), {"--prefixes", kSlice});
    Tzip_update dialog;
    dialog.MinResidentialLines = 100;
    dialog.show();
    auto press = [&](const QStringList& picked) {
        dialog.PickFiles = [picked] { return picked; };
        prompter.shown.clear();
        QSignalSpy done(&dialog, &Tzip_update::DownloadFinished);
        dialog.BtnFromFiles->click();
        if (dialog.Downloading()) {
            EXPECT_TRUE(done.wait(20000));
        }
    };
    press({});  // the file dialog cancelled
    EXPECT_TRUE(prompter.shown.isEmpty());

    press({files.filePath("ken_all.zip"), QStringLiteral(Q2_SOURCE_DIR "/README.md")});
    EXPECT_EQ(prompter.shown,
              QStringList{QStringLiteral("郵便番号データを更新できませんでした。\r\nファイル %1 "
                                         "は郵便番号データではありません")
                              .arg(QStringLiteral(Q2_SOURCE_DIR "/README.md"))});

    SetAtomicWriteFailureAfterForTesting(0);
    press({files.filePath("ken_all.zip"), files.filePath("jigyosyo.zip")});
    SetAtomicWriteFailureAfterForTesting(-1);
    EXPECT_EQ(prompter.shown, QStringList{ZipWriteFailedMessage() +
                                          QStringLiteral("\r\nディスクの空き容量が足りません: ") +
                                          GetZipDataPath()});
    EXPECT_FALSE(dialog.Installed());
    EXPECT_TRUE(ReadFile(GetZipDataPath()) == data);
    EXPECT_TRUE(ReadFile(GetZipVersionPath()) == version);
    EXPECT_EQ(ZipFolder(), (QStringList{"version.txt", "zip.dat"}));
}

TEST_F(JapanPostUpdate, OlderFilesAreNoUpdate) {
    Publish({"--prefixes", "100"});
    WriteFile(GetZipVersionPath(), "20251101000000\r\nlater\r\n");
    Tzip_update dialog;
    dialog.show();
    Check(dialog);
    EXPECT_EQ(prompter.shown, QStringList{QString::fromUtf8(kNoUpdate)});
}
