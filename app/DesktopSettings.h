// What the window remembers between runs in "config.ini" [COMMON]: the
// recent book files, the folder last used for each kind of file, and the
// window's size and place.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

namespace q2 {

constexpr int kRecentFileCount = 8;

// Newest first; at most kRecentFileCount.
QStringList ReadRecentFiles();
// Puts `path` first, dropping an older entry of the same file and the oldest beyond eight.
void AddRecentFile(const QString& path);
void RemoveRecentFile(const QString& path);

enum class TFileKind { Book, Csv };
// The folder of the file last chosen for that kind, or `fallback` when none
// was or it is gone.
QString LastFolder(TFileKind kind, const QString& fallback);
void SetLastFolder(TFileKind kind, const QString& chosenFile);

// An invalid rectangle when none was stored.
QRect ReadWindowPlace();
void WriteWindowPlace(const QRect& place);

}  // namespace q2
