// The advisory lock that every writer of a book holds for its
// read-modify-write, and the stamp that tells whether a file changed since it
// was read. Two writers then take turns instead of losing each other's work.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <sys/types.h>

namespace q2 {

class TBookLock {
public:
    // How long a second writer waits by default before it gives up.
    static constexpr int kDefaultWaitMs = 5000;

    enum class TState {
        Held,         // this writer may go on
        Busy,         // another writer held it for the whole wait
        Unavailable,  // no lock file can be made beside the book (a read-only
                      // folder): the save that follows fails for its own reason
    };

    TBookLock() = default;
    ~TBookLock() { Release(); }
    TBookLock(const TBookLock&) = delete;
    TBookLock& operator=(const TBookLock&) = delete;

    // Takes the lock of the book at `bookPath`, waiting up to `waitMs` for
    // another writer to finish. `writer` names this one to the others
    // ("q2tool import-csv"). On success the temporary files a writer that
    // died left beside the book are removed.
    TState Acquire(const QString& bookPath, const QString& writer, int waitMs = kDefaultWaitMs);
    void Release();
    bool Held() const { return fd_ >= 0; }

    // After Busy: the other writer's name and process id as it wrote them
    // (empty when it wrote none).
    const QString& OtherWriter() const { return otherWriter_; }
    qint64 OtherPid() const { return otherPid_; }
    // "ファイル … は … が書き込み中のため保存できません" for a Busy result.
    QString BusyMessage(const QString& bookPath) const;

    // The lock file of a book: a hidden file beside it, kept between writers.
    static QString LockPathFor(const QString& bookPath);

private:
    int fd_ = -1;
    QString otherWriter_;
    qint64 otherPid_ = 0;
};

// What a file was when it was read: enough to tell later whether someone
// else has written it since.
struct TFileStamp {
    bool Valid = false;
    qint64 Size = 0;
    qint64 ModifiedNs = 0;
    dev_t Device = 0;
    ino_t Inode = 0;
    QByteArray Hash;  // SHA-256 of the contents

    // The stamp of `path`, whose contents are `bytes` (just read or written).
    static TFileStamp Of(const QString& path, QByteArrayView bytes);
};

// True when the file at `path` no longer holds what `stamp` recorded. Same
// size, time and inode count as unchanged; otherwise the contents decide, so
// that a file merely touched or rewritten with the same bytes is not "changed".
// A file that is gone has not changed: saving it loses nothing.
bool FileChangedSince(const QString& path, const TFileStamp& stamp);

}  // namespace q2
