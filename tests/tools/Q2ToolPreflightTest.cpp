// q2tool preflight on a book file, run as a user would run it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "model/UserInfoList.h"

using namespace q2;

namespace {

TEST(Q2ToolPreflight, ACardWithoutAnAddressFailsTheCheck) {
    QTemporaryDir dir;
    TUserInfoList book;
    const auto add = [&book](const char* name, const char* address, bool marked) {
        TUserInfo* r = book.Add();
        r->PerSonalName_1 = QString::fromUtf8(name);
        r->PerSonalHonorificTitle = QStringLiteral("様");
        r->PerSonalZip_1 = QStringLiteral("100");
        r->PerSonalZip_2 = QStringLiteral("0013");
        r->PerSonalAddress_1 = QString::fromUtf8(address);
        r->CommonUseTypePersonal = true;
        r->CommonPrintCheck = marked;
    };
    add("山田", "東京都千代田区霞が関1-1", true);
    add("鈴木", "", true);
    add("佐藤", "", false);  // not in the print run
    const QString path = dir.filePath("book.QT2");
    ASSERT_TRUE(book.SaveToFile(path));

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath("data"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(Q2TOOL_PATH), {QStringLiteral("preflight"), path});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()),
              QStringLiteral("1\t鈴木\tPerSonalAddress_1\taddress-empty\t住所１がありません\t\n"));
}

}  // namespace
