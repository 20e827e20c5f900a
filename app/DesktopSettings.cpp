// The window's remembered files, folders and place.
#include "app/DesktopSettings.h"

#include <QDir>
#include <QFileInfo>

#include "model/DataPaths.h"
#include "platform/ProfileFile.h"

namespace q2 {
namespace {

const QString kCommon = QStringLiteral("COMMON");

QString RecentKey(int i) {
    return QStringLiteral("RECENT_FILE_%1").arg(i + 1);
}

QString FolderKey(TFileKind kind) {
    return kind == TFileKind::Book ? QStringLiteral("LAST_BOOK_FOLDER")
                                   : QStringLiteral("LAST_CSV_FOLDER");
}

void WriteRecentFiles(const QStringList& files) {
    ProfileFile ini(GetConfigPath());
    for (int i = 0; i < kRecentFileCount; ++i) ini.WriteString(kCommon, RecentKey(i), files.value(i));
}

}  // namespace

QStringList ReadRecentFiles() {
    const ProfileFile ini(GetConfigPath());
    QStringList files;
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString path = ini.ReadString(kCommon, RecentKey(i), QString());
        if (!path.isEmpty() && !files.contains(path)) files.append(path);
    }
    return files;
}

void AddRecentFile(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = ReadRecentFiles();
    files.removeAll(full);
    files.prepend(full);
    WriteRecentFiles(files.mid(0, kRecentFileCount));
}

void RemoveRecentFile(const QString& path) {
    QStringList files = ReadRecentFiles();
    if (files.removeAll(QFileInfo(path).absoluteFilePath()) + files.removeAll(path) > 0)
        WriteRecentFiles(files);
}

QString LastFolder(TFileKind kind, const QString& fallback) {
    const QString folder = ProfileFile(GetConfigPath()).ReadString(kCommon, FolderKey(kind), QString());
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return fallback;
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void SetLastFolder(TFileKind kind, const QString& chosenFile) {
    ProfileFile(GetConfigPath())
        .WriteString(kCommon, FolderKey(kind), QFileInfo(chosenFile).absolutePath());
}

QRect ReadWindowPlace() {
    const ProfileFile ini(GetConfigPath());
    const int w = ini.ReadInteger(kCommon, QStringLiteral("WINDOW_WIDTH"), 0);
    const int h = ini.ReadInteger(kCommon, QStringLiteral("WINDOW_HEIGHT"), 0);
    if (w <= 0 || h <= 0) return QRect();
    return QRect(ini.ReadInteger(kCommon, QStringLiteral("WINDOW_LEFT"), 0),
                 ini.ReadInteger(kCommon, QStringLiteral("WINDOW_TOP"), 0), w, h);
}

void WriteWindowPlace(const QRect& place) {
    ProfileFile ini(GetConfigPath());
    ini.WriteInteger(kCommon, QStringLiteral("WINDOW_LEFT"), place.left());
    ini.WriteInteger(kCommon, QStringLiteral("WINDOW_TOP"), place.top());
    ini.WriteInteger(kCommon, QStringLiteral("WINDOW_WIDTH"), place.width());
    ini.WriteInteger(kCommon, QStringLiteral("WINDOW_HEIGHT"), place.height());
}

}  // namespace q2
