// q2tool update-zip against a real HTTP server on 127.0.0.1 serving Japan
// Post's files, and q2tool check-zip over a book.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include "JapanPostSiteFixture.h"
#include "ReviewFixture.h"
#include "model/DataPaths.h"
#include "platform/DataFolder.h"
#include "platform/ProfileFile.h"

using namespace q2;

namespace {

struct ToolRun {
    int code;
    QString out, err;
};

class Q2ToolUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        ASSERT_TRUE(EnsureDataFolder());
    }
    void TearDown() override {
        if (server.state() != QProcess::NotRunning) {
            server.kill();
            server.waitForFinished();
        }
    }
    ToolRun Run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(Q2TOOL_PATH), args);
        p.waitForFinished(120000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    // Serves site over HTTP; the base URL, empty when the server did not start.
    QString Serve() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const int port = probe.serverPort();
        probe.close();
        server.start("/usr/bin/python3", {"-m", "http.server", QString::number(port), "--bind",
                                          "127.0.0.1", "--directory", site.path()});
        for (int i = 0; i < 100; ++i) {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, port);
            if (s.waitForConnected(100)) return QStringLiteral("http://127.0.0.1:%1").arg(port);
            QThread::msleep(50);
        }
        return QString();
    }
    // Starts a script that prints its port; the base URL.
    QString ServeScript(const QString& script) {
        server.start("/usr/bin/python3", {"-u", script});
        if (!server.waitForReadyRead(10000)) return QString();
        return QStringLiteral("http://127.0.0.1:%1").arg(server.readLine().trimmed().toInt());
    }
    // The shipped data plus options, written as Japan Post's files into dir.
    static bool Generate(const QString& dir, const QStringList& options = {}) {
        QProcess gen;
        gen.start("/usr/bin/python3",
                  QStringList{Q2_JAPANPOST_FILES, Q2_SOURCE_DIR "/data/zip/zip.dat",
                              Q2_SOURCE_DIR "/barcode/data/nonumber.txt", dir} +
                      options);
        return gen.waitForFinished(120000) && gen.exitCode() == 0;
    }
    // Japan Post's site in the given layout, with the shipped data and one new code.
    QString Publish(site_fixture::Layout layout) {
        QTemporaryDir files;
        if (!Generate(files.path(), {"--add", QStringLiteral("9999991,北海道テスト郡新しい町")}))
            return QString();
        const QString base = Serve();
        if (base.isEmpty() ||
            !site_fixture::WriteSite(site.path(), layout, base, Read(files.filePath("ken_all.zip")),
                                     Read(files.filePath("jigyosyo.zip")),
                                     QDateTime::fromSecsSinceEpoch(1761872400, Qt::UTC)))
            return QString();
        ProfileFile(GetConfigPath()).WriteString("COMMON", "JAPANPOST_BASE", base);
        return base;
    }
    QString Config(const char* key) const {
        return ProfileFile(GetConfigPath()).ReadString("COMMON", key, QString());
    }
    QStringList ZipFolder() const {
        return QDir(QFileInfo(GetZipDataPath()).absolutePath()).entryList(QDir::Files);
    }
    // The shipped data and version installed, as a first start leaves them.
    bool InstallShipped() {
        return Run({"zip", "1000013"}).code == 0 &&
               QFile::copy(Q2_SOURCE_DIR "/data/zip/version.txt", GetZipVersionPath());
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir home, site;
    QProcess server;
};

}  // namespace

// The whole shipped data plus one new code, published where Japan Post has
// its files today; the paths of earlier defaults, still in config.ini, answer
// 404 and count as not set.
TEST_F(Q2ToolUpdate, InstallsNewDataThenSaysItIsCurrent) {
    const QString base = Publish(site_fixture::Layout::Today);
    ASSERT_FALSE(base.isEmpty());
    ProfileFile config(GetConfigPath());
    config.WriteString("COMMON", "KEN_ALL_PATH", "/zipcode/dl/kogaki/zip/ken_all.zip");
    config.WriteString("COMMON", "JIGYOSYO_PATH", "/zipcode/dl/jigyosyo/zip/jigyosyo.zip");

    const ToolRun first = Run({"update-zip"});
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, QStringLiteral("新しい郵便番号データをインストールしました：2025/10/31日本郵便公開データ\n"));
    const ToolRun found = Run({"zip", "9999991"});
    EXPECT_EQ(found.out, QStringLiteral("999-9991\t北海道テスト郡新しい町\n"));
    EXPECT_TRUE(Read(QFileInfo(GetZipDataPath()).absolutePath() + "/nonumber.txt") ==
                Read(Q2_SOURCE_DIR "/barcode/data/nonumber.txt"));

    const ToolRun again = Run({"update-zip", "--base", base + "/"});
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out, QStringLiteral("郵便番号データは最新です：2025/10/31日本郵便公開データ\n"));
}

