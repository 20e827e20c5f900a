// q2tool export-vcard and import-vcard on the sample book, run as a user would run them.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "model/UserInfoList.h"

namespace {

struct ToolResult {
    int code;
    QByteArray out;
    QString err;
};

ToolResult Q2Tool(const QStringList& args) {
    QProcess p;
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
