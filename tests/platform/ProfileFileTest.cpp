// INI profile files: defaults, number rules and writes that keep other keys.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/ProfileFile.h"

#include <unistd.h>

using namespace q2;

namespace {
QString WriteIni(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath("config.ini");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}
QByteArray ReadAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
}  // namespace

TEST(ProfileFile, MissingFileSectionOrKeyGivesTheDefault) {
    QTemporaryDir dir;
    ProfileFile missing(dir.filePath("none.ini"));
    EXPECT_FALSE(missing.ReadBool("COMMON", "USE_OPEN_FILE", false));
    EXPECT_EQ(missing.ReadString("COMMON", "OPEN_FILE_NAME", "x"), "x");
    ProfileFile ini(WriteIni(dir, "[OTHER]\r\nKEY=1\r\n"));
    EXPECT_EQ(ini.ReadInteger("COMMON", "KEY", 7), 7);
    EXPECT_EQ(ini.ReadInteger("OTHER", "MISSING", 7), 7);
}

TEST(ProfileFile, BooleansAndIntegersFollowTheNumberRules) {
    QTemporaryDir dir;
    ProfileFile ini(WriteIni(dir,
                             "[common]\r\nA=yes\r\nB=2\r\nC=0\r\nD = -12 \r\nE=1x\r\nuse_open_file=1\r\n"));
    EXPECT_FALSE(ini.ReadBool("COMMON", "A", false));  // not a number: the default
    EXPECT_TRUE(ini.ReadBool("COMMON", "A", true));
    EXPECT_TRUE(ini.ReadBool("COMMON", "B", false));
    EXPECT_FALSE(ini.ReadBool("COMMON", "C", true));
    EXPECT_EQ(ini.ReadInteger("COMMON", "D", 0), -12);
    EXPECT_EQ(ini.ReadInteger("COMMON", "E", 5), 5);
    EXPECT_TRUE(ini.ReadBool("Common", "USE_OPEN_FILE", false));  // names ignore case
}

TEST(ProfileFile, WritingOneKeyLeavesEverythingElse) {
    QTemporaryDir dir;
    const QString path = WriteIni(dir, "; comment\r\n[COMMON]\r\nUSE_OPEN_FILE=0\r\n\r\n"
                                       "[PRINT_CONF]\r\nKIND=3\r\n");
    ProfileFile ini(path);
    ASSERT_TRUE(ini.WriteString("COMMON", "OPEN_FILE_NAME", QStringLiteral("/home/山田/住所録.QT2")));
    ASSERT_TRUE(ini.WriteBool("common", "use_open_file", true));
    ASSERT_TRUE(ini.WriteInteger("NEW", "X", 5));
    EXPECT_EQ(ReadAll(path), QByteArray("; comment\r\n[COMMON]\r\nuse_open_file=1\r\n"
                                        "OPEN_FILE_NAME=/home/\x8E\x52\x93\x63/\x8F\x5A\x8F\x8A\x98\x5E.QT2\r\n\r\n"
                                        "[PRINT_CONF]\r\nKIND=3\r\n[NEW]\r\nX=5\r\n"));
    EXPECT_EQ(ini.ReadString("COMMON", "OPEN_FILE_NAME", ""), QStringLiteral("/home/山田/住所録.QT2"));
}

TEST(ProfileFile, WritingCreatesTheFile) {
    QTemporaryDir dir;
    ProfileFile ini(dir.filePath("new.ini"));
    ASSERT_TRUE(ini.WriteString("COMMON", "OPEN_FILE_NAME", ""));
    EXPECT_EQ(ReadAll(ini.Path()), QByteArray("[COMMON]\r\nOPEN_FILE_NAME=\r\n"));
}

// The probe: a config.ini of seven keys the writer cannot read was replaced by
// one holding only the key being set, and the write reported success.
TEST(ProfileFile, AFileThatCannotBeReadIsNotRewritten) {
    QTemporaryDir dir;
    const QByteArray seven = "[COMMON]\r\nA=1\r\nB=2\r\nC=3\r\nD=4\r\nE=5\r\nF=6\r\nG=7\r\n";
    // NUL bytes make it no text file; this case also runs as root.
    const QByteArray binary = QByteArray("[COMMON]\r\nA=1\r\n") + QByteArray(3, '\0') + "B=2\r\n";
    ProfileFile ini(WriteIni(dir, binary));
    EXPECT_FALSE(ini.WriteString("COMMON", "OPEN_FILE_NAME", "x"));
    EXPECT_EQ(ini.LastWriteProblem(), SaveProblem::UnreadableOriginal);
    EXPECT_EQ(ReadAll(ini.Path()), binary);

    ProfileFile folder(dir.filePath("folder.ini"));
    ASSERT_TRUE(QDir().mkdir(folder.Path()));
    EXPECT_FALSE(folder.WriteBool("COMMON", "USE_OPEN_FILE", true));
    EXPECT_EQ(folder.LastWriteProblem(), SaveProblem::NotAFile);

    if (geteuid() == 0) GTEST_SKIP() << "root reads a file of mode 0200";
    const QString path = WriteIni(dir, seven);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::WriteOwner));
    ProfileFile locked(path);
    EXPECT_FALSE(locked.WriteString("COMMON", "OPEN_FILE_NAME", "x"));
    EXPECT_EQ(locked.LastWriteProblem(), SaveProblem::UnreadableOriginal);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(ReadAll(path), seven);
}

TEST(ProfileFile, ARewrittenFileKeepsItsPermissionBits) {
    QTemporaryDir dir;
    ProfileFile ini(WriteIni(dir, "[COMMON]\r\nA=1\r\n"));
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(ini.Path(), mode));
    ASSERT_TRUE(ini.WriteString("COMMON", "B", "2"));
    EXPECT_EQ(QFile::permissions(ini.Path()) & ~(QFile::ReadUser | QFile::WriteUser), mode);
    EXPECT_EQ(ReadAll(ini.Path()), "[COMMON]\r\nA=1\r\nB=2\r\n");
}
