// The local-socket hand-over between a second start and the running program.
// One request per connection: "OPEN <absolute path>\n" or "SHOW\n", answered
// with "OK\n" once taken.
#include "app/FileHandOver.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include "platform/FileName.h"

namespace q2 {

QString HandOverSocketName(const QString& lockPath) {
    return lockPath + QStringLiteral(".socket");
}

TFileHandOverServer::TFileHandOverServer(QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadFrom(socket); });
            if (socket->canReadLine()) ReadFrom(socket);
        }
    });
}

bool TFileHandOverServer::Listen(const QString& name) {
    QLocalServer::removeServer(name);
    return server_->listen(name);
}

void TFileHandOverServer::ReadFrom(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > 64 * 1024) socket->abort();  // no line will come
        return;
    }
    // The path travels as the bytes of its name, which need not be UTF-8.
    const QString line = DecodeFileName(socket->readLine().chopped(1));
    QString path;
    if (line.startsWith(QLatin1String("OPEN ")))
        path = line.mid(5);
    else if (line != QLatin1String("SHOW")) {
        socket->abort();
        return;
    }
    socket->write("OK\n");
    socket->flush();
    socket->disconnectFromServer();
    emit Received(path);
}

bool HandOverToRunningProgram(const QString& name, const QString& path, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    const QByteArray request =
        path.isEmpty() ? QByteArray("SHOW\n")
                       : "OPEN " + EncodeFileName(QFileInfo(path).absoluteFilePath()) + '\n';
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    return socket.readLine() == "OK\n";
}

}  // namespace q2