// The files moved again and only the index pages know where: the update
// follows the pages, installs, and goes straight to the new place next time.
TEST_F(Q2ToolUpdate, FindsMovedFilesThroughTheDownloadPagesAndRemembersThem) {
    ASSERT_FALSE(Publish(site_fixture::Layout::MovedAgain).isEmpty());
    const ToolRun first = Run({"update-zip"});
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_EQ(Run({"zip", "9999991"}).out, QStringLiteral("999-9991\t北海道テスト郡新しい町\n"));
    EXPECT_EQ(Config("KEN_ALL_PATH"), QString::fromLatin1(site_fixture::kMovedKenAll));
    EXPECT_EQ(Config("JIGYOSYO_PATH"), QString::fromLatin1(site_fixture::kMovedJigyosyo));

    // The pages gone, the remembered addresses still lead to the files.
    ASSERT_TRUE(QFile::remove(site.path() + "/zipcode/download.html"));
    const ToolRun again = Run({"update-zip"});
    EXPECT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_EQ(again.out,
              QStringLiteral("郵便番号データは最新です：2025/10/31日本郵便公開データ\n"));
}

TEST_F(Q2ToolUpdate, NoLinkToTheFilesSaysSoAndChangesNothing) {
    ASSERT_FALSE(Publish(site_fixture::Layout::NoLink).isEmpty());
    ASSERT_TRUE(InstallShipped());
    const QByteArray data = Read(GetZipDataPath()), version = Read(GetZipVersionPath());
    const QByteArray config = Read(GetConfigPath());
    const ToolRun run = Run({"update-zip"});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.startsWith(
        QStringLiteral("日本郵便のサイトで郵便番号データのファイルが見つかりませんでした\n")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("update-zip --from"));
    EXPECT_TRUE(Read(GetZipDataPath()) == data);
    EXPECT_TRUE(Read(GetZipVersionPath()) == version);
    EXPECT_TRUE(Read(GetConfigPath()) == config);
}

// A server that never stops sending is cut off at the limit; nothing it sent
// is kept, and the old data stays byte for byte.
TEST_F(Q2ToolUpdate, EndlessResponsesAreCutOffAtTheLimit) {
    const QString base =
        ServeScript(QStringLiteral(Q2_SOURCE_DIR "/tests/zip/servers/endless_http.py"));
    ASSERT_FALSE(base.isEmpty());
    ASSERT_TRUE(InstallShipped());
    const QByteArray data = Read(GetZipDataPath()), version = Read(GetZipVersionPath());
    const QStringList folder = ZipFolder();
    // What an update killed in the middle would have left.
    ASSERT_TRUE(site_fixture::WriteSiteFile(QFileInfo(GetZipDataPath()).absolutePath(),
                                            "/download-k1ll3d.part", "1000013,"));
    struct Case {
        const char* source;
        const char* message;
    };
    const Case cases[] = {
        {"server",
         "zip.dat が上限の 32 MB を超えたため、ダウンロードを中止しました。\n"
         "元のデータをそのまま使用します。\n"},
        {"japanpost",
         "ken_all.zip が上限の 64 MB を超えたため、ダウンロードを中止しました。\n"
         "元のデータをそのまま使用します。\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        const ToolRun run = Run({"update-zip", "--source", c.source, "--base", base});
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(run.err.endsWith(QString::fromUtf8(c.message))) << run.err.toStdString();
        EXPECT_TRUE(Read(GetZipDataPath()) == data);
        EXPECT_TRUE(Read(GetZipVersionPath()) == version);
        EXPECT_EQ(ZipFolder(), folder);  // no temporary file left behind
    }
}

// Files downloaded elsewhere: the ZIPs of either edition, or the CSV files
// inside them, in any order, give the shipped data back byte for byte.
TEST_F(Q2ToolUpdate, FromFilesGivesTheShippedDataByteForByte) {
    QTemporaryDir sjis, utf8;
    ASSERT_TRUE(Generate(sjis.path()));
    ASSERT_TRUE(Generate(utf8.path(), {"--utf8"}));
    QProcess unzip;
    unzip.start("/usr/bin/unzip", {"-q", "-d", sjis.path(), sjis.filePath("ken_all.zip")});
    ASSERT_TRUE(unzip.waitForFinished() && unzip.exitCode() == 0);
    unzip.start("/usr/bin/unzip", {"-q", "-d", sjis.path(), sjis.filePath("jigyosyo.zip")});
    ASSERT_TRUE(unzip.waitForFinished() && unzip.exitCode() == 0);
    const QStringList cases[] = {
        {sjis.filePath("ken_all.zip"), sjis.filePath("jigyosyo.zip")},
        {utf8.filePath("jigyosyo.zip"), utf8.filePath("utf_ken_all.zip")},
        {sjis.filePath("KEN_ALL.CSV"), sjis.filePath("JIGYOSYO.CSV")},
    };
    for (const QStringList& files : cases) {
        SCOPED_TRACE(files.join(' ').toStdString());
        ASSERT_TRUE(QFile::remove(GetZipDataPath()) || !QFile::exists(GetZipDataPath()));
        const ToolRun run = Run(QStringList{"update-zip", "--from"} + files);
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_TRUE(
            run.out.startsWith(QStringLiteral("新しい郵便番号データをインストールしました：")));
        EXPECT_TRUE(Read(GetZipDataPath()) == Read(Q2_SOURCE_DIR "/data/zip/zip.dat"));
        EXPECT_TRUE(Read(QFileInfo(GetZipDataPath()).absolutePath() + "/nonumber.txt") ==
                    Read(Q2_SOURCE_DIR "/barcode/data/nonumber.txt"));
    }

    // A wrong pick leaves what was installed.
    const QByteArray data = Read(GetZipDataPath());
    struct Bad {
        QStringList files;
        const char* message;
    };
    const Bad bad[] = {
        {{sjis.filePath("jigyosyo.zip")},
         "住所の郵便番号（KEN_ALL）と事業所の個別郵便番号（JIGYOSYO）の両方のファイルを指定してください"},
        {{sjis.filePath("ken_all.zip"), sjis.filePath("KEN_ALL.CSV")},
         "は郵便番号データではありません"},
        {{sjis.filePath("ken_all.zip"), Q2_SOURCE_DIR "/README.md"},
         "は郵便番号データではありません"},
        {{sjis.filePath("ken_all.zip"), sjis.filePath("missing.zip")}, "を開けません"},
    };
    for (const Bad& b : bad) {
        const ToolRun run = Run(QStringList{"update-zip", "--from"} + b.files);
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(b.message))) << run.err.toStdString();
        EXPECT_TRUE(Read(GetZipDataPath()) == data);
    }
}

