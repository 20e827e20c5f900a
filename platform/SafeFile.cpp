// Atomic file replacement over QSaveFile.
#include "SafeFile.h"

#include <QSaveFile>
#include <atomic>

namespace q2 {
namespace {
std::atomic<qint64> failAfter{-1};
}

void SetAtomicWriteFailureAfterForTesting(qint64 bytes) { failAfter = bytes; }

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const qint64 limit = failAfter;
    if (limit >= 0 && limit < bytes.size()) {
        file.write(bytes.constData(), limit);
        file.flush();
        file.cancelWriting();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace q2
