// Data folder location and installation defaults.
#include "DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace q2 {

QString DataFolderPath() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/Zabelle/Quintaro2")) + QLatin1Char('/');
}

bool EnsureDataFolder() {
    // The folder holds mail.dat with its passwords: only its owner may look in.
    const QFileDevice::Permissions ownerOnly =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QString path = QDir::cleanPath(DataFolderPath());
    if (!QFileInfo(path).isDir()) {
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
        if (!QDir().mkdir(path, ownerOnly)) return QFileInfo(path).isDir();
        return true;
    }
    // Folders made by earlier versions were open to every local user.
    const QFileDevice::Permissions others =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (QFile::permissions(path) & others) QFile::setPermissions(path, ownerOnly);
    return true;
}

bool DataFolderUsable() {
    const QByteArray path = QFile::encodeName(QDir::cleanPath(DataFolderPath()));
    return ::access(path.constData(), R_OK | W_OK | X_OK) == 0;
}

QString InstallDataPath() {
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QString exe = QCoreApplication::applicationDirPath();
        candidates << exe + QStringLiteral("/../share/quintaro2");
    }
#ifdef Q2_INSTALL_DATA_DIR
    candidates << QStringLiteral(Q2_INSTALL_DATA_DIR);
#endif
#ifdef Q2_SOURCE_DATA_DIR
    candidates << QStringLiteral(Q2_SOURCE_DATA_DIR);
#endif
    for (const QString& c : candidates) {
        if (QFileInfo(c).isDir()) return QDir::cleanPath(c) + QLatin1Char('/');
    }
    return QString();
}

QStringList DefaultDataFiles() {
    return {QStringLiteral("category_1.dat"), QStringLiteral("category_2.dat"),
            QStringLiteral("nametitle.dat"),  QStringLiteral("paper.cfg"),
            QStringLiteral("zip/zip.dat"),    QStringLiteral("zip/version.txt")};
}

QStringList CopyMissingDefaults(const QStringList& relativeNames) {
    QStringList copied;
    const QString from = InstallDataPath();
    if (from.isEmpty()) return copied;
    const QString to = DataFolderPath();
    for (const QString& name : relativeNames) {
        const QString src = from + name, dst = to + name;
        if (QFileInfo::exists(dst) || !QFileInfo::exists(src)) continue;
        QDir().mkpath(QFileInfo(dst).absolutePath());
        // Copy under a temporary name so that a half-copied file is never seen.
        const QString tmp = dst + QStringLiteral(".part");
        QFile::remove(tmp);
        if (QFile::copy(src, tmp) && QFile::rename(tmp, dst)) {
            QFile::setPermissions(dst, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadOther);
            copied << name;
        } else {
            QFile::remove(tmp);
        }
    }
    return copied;
}

}  // namespace q2
