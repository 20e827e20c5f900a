// Atomic file replacement with permission bits kept and the reason of a failure.
#include "SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <cerrno>
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

SaveProblem WriteFileSafely(const QString& path, const QByteArray& bytes, FileMode mode,
                            Durability durability) {
    // A symbolic link stays a link: the file it points to is replaced.
    QString target = path;
    const QFileInfo link(path);
    if (link.isSymLink() && link.exists()) target = link.canonicalFilePath();
    const QByteArray native = QFile::encodeName(target);
    const QString folder = QFileInfo(target).absolutePath();
    if (!QFileInfo(folder).isDir()) return SaveProblem::FolderMissing;

    struct stat st {};
    const bool exists = ::stat(native.constData(), &st) == 0;
    if (!exists && errno != ENOENT) return SaveProblemFromErrno(errno);
    if (exists && !S_ISREG(st.st_mode)) return SaveProblem::NotAFile;
    // A file the user made read-only stays as it is. One the program cannot
    // read was never loaded, so what would replace it is not what it holds.
    if (exists && ::access(native.constData(), W_OK) != 0) return SaveProblem::NoPermission;
    if (exists && ::access(native.constData(), R_OK) != 0) return SaveProblem::UnreadableOriginal;

    QByteArray temp;
    int fd = -1;
    const mode_t createMode = mode == FileMode::Private ? 0600 : 0666;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = native + ".tmp" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
        if (fd < 0 && errno != EEXIST) return SaveProblemFromErrno(errno);
    }
    if (fd < 0) return SaveProblem::Failed;

    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.constData());
        return SaveProblemFromErrno(error);
    };
    const qint64 limit = failAfter;
    if (limit >= 0 && limit < bytes.size()) {
        WriteAll(fd, bytes.constData(), limit);
        return fail(ENOSPC);
    }
    if (!WriteAll(fd, bytes.constData(), bytes.size())) return fail(errno);
    if (mode == FileMode::Private) {
        if (::fchmod(fd, 0600) != 0) return fail(errno);
    } else if (exists) {
        if (::fchmod(fd, st.st_mode & 07777) != 0) return fail(errno);
    }
    if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
        // Only root can hand the file back to its owner; others keep their own.
        [[maybe_unused]] const int ignored = ::fchown(fd, st.st_uid, st.st_gid);
    }
    if (durability == Durability::Synced && ::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        return SaveProblemFromErrno(error);
    }
    if (::rename(temp.constData(), native.constData()) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        return SaveProblemFromErrno(error);
    }
    return SaveProblem::None;
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
