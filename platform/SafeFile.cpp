// Atomic file replacement with permission bits kept and the reason of a failure.
#include "SafeFile.h"

#include "platform/FileName.h"

#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q2 {
namespace {

std::atomic<qint64> failAfter{-1};

bool WriteAll(int fd, const char* p, qint64 n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, static_cast<size_t>(std::min<qint64>(n, 1 << 30)));
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= w;
    }
    return true;
}

}  // namespace

void SetAtomicWriteFailureAfterForTesting(qint64 bytes) { failAfter = bytes; }

SaveProblem SaveProblemFromErrno(int error) {
    switch (error) {
        case 0: return SaveProblem::None;
        case EACCES:
        case EPERM:
        case EROFS: return SaveProblem::NoPermission;
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return SaveProblem::DiskFull;
        case ENOENT:
        case ENOTDIR: return SaveProblem::FolderMissing;
        case EISDIR: return SaveProblem::NotAFile;
        default: return SaveProblem::Failed;
    }
}

namespace {

// The permission bits a file created now would get: what open(2) leaves of 0666.
mode_t NewFileMode() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (!line.startsWith("Umask:")) continue;
            bool ok = false;
            const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
            if (ok) return 0666 & ~mode_t(mask);
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

QByteArray TemporaryName(const QByteArray& target) {
    return target + ".tmp" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

// True for a name TemporaryName could have given for `base` (the target's file name).
bool IsTemporaryName(const QByteArray& name, const QByteArray& base) {
    if (!name.startsWith(base + ".tmp")) return false;
    const QByteArray tail = name.mid(base.size() + 4);
    if (tail.isEmpty() || tail.size() > 7) return false;
    return std::all_of(tail.begin(), tail.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); });
}


QByteArray FolderOf(const QByteArray& native) {
    const qsizetype slash = native.lastIndexOf('/');
    if (slash < 0) return ".";
    return slash == 0 ? QByteArray("/") : native.left(slash);
}

// Writes `bytes` to `fd`, or as much as the test seam lets through; the errno
// of the failure, 0 on success.
int WriteBytes(int fd, const QByteArray& bytes) {
    const qint64 limit = failAfter;
    if (limit >= 0 && limit < bytes.size()) {
        WriteAll(fd, bytes.constData(), limit);
        return ENOSPC;
    }
    return WriteAll(fd, bytes.constData(), bytes.size()) ? 0 : errno;
}

}  // namespace

// The bytes of the file a save of `path` replaces: a symbolic link stays a
// link, and the file it points to is replaced.
QByteArray ResolvedSaveTarget(const QString& path) {
    const QByteArray native = EncodeFileName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(native.constData(), nullptr)) {
            const QByteArray resolved(real);
            ::free(real);
            return resolved;
        }
    }
    return native;
}

