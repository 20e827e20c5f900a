// Whole-file writes that never leave a torn file: the bytes go to a temporary
// file in the same folder, which then replaces the old one. A failed write
// says why, so that the user learns what to fix.
#pragma once

#include <QByteArray>
#include <QString>

namespace q2 {

enum class SaveProblem {
    None,
    NoPermission,        // the folder or the file may not be written
    DiskFull,            // no space left (or the quota is used up)
    FolderMissing,       // the folder to save into does not exist
    NotAFile,            // a folder or a device stands at the path
    UnreadableOriginal,  // the file exists but what it holds could not be read to keep it
    Failed,              // any other error of the system
};

enum class FileMode {
    // A replaced file keeps its permission bits; a new one gets the usual ones.
    KeepOrDefault,
    // Owner-only (0600) whatever stood there before: files holding passwords.
    Private,
};

enum class Durability {
    // The new bytes reach the disk before the name points at them, so that a
    // power loss leaves the old file or the new one, never an empty one.
    Synced,
    // No wait for the disk: for settings written one key at a time, where a
    // sync per key would stall the dialog; a crash still leaves no torn file.
    Quick,
};

// Fails, leaving the file as it was, when the file exists but cannot be read:
// whatever the caller wants to write was not loaded from it.
SaveProblem WriteFileSafely(const QString& path, const QByteArray& bytes,
                            FileMode mode = FileMode::KeepOrDefault,
                            Durability durability = Durability::Synced);
inline bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    return WriteFileSafely(path, bytes) == SaveProblem::None;
}

// Removes what a writer of `path` that died mid-write left: files named as
// WriteFileSafely names its temporary files, owned by this user. Only for a
// caller that knows no other writer of `path` is at work (it holds the lock
// of a book). Returns how many were removed.
int RemoveStaleTemporaryFiles(const QString& path);

// True when both paths name one existing file (same device and inode), links
// and other spellings of the path included.
bool IsSameFile(const QString& a, const QString& b);

// The file name, as bytes, that a save of `path` replaces: for a symbolic
// link, the file it points to (the link itself stays).
QByteArray ResolvedSaveTarget(const QString& path);

// The problem an errno value of a failed write stands for.
SaveProblem SaveProblemFromErrno(int error);

// The second line of a failed save's message: the reason and the path.
QString SaveProblemReason(SaveProblem problem, const QString& path);
// "ファイルの保存に失敗しました" (or `firstLine`) and the reason line.
QString SaveFailureMessage(SaveProblem problem, const QString& path,
                           const QString& firstLine = QString());
// "ファイル PATH を作成できません" and the reason line.
QString CannotCreateMessage(SaveProblem problem, const QString& path);

// Test seam: when set, every atomic write stops after this many bytes and
// fails as a full disk would leave it. A negative value switches it off.
void SetAtomicWriteFailureAfterForTesting(qint64 bytes);

}  // namespace q2
