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
// words so that no line passes 76 characters; `used` is what the line holds
// before the text ("Subject: " is 9). Plain ASCII stays as it is, folded at
// spaces when the line would pass 78 characters; line breaks become spaces.
QByteArray EncodeHeaderWords(const QString& text, qsizetype used = 0);

// The display name and address of the From field, a space between them; the
// address goes on a line of its own when it would make the line too long.
QByteArray FromHeaderValue(const QString& senderName, const QString& senderAddress,
                           qsizetype used = 6);

// The longest body line sent, in octets before CR LF. Servers refuse lines
// over 998; the margin leaves room for dot-stuffing and for relays that add
// to a line, and ordinary paragraphs stay one line.
inline constexpr qsizetype kBodyLineOctets = 900;

// One text line as ISO-2022-JP lines of at most `limit` octets each. Every
// line that switched to JIS X 0208 returns to ASCII before its end, and a fold
// falls between characters, after Japanese punctuation where one lies in the
// second half of the line. The folded lines joined give the text back.
QList<QByteArray> FoldBodyLine(const QString& line, qsizetype limit = kBodyLineOctets);

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
