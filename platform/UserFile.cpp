// Reading whole files the user named.
#include "UserFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileName.h"

namespace q2 {

namespace {

FileProblem ProblemFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR: return FileProblem::Missing;
        case EACCES:
        case EPERM: return FileProblem::NoPermission;
        default: return FileProblem::ReadFailed;
    }
}

}  // namespace

bool PathExists(const QString& path) {
    struct stat st {};
    return ::lstat(EncodeFileName(path).constData(), &st) == 0;
}

FileProblem CheckUserFile(const QString& path, qint64 maxSize) {
    const QByteArray native = EncodeFileName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) return ProblemFromErrno(errno);
    if (!S_ISREG(st.st_mode)) return FileProblem::NotAFile;
    if (st.st_size > maxSize) return FileProblem::TooLarge;
    if (::access(native.constData(), R_OK) != 0)
        return errno == EACCES ? FileProblem::NoPermission : FileProblem::ReadFailed;
    return FileProblem::None;
}

int OpenUserFile(const QString& path) {
    // Not blocking on open: a pipe put there since the check would hang.
    const int fd = ::open(EncodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

FileProblem ReadUserFile(const QString& path, QByteArray* bytes, qint64 maxSize) {
    bytes->clear();
    if (const FileProblem p = CheckUserFile(path, maxSize); p != FileProblem::None) return p;
    const int fd = OpenUserFile(path);
    if (fd < 0) return errno == EINVAL ? FileProblem::NotAFile : ProblemFromErrno(errno);
    struct stat st {};
    ::fstat(fd, &st);
    // The file may have grown since it was looked at: never read beyond the limit.
    const qint64 want = std::min<qint64>(st.st_size, maxSize) + 1;
    QByteArray data(want, Qt::Uninitialized);
    qint64 got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd, data.data() + got, size_t(want - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return FileProblem::ReadFailed;
        }
        if (n == 0) break;
        got += n;
    }
    ::close(fd);
    if (got > maxSize) return FileProblem::TooLarge;
    data.truncate(got);
    *bytes = std::move(data);
    return FileProblem::None;
}

QString FileProblemMessage(FileProblem problem, const QString& path) {
    switch (problem) {
        case FileProblem::None: return QString();
        case FileProblem::Missing: return QStringLiteral("ファイル %1 が見つかりません").arg(path);
        case FileProblem::NoPermission:
            return QStringLiteral("ファイル %1 を読み込めません（アクセス権がありません）").arg(path);
        case FileProblem::NotAFile: return QStringLiteral("%1 はファイルではありません").arg(path);
        case FileProblem::TooLarge:
            return QStringLiteral("ファイル %1 は大きすぎるため読み込めません").arg(path);
        case FileProblem::ReadFailed: return QStringLiteral("ファイル %1 を読み込めません").arg(path);
    }
    return QString();
}

}  // namespace q2
