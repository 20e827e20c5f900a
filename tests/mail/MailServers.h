// The SMTP and POP3 servers of the mail tests, started on 127.0.0.1 for one
// test and stopped with it.
#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace q2test {

class TestServer {
public:
    ~TestServer() { Stop(); }
    // Starts the script with the given arguments; false when it gave no port.
    bool Start(const QString& script, const QStringList& args);
    void Stop();
    int Port() const { return port_; }
    QString Dir() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
};

class SmtpServer : public TestServer {
public:
    bool Start(const QStringList& args = {});
    // The JSON lines of the server's log so far.
    QList<QJsonObject> Events() const;
    QList<QJsonObject> Events(const QString& kind) const;
    // Distinct connections that carried the given event.
    int Connections(const QString& kind) const;
};

class Pop3Server : public TestServer {
public:
    bool Start() { return TestServer::Start(QStringLiteral("pop3_server.py"), {}); }
    static constexpr const char* kUser = "hanako";
    static constexpr const char* kPassword = "pop-secret";
    QString Log() const;
};

// A stored message as Python's email package reads it.
QJsonObject ParseMail(const QString& file);

// A self-signed certificate for 127.0.0.1 with its key in one PEM file.
bool MakeTestCertificate(const QString& pemFile);

}  // namespace q2test
