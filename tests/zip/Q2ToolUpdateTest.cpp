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

#include "ReviewFixture.h"
#include "model/DataPaths.h"
#include "platform/DataFolder.h"

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
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir home, site;
    QProcess server;
};

}  // namespace

// The whole shipped data plus one new code, published as Japan Post does.
TEST_F(Q2ToolUpdate, InstallsNewDataThenSaysItIsCurrent) {
    const QString kenDir = site.path() + "/zipcode/dl/kogaki/zip", jigDir = site.path() + "/zipcode/dl/jigyosyo/zip";
    QProcess gen;
    gen.start("/usr/bin/python3", {Q2_JAPANPOST_FILES, Q2_SOURCE_DIR "/data/zip/zip.dat",
                                   Q2_SOURCE_DIR "/barcode/data/nonumber.txt", kenDir,
                                   "--add", QStringLiteral("9999991,北海道テスト郡新しい町"),
                                   "--mtime", "1761872400"});
    ASSERT_TRUE(gen.waitForFinished(120000) && gen.exitCode() == 0);
    ASSERT_TRUE(QDir().mkpath(jigDir));
    ASSERT_TRUE(QFile::rename(kenDir + "/jigyosyo.zip", jigDir + "/jigyosyo.zip"));
    const QString base = Serve();
    ASSERT_FALSE(base.isEmpty());

    const ToolRun first = Run({"update-zip", "--base", base});
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

TEST_F(Q2ToolUpdate, FailuresKeepTheDataAndUsageErrorsAreRefused) {
    ASSERT_TRUE(QDir().mkpath(site.path() + "/zipcode/dl/kogaki/zip"));
    ASSERT_TRUE(QDir().mkpath(site.path() + "/zipcode/dl/jigyosyo/zip"));
    QFile ken(site.path() + "/zipcode/dl/kogaki/zip/ken_all.zip"), jig(site.path() + "/zipcode/dl/jigyosyo/zip/jigyosyo.zip");
    ASSERT_TRUE(ken.open(QIODevice::WriteOnly) && jig.open(QIODevice::WriteOnly));
    ken.write("<html>maintenance</html>");
    jig.write("PK");
    ken.close();
    jig.close();
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
