// SMTP and POP3 over libcurl: one SMTP session for a whole run, and the POP3
// login of POP-before-SMTP.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "model/MailConfig.h"

namespace q2 {

struct TMailTransportOptions {
    // Certificates to trust instead of the system's store (tests use their own).
    QString CaFile;
    long ConnectTimeoutSeconds = 30;
    long ResponseTimeoutSeconds = 60;
};

// Logs in at the POP3 server with USER and PASS, waits 300 ms and quits.
// On failure `error` holds the reason (the server's answer when there is one).
bool PopBeforeSmtp(const TthMailConfig& config, const TMailTransportOptions& options,
                   QString* error);

class TSmtpSession {
public:
    TSmtpSession(const TthMailConfig& config, TMailTransportOptions options = {});
    ~TSmtpSession();
    TSmtpSession(const TSmtpSession&) = delete;
    TSmtpSession& operator=(const TSmtpSession&) = delete;

    // Greeting, EHLO (HELO when refused), TLS as configured, and, when
    // authentication is on and an account is set, AUTH LOGIN when the server
    // offers it, else AUTH PLAIN. When it offers neither, nothing is sent,
    // NoAuthMechanism() is true and `error` holds the server's EHLO answer.
    bool Connect(QString* error);
    bool NoAuthMechanism() const { return noMechanism_; }
    // Hands one message over in the open session.
    bool Send(const QString& envelopeFrom, const QString& recipient, const QByteArray& message,
              QString* error);
    // QUIT and close.
    void Disconnect();
    bool Connected() const { return connected_; }

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
    bool connected_ = false;
    bool noMechanism_ = false;
};

}  // namespace q2
