// Reading a whole file the user named, with the reason when it cannot be read.
#pragma once

#include <QByteArray>
#include <QString>

namespace q2 {

enum class FileProblem {
    None,
    Missing,
    NoPermission,
    NotAFile,  // a folder, a device, a pipe: nothing a book or a CSV file comes as
    TooLarge,
    ReadFailed,
};

// Larger than any real book or CSV file could be.
constexpr qint64 kMaxUserFileSize = qint64(2) << 30;

// Reads a regular file of at most `maxSize` bytes. Paths here and below are
// file names as platform/FileName.h decodes them.
FileProblem ReadUserFile(const QString& path, QByteArray* bytes,
                         qint64 maxSize = kMaxUserFileSize);

// Where the same checks are wanted without reading (before a password question).
FileProblem CheckUserFile(const QString& path, qint64 maxSize = kMaxUserFileSize);

// True when anything (a dangling link included) stands at `path`.
bool PathExists(const QString& path);

// A read-only descriptor of the regular file at `path` (names as in
// platform/FileName.h), or -1 with errno set (EINVAL: not a regular file).
int OpenUserFile(const QString& path);

// The message that tells the user why the file could not be read; empty for None.
QString FileProblemMessage(FileProblem problem, const QString& path);

}  // namespace q2
