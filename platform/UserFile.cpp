// Reading whole files the user named.
#include "UserFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

namespace q2 {

FileProblem CheckUserFile(const QString& path, qint64 maxSize) {
    const QFileInfo info(path);
    if (!info.exists()) return FileProblem::Missing;
    if (!info.isFile()) return FileProblem::NotAFile;
    if (info.size() > maxSize) return FileProblem::TooLarge;
    if (::access(QFile::encodeName(path).constData(), R_OK) != 0)
        return errno == EACCES ? FileProblem::NoPermission : FileProblem::ReadFailed;
    return FileProblem::None;
}

FileProblem ReadUserFile(const QString& path, QByteArray* bytes, qint64 maxSize) {
    bytes->clear();
    if (const FileProblem p = CheckUserFile(path, maxSize); p != FileProblem::None) return p;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return f.error() == QFileDevice::PermissionsError ? FileProblem::NoPermission
                                                           : FileProblem::ReadFailed;
    }
    // The file may have grown since it was looked at: never read beyond the limit.
    QByteArray data = f.read(std::min(f.size(), maxSize) + 1);
    if (f.error() != QFileDevice::NoError) return FileProblem::ReadFailed;
    if (data.size() > maxSize) return FileProblem::TooLarge;
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
