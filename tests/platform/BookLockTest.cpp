// The writers' lock, file stamps, leftover temporaries, the same-file test
// and file names that are not UTF-8.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/BookLock.h"
#include "platform/FileName.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"

using namespace q2;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(BookLock, ASecondWriterIsBusyUntilTheFirstLetsGo) {
    QTemporaryDir dir;
    const QString book = dir.filePath("a.QT2");
    WriteFile(book, "book");
    TBookLock first, second;
    ASSERT_EQ(first.Acquire(book, QStringLiteral("一人目")), TBookLock::TState::Held);
    EXPECT_EQ(second.Acquire(book, QStringLiteral("二人目"), 100), TBookLock::TState::Busy);
    EXPECT_EQ(second.OtherWriter(), QStringLiteral("一人目"));
    EXPECT_EQ(second.OtherPid(), ::getpid());
    EXPECT_FALSE(second.Held());
    // A link to the book and the book share one lock.
    ASSERT_TRUE(QFile::link(book, dir.filePath("link.QT2")));
    EXPECT_EQ(second.Acquire(dir.filePath("link.QT2"), QStringLiteral("二人目"), 0),
              TBookLock::TState::Busy);
    first.Release();
    EXPECT_EQ(second.Acquire(book, QStringLiteral("二人目"), 0), TBookLock::TState::Held);
    // The lock file is hidden beside the book.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({".a.QT2.lock", "a.QT2", "link.QT2"}));
}

TEST(BookLock, NoLockFileInAMissingFolderIsUnavailableNotBusy) {
    TBookLock lock;
    EXPECT_EQ(lock.Acquire(QStringLiteral("/nonexistent-folder/a.QT2"), QStringLiteral("x"), 0),
              TBookLock::TState::Unavailable);
}

TEST(FileStamp, OnlyOtherContentsCountAsAChange) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.QT2");
    WriteFile(path, "contents");
    const TFileStamp stamp = TFileStamp::Of(path, "contents");
    EXPECT_FALSE(FileChangedSince(path, stamp));
    WriteFile(path, "contents");  // same bytes, new time
    EXPECT_FALSE(FileChangedSince(path, stamp));
    WriteFile(path, "Contents");  // same size, other bytes
    EXPECT_TRUE(FileChangedSince(path, stamp));
    WriteFile(path, "contents and more");
    EXPECT_TRUE(FileChangedSince(path, stamp));
    // A removed file has nothing to lose; no stamp, nothing to compare.
    QFile::remove(path);
    EXPECT_FALSE(FileChangedSince(path, stamp));
    EXPECT_FALSE(FileChangedSince(path, TFileStamp()));
}

TEST(SafeFile, StaleTemporariesOfOurNamingGoOthersStay) {
    QTemporaryDir dir;
    const QString book = dir.filePath("a.QT2");
    WriteFile(book, "book");
    struct Case {
        const char* name;
        bool removed;
    };
    const Case cases[] = {
        {"a.QT2.tmp1", true},    {"a.QT2.tmp1z141z3", true},   {"a.QT2.tmpabc", true},
        {"a.QT2.tmp", false},    {"a.QT2.tmp12345678", false}, {"a.QT2.tmp-notes", false},
        {"a.QT2.tmpABC", false}, {"b.QT2.tmp1", false},        {"a.QT2.tmp1.txt", false},
    };
    for (const Case& c : cases) WriteFile(dir.filePath(c.name), "x");
    QDir().mkdir(dir.filePath("a.QT2.tmpdir1"));  // not a file
    EXPECT_EQ(RemoveStaleTemporaryFiles(book), 3);
    for (const Case& c : cases)
        EXPECT_EQ(QFile::exists(dir.filePath(c.name)), !c.removed) << c.name;
    EXPECT_TRUE(QFile::exists(book));
    EXPECT_TRUE(QDir(dir.filePath("a.QT2.tmpdir1")).exists());
}

