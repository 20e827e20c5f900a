// A second start of the program hands its file to the running one through a
// local socket beside the single-instance lock, instead of being turned away.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace q2 {

// The socket's name for the lock file at `lockPath`.
QString HandOverSocketName(const QString& lockPath);

// Run by the program holding the lock.
class TFileHandOverServer : public QObject {
    Q_OBJECT
public:
    explicit TFileHandOverServer(QObject* parent = nullptr);
    // Only the holder of the lock may listen: a socket left by a program that
    // died is removed first.
    bool Listen(const QString& name);

signals:
    // `path` is empty for a start without a file.
    void Received(const QString& path);

private:
    void ReadFrom(QLocalSocket* socket);
    QLocalServer* server_;
};

// Run by a second start: true when the running program took the request
// (`path` may be empty: it only comes to the front).
bool HandOverToRunningProgram(const QString& name, const QString& path, int timeoutMs = 3000);

}  // namespace q2
