// List files and "pro.dat".
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "model/ListFile.h"

using namespace q2;

TEST(ListFile, SplitsAtEveryKindOfLineBreak) {
    struct Case { QByteArray bytes; QStringList items; };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r\n\r\nc", {"a", "b", "", "c"}},
        {QByteArray("a\r\nb\0c\r\n", 8), {"a", "b"}},
        {"", {}},
        {"\r\n", {""}},
        {"\x97\x46\x92\x42\n", {QStringLiteral("友達")}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseListBytes(c.bytes), c.items) << c.bytes.toHex().constData();
}

TEST(ListFile, SavingEndsEveryLineWithCrLf) {
    QTemporaryDir dir;
    const QString path = dir.filePath("category_1.dat");
    bool exists = true;
    EXPECT_TRUE(LoadListFile(path, &exists).isEmpty());
    EXPECT_FALSE(exists);
    ASSERT_TRUE(SaveListFile(path, {QStringLiteral("友達"), "", "x"}));
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), QByteArray("\x97\x46\x92\x42\r\n\r\nx\r\n"));
    EXPECT_EQ(LoadListFile(path, &exists), (QStringList{QStringLiteral("友達"), "", "x"}));
    EXPECT_TRUE(exists);
}

TEST(ListFile, ProxyFileHasTwoLines) {
    QTemporaryDir dir;
    const QString path = dir.filePath("pro.dat");
    TProxySetting p = LoadProxyFile(path);
    EXPECT_TRUE(p.Host.isEmpty() && p.Port.isEmpty());
    ASSERT_TRUE(SaveProxyFile(path, p));
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), QByteArray("\r\n\r\n"));
    ASSERT_TRUE(SaveProxyFile(path, {"proxy.example.jp", "8080"}));
    p = LoadProxyFile(path);
    EXPECT_EQ(p.Host, "proxy.example.jp");
    EXPECT_EQ(p.Port, "8080");
}