TEST(SafeFile, ANewFileGetsTheUmaskModeAndAFailureLeavesNothing) {
    QTemporaryDir dir;
    const mode_t old = ::umask(027);
    const QString fresh = dir.filePath("fresh.QT2");
    EXPECT_EQ(WriteFileSafely(fresh, "new"), SaveProblem::None);
    ::umask(old);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    SetAtomicWriteFailureAfterForTesting(2);
    EXPECT_EQ(WriteFileSafely(fresh, "longer contents"), SaveProblem::DiskFull);
    EXPECT_EQ(WriteFileSafely(dir.filePath("never.QT2"), "longer contents"), SaveProblem::DiskFull);
    SetAtomicWriteFailureAfterForTesting(-1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"fresh.QT2"}));
}

TEST(SafeFile, SameFileMeansSameInode) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a"), b = dir.filePath("b");
    WriteFile(a, "1");
    WriteFile(b, "1");
    ASSERT_TRUE(QFile::link(a, dir.filePath("l")));
    ASSERT_EQ(
        ::link(QFile::encodeName(a).constData(), QFile::encodeName(dir.filePath("h")).constData()),
        0);
    EXPECT_TRUE(IsSameFile(a, dir.filePath("l")));
    EXPECT_TRUE(IsSameFile(a, dir.filePath("h")));
    EXPECT_TRUE(IsSameFile(a, dir.filePath("./a")));
    EXPECT_FALSE(IsSameFile(a, b));  // equal contents are not the same file
    EXPECT_FALSE(IsSameFile(a, dir.filePath("missing")));
    EXPECT_FALSE(IsSameFile(a, QString()));
}

TEST(FileName, BytesThatAreNotUtf8SurviveTheRoundTrip) {
    const QByteArray names[] = {
        "plain.QT2",
        "\xE4\xBD\x8F\xE6\x89\x80.QT2" /* 住所 */,
        "\xF0\xA0\xAE\xB7" /* 𠮷 */,
        "\xff\xfe.QT2",
        "\x8f\x5a\x8f\x8a.QT2" /* CP932 */,
        "\xC0\xAF" /* overlong "/" */,
        "\xED\xA0\x80" /* an encoded surrogate */,
        "\xE4\xBD",
        "a\x80",
    };
    for (const QByteArray& n : names)
        EXPECT_EQ(EncodeFileName(DecodeFileName(n)), n) << n.toHex().constData();
    // Valid UTF-8 reads as Qt reads it; only the bad bytes differ.
    EXPECT_EQ(DecodeFileName("\xE4\xBD\x8F\xE6\x89\x80"), QStringLiteral("住所"));
    EXPECT_EQ(EncodeFileName(QStringLiteral("𠮷野")), QStringLiteral("𠮷野").toUtf8());
    EXPECT_EQ(DecodeFileName("\xff").size(), 1);

    // Such a name is read, written and stamped as itself.
    QTemporaryDir dir;
    const QString name = DecodeFileName(QFile::encodeName(dir.path()) + "/\x8f\x5a.QT2");
    EXPECT_EQ(CheckUserFile(name), FileProblem::Missing);
    ASSERT_EQ(WriteFileSafely(name, "book"), SaveProblem::None);
    struct stat st {};
    EXPECT_EQ(::stat((QFile::encodeName(dir.path()) + "/\x8f\x5a.QT2").constData(), &st), 0);
    QByteArray back;
    EXPECT_EQ(ReadUserFile(name, &back), FileProblem::None);
    EXPECT_EQ(back, "book");
    EXPECT_TRUE(IsSameFile(name, name));
    TBookLock lock;
    EXPECT_EQ(lock.Acquire(name, QStringLiteral("x")), TBookLock::TState::Held);
    EXPECT_EQ(::stat((QFile::encodeName(dir.path()) + "/.\x8f\x5a.QT2.lock").constData(), &st), 0);
}
