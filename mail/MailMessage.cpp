// Composing the bulk mail message from a record and the two templates.
#include "MailMessage.h"

#include <QRegularExpression>
#include <QUuid>

#include "PzConv.h"
#include "platform/Cp932.h"

namespace q2 {

namespace {

// "=?ISO-2022-JP?B?" and "?=" leave 57 base64 characters of a 75-character
// word, which hold 42 bytes.
constexpr qsizetype kWordPayloadBytes = 42;

bool HasEightBitByte(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

QString OneLine(QString text) {
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n\\t\\x00-\\x1F\\x7F]+"));
    return text.replace(breaks, QStringLiteral(" "));
}

// RFC 5322 specials that would split or end a bare display name.
bool NeedsQuoting(const QByteArray& name) {
    for (char c : name)
        if (QByteArrayView("()<>[]:;@\\,.\"").contains(c)) return true;
    return false;
}

QByteArray Word(const TPzConv& conv, const QByteArray& sjis) {
    return "=?ISO-2022-JP?B?" + TPzConv::Base64Encode(conv.SjisToJis(sjis)) + "?=";
}

}  // namespace

QString RecipientAddress(const TUserInfo& record) {
    return record.CommonUseTypePersonal ? record.PerSonalMail_1 : record.OfficeMail_1;
}

QString Personalize(const QString& text, const TUserInfo& record) {
    const QString* values[] = {nullptr,
                               &record.PerSonalHonorificTitle,
                               &record.CommonInsertStr_1,
                               &record.CommonInsertStr_2,
                               &record.CommonInsertStr_3,
                               &record.CommonInsertStr_4};
    const QString fullName = record.PersonalFullName();
    values[0] = &fullName;
    QString out = text;
    for (int i = 0; i < 6; ++i)
        out.replace(QLatin1String(kMailPlaceholders[i]), *values[i], Qt::CaseInsensitive);
    return out;
}

bool IsUsableMailAddress(const QString& address) {
    if (address.isEmpty()) return false;
    for (QChar c : address) {
        const char16_t u = c.unicode();
        if (u <= 0x20 || u >= 0x7F) return false;
        if (u == '<' || u == '>' || u == ',' || u == ';' || u == '"' || u == '\\') return false;
    }
    return true;
}

QByteArray EncodeHeaderWords(const QString& text) {
    const QByteArray sjis = EncodeCp932(OneLine(text));
    if (!HasEightBitByte(sjis)) return sjis;
    // Half-width katakana are widened first, so that a word boundary never
    // separates a kana from its sound mark.
    const QByteArray wide = TPzConv::HanToZenCombined(sjis);
    TPzConv conv;
    conv.JisKanaConvType = TJisKanaConvType::ktNone;
    QByteArray out, chunk;
    for (qsizetype i = 0; i < wide.size();) {
        const qsizetype len =
            IsCp932LeadByte(static_cast<unsigned char>(wide[i])) && i + 1 < wide.size() ? 2 : 1;
        const QByteArray next = chunk + wide.mid(i, len);
        if (!chunk.isEmpty() && conv.SjisToJis(next).size() > kWordPayloadBytes) {
            if (!out.isEmpty()) out += "\r\n ";
            out += Word(conv, chunk);
            chunk = wide.mid(i, len);
        } else {
            chunk = next;
        }
        i += len;
    }
    if (!chunk.isEmpty()) {
        if (!out.isEmpty()) out += "\r\n ";
        out += Word(conv, chunk);
    }
    return out;
}

QByteArray FromHeaderValue(const QString& senderName, const QString& senderAddress) {
    QByteArray name = EncodeCp932(OneLine(senderName));
    const TPzConv conv;
    if (HasEightBitByte(name)) {
        // A name of half-width katakana only has no lead byte and would go out
        // as 8-bit bytes; widened, it is encoded like any Japanese name.
        name = conv.EncodeMimeHeader(TPzConv::HanToZenCombined(name));
    } else if (NeedsQuoting(name)) {
        name = '"' + name.replace('\\', "\\\\").replace('"', "\\\"") + '"';
    }
    return name + '<' + senderAddress.toLatin1() + '>';
}

QByteArray NewMessageId(const QString& senderAddress) {
    const qsizetype at = senderAddress.lastIndexOf(u'@');
    QString domain = at >= 0 ? senderAddress.mid(at + 1) : QString();
    if (!IsUsableMailAddress(domain) || domain.contains(u'@'))
        domain = QStringLiteral("quintaro2.invalid");
    return QUuid::createUuid().toByteArray(QUuid::Id128) + '.' +
           QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + '@' + domain.toLatin1();
}

QByteArray ComposeMailMessage(const TthMailConfig& config, const TMailMessageParts& parts) {
    QByteArray m;
    m += "From: " + FromHeaderValue(config.SenderName, config.SenderMailAddress) + "\r\n";
    m += "To: " + parts.To.toLatin1() + "\r\n";
    m += "Subject: " + EncodeHeaderWords(parts.Subject) + "\r\n";
    m += "Date: " + parts.Date.toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    m += "Message-ID: <" + parts.MessageId + ">\r\n";
    m += "MIME-Version: 1.0\r\n";
    m += "Content-Type: text/plain;charset=\"iso-2022-jp\";\r\n";
    m += "Content-Transfer-Encoding: 7bit\r\n";
    m += "X-Mailer: Quintaro2\r\n";
    m += "\r\n";
    // Every line break the editor may hold (CR LF, LF, CR) goes out as CR LF.
    QString body = parts.Body;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const TPzConv conv;
    QStringList lines = body.split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
    for (const QString& line : lines) m += conv.SjisToJis(EncodeCp932(line)) + "\r\n";
    return m;
}

}  // namespace q2
