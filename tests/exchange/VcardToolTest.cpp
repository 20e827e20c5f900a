// q2tool export-vcard and import-vcard on the sample book, run as a user would run them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>

#include "model/UserInfoList.h"

namespace {

struct ToolResult {
    int code;
    QByteArray out;
    QString err;
};

// The data folder of every run (where the UIDs of exported cards are kept),
// apart from the user's.
QString DataHome() {
    static QTemporaryDir home;
    return home.path();
}

ToolResult Q2Tool(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", DataHome());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(Q2TOOL_PATH), args);
    p.waitForFinished(120000);
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

const QString kSample = QStringLiteral(Q2_SOURCE_DIR "/data/sample.QT2");

// The records of `q2tool dump`. Saving a book writes the records, and each
// record's history, from last to first, so a book built by appending reads
// back reversed: `reversed` turns it round again.
QJsonArray DumpedRecords(const QString& book, bool reversed) {
    const ToolResult r = Q2Tool({"dump", book});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonArray records = QJsonDocument::fromJson(r.out).object().value("records").toArray();
    QJsonArray out;
    for (qsizetype k = 0; k < records.size(); ++k) {
        const qsizetype i = reversed ? records.size() - 1 - k : k;
        QJsonObject o = records[i].toObject();
        // The history's one-line text follows the stored order; the entries
        // themselves are compared.
        o.remove("CommonHistoryOneLine");
        if (!reversed) {
            out.append(o);
            continue;
        }
        const QJsonArray h = o.value("CommonHistoryObjectList").toArray();
        QJsonArray turned;
        for (qsizetype j = h.size() - 1; j >= 0; --j) turned.append(h[j]);
        o.insert("CommonHistoryObjectList", turned);
        out.append(o);
    }
    return out;
}

}  // namespace

TEST(VcardTool, SampleBookComesBackEqualInEveryField) {
    const QJsonArray original = DumpedRecords(kSample, false);
    ASSERT_EQ(original.size(), 30);
    for (const char* version : {"3.0", "4.0"}) {
        SCOPED_TRACE(version);
        QTemporaryDir dir;
        const QString vcf = dir.filePath("sample.vcf"), book = dir.filePath("back.QT2");
        const ToolResult e = Q2Tool({"export-vcard", kSample, vcf, "--version", version});
        ASSERT_EQ(e.code, 0) << e.err.toStdString();
        EXPECT_EQ(QString::fromUtf8(e.out).trimmed(), QString("30件の出力を完了しました"));
        const ToolResult i = Q2Tool({"import-vcard", vcf, book});
        ASSERT_EQ(i.code, 0) << i.err.toStdString();
        EXPECT_EQ(QString::fromUtf8(i.out).trimmed(), QString("30件の追加を完了しました"));
        EXPECT_FALSE(i.err.contains("取り込まなかった項目")) << i.err.toStdString();
        const QJsonArray back = DumpedRecords(book, true);
        ASSERT_EQ(back.size(), original.size());
        for (qsizetype r = 0; r < original.size(); ++r)
            EXPECT_EQ(back[r].toObject(), original[r].toObject())
                << r << "\n"
                << QJsonDocument(back[r].toObject()).toJson().constData();
    }
}

TEST(VcardTool, BadInputLeavesTheBookAsItWas) {
    QTemporaryDir dir;
    const QString book = dir.filePath("b.QT2"), vcf = dir.filePath("in.vcf");
    ASSERT_TRUE(QFile::copy(kSample, book));
    QFile f(vcf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x00\x01garbage without any card\r\nEND:VCARD\r\n", 38);
    f.close();
    const QByteArray before = [&] {
        QFile b(book);
        b.open(QIODevice::ReadOnly);
        return b.readAll();
    }();
    const ToolResult none = Q2Tool({"import-vcard", vcf, book});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(none.err.contains(QString("ファイル %1 には取り込むデータがありません").arg(vcf)));
    const ToolResult missing = Q2Tool({"import-vcard", dir.filePath("none.vcf"), book});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QString("ファイル %1 が見つかりません").arg(dir.filePath("none.vcf"))));
    QFile b(book);
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(b.readAll(), before);

    EXPECT_EQ(Q2Tool({"export-vcard", book, dir.filePath("o.vcf"), "--version", "2.1"}).code, 2);
    EXPECT_EQ(Q2Tool({"import-vcard", vcf}).code, 2);
    const ToolResult noFolder = Q2Tool({"export-vcard", book, dir.filePath("no/such/o.vcf")});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_TRUE(noFolder.err.contains("を作成できません"));
}

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kScripts = QStringLiteral(Q2_SOURCE_DIR "/tests/exchange/");

