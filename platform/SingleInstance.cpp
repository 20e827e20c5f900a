// Single-instance lock over QLockFile.
#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace q2 {

SingleInstanceLock::SingleInstanceLock(const QString& name) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    path_ = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
    lock_ = std::make_unique<QLockFile>(path_);
    // Only a dead owner makes the lock stale, never its age.
    lock_->setStaleLockTime(0);
}

bool SingleInstanceLock::TryAcquire() {
    // tryLock takes over a lock file whose process has died.
    return lock_->isLocked() || lock_->tryLock(0);
}

}  // namespace q2
