// The data folder follows XDG_DATA_HOME and is filled from the installation.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/DataFolder.h"

using namespace q2;

TEST(DataFolder, LivesUnderXdgDataHomeAndGetsTheInstallationDefaults) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    EXPECT_EQ(DataFolderPath(), dir.path() + "/Zabelle/Quintaro2/");
    ASSERT_TRUE(EnsureDataFolder());
    const auto others = QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    EXPECT_FALSE(QFile::permissions(DataFolderPath()) & others);  // created 0700
    ASSERT_FALSE(InstallDataPath().isEmpty());

    // A file the user already has is never replaced.
    QFile own(DataFolderPath() + "category_2.dat");
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("mine\r\n");
    own.close();

    const QStringList copied = CopyMissingDefaults(DefaultDataFiles());
    EXPECT_TRUE(copied.contains("category_1.dat"));
    EXPECT_TRUE(copied.contains("zip/zip.dat"));
    EXPECT_FALSE(copied.contains("category_2.dat"));
    QFile kept(DataFolderPath() + "category_2.dat");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("mine\r\n"));
    EXPECT_TRUE(CopyMissingDefaults(DefaultDataFiles()).isEmpty());
}

TEST(DataFolder, AnOpenFolderOfAnEarlierVersionIsClosedToOthers) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    ASSERT_TRUE(QDir().mkpath(DataFolderPath()));
    ASSERT_TRUE(QFile::setPermissions(DataFolderPath(), QFile::ReadOwner | QFile::WriteOwner |
                                                            QFile::ExeOwner | QFile::ReadOther |
                                                            QFile::ExeOther));
    ASSERT_TRUE(EnsureDataFolder());
    EXPECT_FALSE(QFile::permissions(DataFolderPath()) & (QFile::ReadOther | QFile::ExeOther));
}