TEST_F(Q2ToolUpdate, FailuresKeepTheDataAndUsageErrorsAreRefused) {
    ASSERT_TRUE(site_fixture::WriteSiteFile(site.path(), site_fixture::kTodayKenAll,
                                            "PK\x03\x04 cut short"));
    ASSERT_TRUE(site_fixture::WriteSiteFile(site.path(), site_fixture::kTodayJigyosyo, "PK"));
    const QString base = Serve();
    ASSERT_FALSE(base.isEmpty());
    ASSERT_EQ(Run({"zip", "1000013"}).code, 0);  // installs the shipped data
    const QByteArray before = Read(GetZipDataPath());

    const ToolRun bad = Run({"update-zip", "--base", base});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("更新データの取得に失敗しました。\n"))) << bad.err.toStdString();
    EXPECT_TRUE(Read(GetZipDataPath()) == before);

    const ToolRun noServer = Run({"update-zip", "--source", "server", "--base", "http://127.0.0.1:9"});
    EXPECT_EQ(noServer.code, 1);
    EXPECT_TRUE(noServer.err.contains(QStringLiteral("更新データを確認できませんでした。")));

    EXPECT_EQ(Run({"update-zip", "--source", "ftp"}).code, 2);
    EXPECT_EQ(Run({"update-zip", "--base", "127.0.0.1"}).code, 2);
    EXPECT_EQ(Run({"update-zip", "extra"}).code, 2);
    EXPECT_EQ(Run({"update-zip", "--from"}).code, 2);
    EXPECT_EQ(Run({"update-zip", "--from", "a.zip", "b.zip", "--base", base}).code, 2);
}

TEST_F(Q2ToolUpdate, CheckZipListsTheRecordsThatNoLongerFit) {
    QDir().mkpath(QFileInfo(GetZipDataPath()).absolutePath());
    ASSERT_TRUE(review_fixture::WriteData(GetZipDataPath()));
    TUserInfoList book;
    review_fixture::FillBook(book);
    const QString path = home.filePath("book.qt2");
    ASSERT_TRUE(book.SaveToFile(path));
    const ToolRun run = Run({"check-zip", path});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    lines.sort();  // in the book's order, which saving may change
    EXPECT_EQ(lines.join(u'\n') + u'\n', QStringLiteral(
        "佐藤 一郎\t自宅\t100-0004\t東京都千代田区丸の内２－７－３\t郵便番号が別の町域のものになりました\t〒100-0005　東京都千代田区丸の内２－７－３\t〒100-0004　東京都千代田区大手町２－７－３\n"
        "山田 太郎\t自宅\t999-9999\t東京都千代田区霞が関１－１\t郵便番号がなくなりました\t〒100-0013　東京都千代田区霞が関１－１\n"
        "鈴木 花子\t自宅\t430-0946\t静岡県浜松市中区元城町１０３－２\t住所が郵便番号の町域と一致しません\t〒430-0946　静岡県浜松市中央区元城町１０３－２\n"));
    EXPECT_EQ(Run({"check-zip"}).code, 2);
    EXPECT_EQ(Run({"check-zip", home.filePath("missing.qt2")}).code, 1);
}
