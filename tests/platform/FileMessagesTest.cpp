// Why a file could not be read or saved, in the words the user sees.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "platform/SafeFile.h"
#include "platform/UserFile.h"

#include <unistd.h>

using namespace q2;

TEST(FileMessages, ReadProblemsHaveTheirOwnTexts) {
    const struct {
        FileProblem problem;
        const char* text;
    } cases[] = {
        {FileProblem::Missing, "ファイル /x/a.QT2 が見つかりません"},
        {FileProblem::NoPermission, "ファイル /x/a.QT2 を読み込めません（アクセス権がありません）"},
        {FileProblem::NotAFile, "/x/a.QT2 はファイルではありません"},
        {FileProblem::TooLarge, "ファイル /x/a.QT2 は大きすぎるため読み込めません"},
        {FileProblem::None, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileProblemMessage(c.problem, "/x/a.QT2"), QString::fromUtf8(c.text));
}

TEST(FileMessages, AFailedSaveNamesTheReasonAndThePath) {
    const struct {
        int error;
        const char* second;
    } cases[] = {
        {EACCES, "書き込む権限がありません: /x/a.QT2"},
        {EROFS, "書き込む権限がありません: /x/a.QT2"},
        {ENOSPC, "ディスクの空き容量が足りません: /x/a.QT2"},
        {EDQUOT, "ディスクの空き容量が足りません: /x/a.QT2"},
        {ENOENT, "保存先のフォルダがありません: /x/a.QT2"},
        {EISDIR, "/x/a.QT2 はファイルではありません"},
        {EIO, "書き込み中にエラーが発生しました: /x/a.QT2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SaveFailureMessage(SaveProblemFromErrno(c.error), "/x/a.QT2"),
                  QStringLiteral("ファイルの保存に失敗しました\n") + QString::fromUtf8(c.second))
            << c.error;
    EXPECT_EQ(SaveFailureMessage(SaveProblem::DiskFull, "/m", QStringLiteral("ファイル /m を作成できません")),
              QStringLiteral("ファイル /m を作成できません\nディスクの空き容量が足りません: /m"));
}

TEST(FileMessages, ReaderTakesOnlyRegularFilesUpToTheLimit) {
    QTemporaryDir dir;
    QByteArray bytes = "x";
    EXPECT_EQ(ReadUserFile(dir.filePath("none"), &bytes), FileProblem::Missing);
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_EQ(ReadUserFile(dir.path(), &bytes), FileProblem::NotAFile);
    EXPECT_EQ(ReadUserFile("/dev/zero", &bytes), FileProblem::NotAFile);
    const QString path = dir.filePath("ten");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0123456789");
    f.close();
    EXPECT_EQ(ReadUserFile(path, &bytes, 9), FileProblem::TooLarge);
    EXPECT_EQ(ReadUserFile(path, &bytes, 10), FileProblem::None);
    EXPECT_EQ(bytes, "0123456789");
    if (geteuid() == 0) GTEST_SKIP() << "root reads a file of mode 0200";
    ASSERT_TRUE(QFile::setPermissions(path, QFile::WriteOwner));
    EXPECT_EQ(ReadUserFile(path, &bytes), FileProblem::NoPermission);
}

TEST(FileMessages, PrivateFilesAreOwnerOnlyAndOthersKeepTheirBits) {
    QTemporaryDir dir;
    const QString secret = dir.filePath("secret"), shared = dir.filePath("shared");
    ASSERT_EQ(WriteFileSafely(secret, "pw", FileMode::Private), SaveProblem::None);
    ASSERT_EQ(WriteFileSafely(shared, "a"), SaveProblem::None);
    const auto group = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup;
    ASSERT_TRUE(QFile::setPermissions(secret, group));
    ASSERT_TRUE(QFile::setPermissions(shared, group));
    ASSERT_EQ(WriteFileSafely(secret, "pw2", FileMode::Private), SaveProblem::None);
    ASSERT_EQ(WriteFileSafely(shared, "b"), SaveProblem::None);
    const auto mask = ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    EXPECT_EQ(QFile::permissions(secret) & mask, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(QFile::permissions(shared) & mask, group);
}
