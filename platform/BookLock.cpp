// The writers' lock of a book (flock on a lock file beside it) and file stamps.
#include "BookLock.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileName.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"

namespace q2 {

QString TBookLock::LockPathFor(const QString& bookPath) {
    // A link to a book shares the book's lock, as a save through it replaces the book.
    const QByteArray book = ResolvedSaveTarget(bookPath);
    const qsizetype slash = book.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : book.left(slash);
    return DecodeFileName(folder + "/." + book.mid(slash + 1) + ".lock");
}

TBookLock::TState TBookLock::Acquire(const QString& bookPath, const QString& writer, int waitMs) {
    Release();
    otherWriter_.clear();
    otherPid_ = 0;
    const QByteArray native = EncodeFileName(LockPathFor(bookPath));
    int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    // Another user's lock file can still be locked through a read-only descriptor.
    if (fd < 0 && errno == EACCES)
        fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return TState::Unavailable;

    QElapsedTimer waited;
    waited.start();
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd);
            return TState::Unavailable;
        }
        if (waited.elapsed() >= waitMs) {
            // Who holds it, as that writer put it in the file: "PID\nNAME\n".
            char buf[512];
            const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
            const QList<QByteArray> lines = QByteArray(buf, n > 0 ? n : 0).split('\n');
            if (lines.size() >= 2) {
                otherPid_ = lines[0].toLongLong();
                otherWriter_ = QString::fromUtf8(lines[1]);
            }
            ::close(fd);
            return TState::Busy;
        }
        QThread::msleep(20);
    }
    fd_ = fd;
    const QByteArray me = QByteArray::number(qint64(::getpid())) + '\n' + writer.toUtf8() + '\n';
    if (::ftruncate(fd_, 0) == 0) {
        [[maybe_unused]] const ssize_t w = ::pwrite(fd_, me.constData(), me.size(), 0);
    }
    // Whoever holds the lock is the book's only writer: a temporary file of
    // the book's naming is what a writer that was killed left behind.
    RemoveStaleTemporaryFiles(bookPath);
    return TState::Held;
}

void TBookLock::Release() {
    if (fd_ < 0) return;
    [[maybe_unused]] const int ignored = ::ftruncate(fd_, 0);
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

QString TBookLock::BusyMessage(const QString& bookPath) const {
    QString who = otherWriter_.isEmpty() ? QStringLiteral("他のプログラム") : otherWriter_;
    if (otherPid_ > 0) who += QStringLiteral("（プロセス %1）").arg(otherPid_);
    return QStringLiteral(
               "ファイル %1 は %2 が書き込み中のため保存できません。"
               "しばらくしてからもう一度お試しください")
        .arg(bookPath, who);
}

TFileStamp TFileStamp::Of(const QString& path, QByteArrayView bytes) {
    TFileStamp s;
    struct stat st {};
    if (::stat(EncodeFileName(path).constData(), &st) != 0) return s;
    s.Valid = true;
    s.Size = st.st_size;
    s.ModifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.Device = st.st_dev;
    s.Inode = st.st_ino;
    s.Hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    return s;
}

bool FileChangedSince(const QString& path, const TFileStamp& stamp) {
    if (!stamp.Valid) return false;
    struct stat st {};
    if (::stat(EncodeFileName(path).constData(), &st) != 0) return false;
    const qint64 modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    if (st.st_size == stamp.Size && modified == stamp.ModifiedNs && st.st_dev == stamp.Device &&
        st.st_ino == stamp.Inode)
        return false;
    if (st.st_size != stamp.Size) return true;
    QByteArray bytes;
    if (ReadUserFile(path, &bytes) != FileProblem::None) return true;
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256) != stamp.Hash;
}

}  // namespace q2
