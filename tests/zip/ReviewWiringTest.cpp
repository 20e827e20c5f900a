// The main window after the postal data update installed new data: the
// review is offered, and an applied suggestion changes the record and marks
// the book modified.
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "AppFixture.h"
#include "app/DialogWiring.h"
#include "app/RecordEditor.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"
#include "zip/FormZipReview.h"
#include "zip/FormZipUpdate.h"

using namespace q2;
using q2test::AppTest;

TEST_F(AppTest, NewPostalDataOffersTheReviewOfTheOpenBook) {
    QFile version(GetZipVersionPath());
    QDir().mkpath(QFileInfo(GetZipVersionPath()).absolutePath());
    ASSERT_TRUE(version.open(QIODevice::WriteOnly));
    version.write("20250930\r\nold\r\n");
    version.close();

    QTemporaryDir site;
    const QString ken = site.path() + "/service/search/zipcode/download/kogaki/zip";
    const QString jig = site.path() + "/service/search/zipcode/download/office/zip";
    QProcess gen;
    gen.start("/usr/bin/python3", {Q2_JAPANPOST_FILES, Q2_SOURCE_DIR "/data/zip/zip.dat",
                                   Q2_SOURCE_DIR "/barcode/data/nonumber.txt", ken, "--prefixes", "100"});
    ASSERT_TRUE(gen.waitForFinished(60000) && gen.exitCode() == 0);
    ASSERT_TRUE(QDir().mkpath(jig) && QFile::rename(ken + "/jigyosyo.zip", jig + "/jigyosyo.zip"));
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    QProcess server;
    server.start("/usr/bin/python3", {"-m", "http.server", QString::number(port), "--bind", "127.0.0.1",
                                      "--directory", site.path()});
    bool up = false;
    for (int i = 0; i < 100 && !up; ++i) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, port);
        up = s.waitForConnected(100);
        if (!up) QTest::qWait(50);
    }
    ASSERT_TRUE(up);
    ProfileFile(GetConfigPath()).WriteString("COMMON", "JAPANPOST_BASE", QStringLiteral("http://127.0.0.1:%1").arg(port));

    TFormMain& m = Start();
    InstallDialogs(m);
    TUserInfo* record = m.Session.Book.Add();
    record->PerSonalName_1 = QStringLiteral("山田");
    record->PerSonalZip_1 = "999";
    record->PerSonalZip_2 = "9999";
    record->PerSonalAddress_1 = QStringLiteral("東京都千代田区霞が関１－１");
    m.Session.SetSaved(true);
    m.RebuildDisplayList();
    m.SelectRows({0});  // the record is in the editor throughout
    ASSERT_EQ(m.CurrentRecord, record);

    runner.dialogs = {
        [](QDialog& d) {
            auto& update = dynamic_cast<Tzip_update&>(d);
            update.MinResidentialLines = 1;
            update.show();
            QSignalSpy done(&update, &Tzip_update::DownloadFinished);
            update.Button1Click();
            EXPECT_TRUE(done.wait(20000));
            update.Btn_CancelClick();
            return int(QDialog::Accepted);
        },
        [](QDialog& d) {
            auto& review = dynamic_cast<TFormZipReview&>(d);
            EXPECT_EQ(review.Findings().size(), 1);
            review.ApplyRow(0);
            return int(QDialog::Accepted);
        }};
    prompter.answers = {true, true};
    m.PngBtnZipUpdateClick();
    server.kill();
    server.waitForFinished();

    EXPECT_TRUE(runner.dialogs.empty());
    EXPECT_EQ(prompter.asked.size(), 2);
    EXPECT_TRUE(prompter.asked.last().startsWith(QStringLiteral("新しい郵便番号データと一致しない住所が住所録に1件あります。")));
    EXPECT_EQ(record->PerSonalZip_1 + record->PerSonalZip_2, QStringLiteral("1000013"));
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(m.RecordEditor->EditPersonalZip_2->text(), QStringLiteral("0013"));
    // The applied suggestion is one undoable step.
    m.Undo();
    EXPECT_EQ(record->PerSonalZip_1 + record->PerSonalZip_2, QStringLiteral("9999999"));
    EXPECT_TRUE(m.Session.Saved());
    // An edit in the editor after the suggestion keeps it.
    m.Redo();
    QTest::keyClicks(m.RecordEditor->EditPersonalTel_1, QStringLiteral("03"));
    EXPECT_EQ(record->PerSonalZip_1 + record->PerSonalZip_2, QStringLiteral("1000013"));
    EXPECT_EQ(record->PerSonalTel_1, QStringLiteral("03"));
}
