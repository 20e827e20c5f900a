// q2tool zip, run as a user would run it, over the postal data the
// installation ships (copied into a fresh data folder on first use).
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

struct ToolRun {
    int code;
    QString out, err;
};

ToolRun Zip(const QStringList& args) {
    QTemporaryDir data;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(Q2TOOL_PATH), QStringList{QStringLiteral("zip")} + args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(Q2ToolZip, LooksUpByCodeAndByAddress) {
    const ToolRun code = Zip({QStringLiteral("100-0013")});
    ASSERT_EQ(code.code, 0) << code.err.toStdString();
    EXPECT_EQ(code.out, QStringLiteral("100-0013\t東京都千代田区霞が関\n"));

    const ToolRun address = Zip({QStringLiteral("--address"), QStringLiteral("霞が関")});
    ASSERT_EQ(address.code, 0);
    EXPECT_TRUE(address.out.startsWith(QStringLiteral("100-0013\t東京都千代田区霞が関\n")));

    const ToolRun none = Zip({QStringLiteral("9999999")});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains(QStringLiteral("郵便番号が不明です")));
    EXPECT_EQ(Zip({QStringLiteral("10")}).code, 1);
    EXPECT_EQ(Zip({}).code, 2);
}

}  // namespace
