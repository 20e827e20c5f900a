// Mail server settings and the start-up password, kept in "mail.dat".
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/SafeFile.h"

namespace q2 {

// Connection security for SMTP and POP3. Files without the extension block
// read as None, the behaviour of files written by earlier versions.
enum class TMailSecurity : unsigned char { None = 0, StartTls = 1, Tls = 2 };

class TthMailConfig {
public:
    QString SenderName;
    QString SenderMailAddress;
    QString SMTPServerAddress;
    qint32 SMTPPortNo = 25;
    bool UseSmtpAuth = false;
    QString SMTPAccount;
    QString SMTPPassword;
    bool UsePopBeforeSMTP = false;
    QString POP3ServerAddress;
    qint32 POP3PortNo = 110;
    QString POP3Account;
    QString Pop3Password;
    bool UseSoftPassword = false;
    QString SoftPassword;
    // Stored after the fourteen fields, only when not None.
    TMailSecurity SMTPSecurity = TMailSecurity::None;
    TMailSecurity POP3Security = TMailSecurity::None;

    // A missing file leaves the record as it is and succeeds.
    bool LoadFromFile(const QString& path);
    // Written readable by its owner only (0600), whatever the file was before.
    bool SaveToFile(const QString& path, SaveProblem* problem = nullptr) const;
    bool IsComplete() const;

    QByteArray ToBytes() const;
    bool FromBytes(const QByteArray& bytes);

    bool operator==(const TthMailConfig&) const = default;
};

}  // namespace q2