SaveProblem WriteFileSafely(const QString& path, const QByteArray& bytes, FileMode mode,
                            Durability durability) {
    const QByteArray native = ResolvedSaveTarget(path);
    const QByteArray folderNative = FolderOf(native);
    struct stat folderSt {};
    if (::stat(folderNative.constData(), &folderSt) != 0 || !S_ISDIR(folderSt.st_mode))
        return SaveProblem::FolderMissing;

    struct stat st {};
    const bool exists = ::stat(native.constData(), &st) == 0;
    if (!exists && errno != ENOENT) return SaveProblemFromErrno(errno);
    if (exists && !S_ISREG(st.st_mode)) return SaveProblem::NotAFile;
    // A file the user made read-only stays as it is. One the program cannot
    // read was never loaded, so what would replace it is not what it holds.
    if (exists && ::access(native.constData(), W_OK) != 0) return SaveProblem::NoPermission;
    if (exists && ::access(native.constData(), R_OK) != 0) return SaveProblem::UnreadableOriginal;

    // The new file's final bits are set before its first byte, so that a
    // private book never has a readable copy, not even half of one.
    const mode_t finalMode = mode == FileMode::Private ? 0600
                             : exists                  ? (st.st_mode & 07777)
                                                       : NewFileMode();

    // An unnamed file first: a crash before the rename leaves nothing behind.
    // It gets its name through /proc; where there is none, or the file system
    // cannot make unnamed files, a named one that every failure removes.
    QByteArray temp;
    bool named = false;
    int fd = -1;
    if (::access("/proc/self/fd", X_OK) == 0) {
        fd = ::open(folderNative.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT)
            return SaveProblemFromErrno(errno);
    }
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = TemporaryName(native);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) return SaveProblemFromErrno(errno);
        named = fd >= 0;
    }
    if (fd < 0) return SaveProblem::Failed;

    auto fail = [&](int error) {
        if (fd >= 0) ::close(fd);
        if (named) ::unlink(temp.constData());
        return SaveProblemFromErrno(error);
    };
    if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
        // Only root can hand the file back to its owner; others keep their own.
        [[maybe_unused]] const int ignored = ::fchown(fd, st.st_uid, st.st_gid);
    }
    if (::fchmod(fd, finalMode) != 0) return fail(errno);
    if (const int error = WriteBytes(fd, bytes); error != 0) return fail(error);
    if (durability == Durability::Synced && ::fsync(fd) != 0) return fail(errno);
    if (!named) {
        // The unnamed file gets a temporary name in the folder, which the
        // rename then takes away again.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        for (int attempt = 0; attempt < 100 && !named; ++attempt) {
            temp = TemporaryName(native);
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temp.constData(),
                         AT_SYMLINK_FOLLOW) == 0)
                named = true;
            else if (errno != EEXIST)
                return fail(errno);
        }
        if (!named) return fail(EEXIST);
    }
    if (::close(fd) != 0) {
        fd = -1;
        return fail(errno);
    }
    fd = -1;
    if (::rename(temp.constData(), native.constData()) != 0) return fail(errno);
    return SaveProblem::None;
}

int RemoveStaleTemporaryFiles(const QString& path) {
    const QByteArray target = ResolvedSaveTarget(path);
    const QByteArray folder = FolderOf(target);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray base = slash < 0 ? target : target.mid(slash + 1);
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (!IsTemporaryName(name, base)) continue;
        const QByteArray full = folder + '/' + name;
        struct stat st {};
        if (::lstat(full.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        if (::unlink(full.constData()) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool IsSameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    struct stat sa {}, sb {};
    if (::stat(EncodeFileName(a).constData(), &sa) != 0 ||
        ::stat(EncodeFileName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString SaveProblemReason(SaveProblem problem, const QString& path) {
    switch (problem) {
        case SaveProblem::None: return QString();
        case SaveProblem::NoPermission:
            return QStringLiteral("書き込む権限がありません: %1").arg(path);
        case SaveProblem::DiskFull:
            return QStringLiteral("ディスクの空き容量が足りません: %1").arg(path);
        case SaveProblem::FolderMissing:
            return QStringLiteral("保存先のフォルダがありません: %1").arg(path);
        case SaveProblem::NotAFile:
            return QStringLiteral("%1 はファイルではありません").arg(path);
        case SaveProblem::UnreadableOriginal:
            return QStringLiteral("元のファイルの内容を読み込めないため書き換えません: %1").arg(path);
        case SaveProblem::Failed:
            return QStringLiteral("書き込み中にエラーが発生しました: %1").arg(path);
    }
    return QString();
}

QString SaveFailureMessage(SaveProblem problem, const QString& path, const QString& firstLine) {
    const QString first =
        firstLine.isEmpty() ? QStringLiteral("ファイルの保存に失敗しました") : firstLine;
    const QString reason = SaveProblemReason(problem, path);
    return reason.isEmpty() ? first : first + QLatin1Char('\n') + reason;
}

QString CannotCreateMessage(SaveProblem problem, const QString& path) {
    return SaveFailureMessage(problem, path, QStringLiteral("ファイル %1 を作成できません").arg(path));
}

}  // namespace q2
