// Keeps a second copy of the program from running at the same time. A lock
// left behind by a process that has died is taken over.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace q2 {

class SingleInstanceLock {
public:
    // `name` names the lock; the file lives in the user's runtime folder.
    explicit SingleInstanceLock(const QString& name = QStringLiteral("ZBQuintaro2Running"));
    bool TryAcquire();
    QString FilePath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace q2