ToolResult Python(const QStringList& args) {
    QProcess p;
    p.start(kPython, args);
    p.waitForFinished(120000);
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

QStringList Uids(const QString& vcf) {
    QFile f(vcf);
    f.open(QIODevice::ReadOnly);
    QStringList out;
    const QString text = QString::fromUtf8(f.readAll());
    static const QRegularExpression uid(QStringLiteral("^UID:(.*)\r$"),
                                        QRegularExpression::MultilineOption);
    for (auto it = uid.globalMatch(text); it.hasNext();) out << it.next().captured(1);
    return out;
}

}  // namespace

TEST(VcardTool, WhatAnIndependentLibraryRewritesComesBackEqual) {
    const QJsonArray original = DumpedRecords(kSample, false);
    for (const char* version : {"3.0", "4.0"}) {
        SCOPED_TRACE(version);
        QTemporaryDir dir;
        const QString vcf = dir.filePath("sample.vcf"), judged = dir.filePath("judged.vcf"),
                      book = dir.filePath("back.QT2");
        ASSERT_EQ(Q2Tool({"export-vcard", kSample, vcf, "--version", version}).code, 0);
        const ToolResult j = Python({kScripts + "vobject_rewrite.py", vcf, judged});
        ASSERT_EQ(j.code, 0) << j.err.toStdString();
        EXPECT_EQ(j.out.trimmed(), QByteArray("30"));
        const ToolResult i = Q2Tool({"import-vcard", judged, book});
        ASSERT_EQ(i.code, 0) << i.err.toStdString();
        EXPECT_FALSE(i.err.contains("取り込まなかった項目")) << i.err.toStdString();
        const QJsonArray back = DumpedRecords(book, true);
        ASSERT_EQ(back.size(), original.size());
        int jointNames = 0, history = 0;
        for (qsizetype r = 0; r < original.size(); ++r) {
            EXPECT_EQ(back[r].toObject(), original[r].toObject())
                << r << "\n"
                << QJsonDocument(back[r].toObject()).toJson().constData();
            history += original[r].toObject().value("CommonHistoryObjectList").toArray().size();
            for (const char* j : {"CommonJointNameObj_1", "CommonJointNameObj_2"})
                jointNames += !original[r]
                                   .toObject()
                                   .value(j)
                                   .toObject()
                                   .value("PrintName")
                                   .toString()
                                   .isEmpty();
        }
        // The sample book has both, so that the comparison covers them.
        EXPECT_GT(jointNames, 0);
        EXPECT_GT(history, 0);
    }
}

TEST(VcardTool, RadicaleAcceptsEveryExportedCardAndTheUidsStay) {
    QTemporaryDir dir;
    const QString v3 = dir.filePath("v3.vcf"), v4 = dir.filePath("v4.vcf");
    ASSERT_EQ(Q2Tool({"export-vcard", kSample, v3, "--version", "3.0"}).code, 0);
    ASSERT_EQ(Q2Tool({"export-vcard", kSample, v4, "--version", "4.0"}).code, 0);
    // One record, one UID: in both versions and in a later export.
    const QStringList uids = Uids(v3);
    ASSERT_EQ(uids.size(), 30);
    EXPECT_EQ(QSet<QString>(uids.begin(), uids.end()).size(), 30);
    EXPECT_EQ(Uids(v4), uids);

    QTcpServer probe;  // a free port on the loopback
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    QFile users(dir.filePath("users"));
    ASSERT_TRUE(users.open(QIODevice::WriteOnly));
    users.write("judge:secret\n");
    users.close();
    QFile config(dir.filePath("radicale.conf"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n"
                                "[auth]\ntype = htpasswd\nhtpasswd_filename = %2\n"
                                "htpasswd_encryption = plain\n"
                                "[storage]\nfilesystem_folder = %3\n"
                                "[rights]\ntype = owner_only\n")
                     .arg(port)
                     .arg(users.fileName(), dir.filePath("collections"))
                     .toUtf8());
    config.close();
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(kPython, {"-m", "radicale", "--config", config.fileName()});
    ASSERT_TRUE(server.waitForStarted());
    const ToolResult put =
        Python({kScripts + "carddav_put.py", QStringLiteral("http://127.0.0.1:%1").arg(port),
                "judge", "secret", v3, v4});
    server.terminate();
    server.waitForFinished(5000);
    ASSERT_EQ(put.code, 0) << put.err.toStdString() << server.readAll().constData();
    QList<QByteArray> lines = put.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 61) << put.out.constData();
    EXPECT_EQ(lines.takeFirst().trimmed(), QByteArray("MKCOL 201"));
    for (int i = 0; i < 60; ++i)
        EXPECT_TRUE(lines[i].trimmed().startsWith('2')) << i << lines[i].constData();
    // The 4.0 cards replaced the 3.0 ones under the same UIDs.
    const QDir stored(dir.filePath("collections/collection-root/judge/contacts"));
    EXPECT_EQ(stored.entryList({"*.vcf"}, QDir::Files).size(), 30);
}
