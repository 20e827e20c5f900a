// Starting and reading the test servers of tests/mail/servers.
#include "MailServers.h"

#include <QFile>
#include <QJsonDocument>
#include <QSet>

namespace q2test {

namespace {
const QString kServers = QStringLiteral(Q2_SOURCE_DIR "/tests/mail/servers/");
const QString kPython = QStringLiteral("/usr/bin/python3");
}  // namespace

bool TestServer::Start(const QString& script, const QStringList& args) {
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(kPython,
                    QStringList{kServers + script, QStringLiteral("--dir"), dir_.path()} + args);
    if (!process_->waitForStarted(10000)) return false;
    QByteArray out;
    while (!out.contains('\n') && process_->waitForReadyRead(15000))
        out += process_->readAllStandardOutput();
    if (!out.startsWith("PORT ")) return false;
    port_ = out.mid(5).trimmed().toInt();
    return port_ > 0;
}

void TestServer::Stop() {
    if (!process_) return;
    process_->closeWriteChannel();
    if (!process_->waitForFinished(10000)) {
        process_->kill();
        process_->waitForFinished(5000);
    }
    process_.reset();
}

bool SmtpServer::Start(const QStringList& args) {
    return TestServer::Start(QStringLiteral("smtp_server.py"), args);
}

QList<QJsonObject> SmtpServer::Events() const {
    QList<QJsonObject> events;
    QFile f(Dir() + QStringLiteral("/smtp.log"));
    if (!f.open(QIODevice::ReadOnly)) return events;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (!line.isEmpty()) events.append(QJsonDocument::fromJson(line).object());
    return events;
}

QList<QJsonObject> SmtpServer::Events(const QString& kind) const {
    QList<QJsonObject> out;
    for (const QJsonObject& e : Events())
        if (e[QStringLiteral("event")].toString() == kind) out.append(e);
    return out;
}

int SmtpServer::Connections(const QString& kind) const {
    QSet<int> conns;
    for (const QJsonObject& e : Events(kind)) conns.insert(e[QStringLiteral("conn")].toInt());
    return static_cast<int>(conns.size());
}

QString Pop3Server::Log() const {
    QFile f(Dir() + QStringLiteral("/dovecot.log"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QJsonObject ParseMail(const QString& file) {
    QProcess p;
    p.start(kPython, {kServers + QStringLiteral("parse_mail.py"), file});
    p.waitForFinished(15000);
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

bool MakeTestCertificate(const QString& pemFile) {
    const QString key = pemFile + QStringLiteral(".key"), cert = pemFile + QStringLiteral(".crt");
    QProcess p;
    p.start(
        QStringLiteral("openssl"),
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
         "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", cert});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return false;
    QFile k(key), c(cert), out(pemFile);
    if (!k.open(QIODevice::ReadOnly) || !c.open(QIODevice::ReadOnly) ||
        !out.open(QIODevice::WriteOnly))
        return false;
    out.write(c.readAll() + k.readAll());
    return true;
}

}  // namespace q2test
