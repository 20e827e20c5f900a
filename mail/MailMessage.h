// One bulk mail message: placeholders, the recipient of a record and the
// ISO-2022-JP message text handed to the SMTP server.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "model/MailConfig.h"
#include "model/UserInfo.h"

namespace q2 {

// The placeholders of the subject and body templates, in replacement order.
inline constexpr const char* kMailPlaceholders[] = {"[NAME]",  "[NAME_TITLE]", "[STR_1]",
                                                    "[STR_2]", "[STR_3]",      "[STR_4]"};

// PerSonalMail_1 for the private side, OfficeMail_1 for the office side.
QString RecipientAddress(const TUserInfo& record);

// Replaces every placeholder, in the order above and ignoring letter case, by
// the record's value; a value holding a later placeholder is replaced again.
QString Personalize(const QString& text, const TUserInfo& record);

// True for an address that can go into an SMTP command and a header as it is:
// printable ASCII without spaces, angle brackets, commas or semicolons.
bool IsUsableMailAddress(const QString& address);

// A header text as encoded words of at most 75 characters, folded between
// words. Text that is plain ASCII stays as it is; line breaks become spaces.
QByteArray EncodeHeaderWords(const QString& text);

// The display name and address of the From field.
QByteArray FromHeaderValue(const QString& senderName, const QString& senderAddress);

struct TMailMessageParts {
    QString Subject;  // personalised
    QString Body;     // personalised
    QString To;
    QDateTime Date;
    QByteArray MessageId;  // without the angle brackets
};

// The whole message, header and body, with CR LF line ends.
QByteArray ComposeMailMessage(const TthMailConfig& config, const TMailMessageParts& parts);

// A fresh Message-ID for a message from the given sender address.
QByteArray NewMessageId(const QString& senderAddress);

}  // namespace q2
