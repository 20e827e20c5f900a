// Composing the bulk mail message from a record and the two templates.
#include "MailMessage.h"

#include <QRegularExpression>
#include <QUuid>

#include "PzConv.h"
#include "platform/Cp932.h"

namespace q2 {

namespace {

// RFC 2047: an encoded word is at most 75 characters and a header line that
// holds one at most 76. Plain header lines are kept within 78 where spaces
// allow, and no line may pass 998.
constexpr qsizetype kWordLength = 75, kEncodedLine = 76, kPlainLine = 78, kHardLine = 998;

// The ISO-2022-JP bytes a word of `length` characters holds: "=?ISO-2022-JP?B?"
// and "?=" take 18, and every 4 base64 characters carry 3 bytes.
qsizetype WordPayloadBytes(qsizetype length) {
    return std::max<qsizetype>(length - 18, 4) / 4 * 3;
}

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

// Length of the last line of a folded value that starts on a line holding `used`.
qsizetype LastLineLength(const QByteArray& value, qsizetype used) {
    const qsizetype nl = value.lastIndexOf("\r\n");
    return nl < 0 ? used + value.size() : value.size() - nl - 2;
}

// Plain text folded before a space wherever a line would pass 78 characters.
// False when some line would still pass 998 (a word that long).
bool FoldPlain(const QByteArray& text, qsizetype used, QByteArray* out) {
    qsizetype lastWord = text.size() - 1;
    while (lastWord >= 0 && text[lastWord] == ' ') --lastWord;
    // Each piece after the first starts with the spaces it is folded at, so
    // unfolding (dropping the CR LF) gives the text back.
    QList<QByteArray> pieces;
    qsizetype start = 0;
    for (qsizetype i = 1; i < lastWord; ++i)
        if (text[i] == ' ' && text[i - 1] != ' ') {
            pieces << text.mid(start, i - start);
            start = i;
        }
    pieces << text.mid(start);
    out->clear();
    qsizetype line = used;
    for (const QByteArray& piece : pieces) {
        if (!out->isEmpty() && line + piece.size() > kPlainLine) {
            *out += "\r\n";
            line = 0;
        }
        *out += piece;
        line += piece.size();
        if (line > kHardLine) return false;
    }
    return true;
}

// Full-width marks after which a Japanese line may break: 、。，．？！）」』】.
bool IsBreakAfter(unsigned char lead, unsigned char trail) {
    if (lead != 0x81) return false;
    for (unsigned char t : {0x41, 0x42, 0x43, 0x44, 0x48, 0x49, 0x6A, 0x76, 0x78, 0x7A})
        if (trail == t) return true;
    return false;
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

QByteArray EncodeHeaderWords(const QString& text, qsizetype used) {
    const QByteArray sjis = EncodeCp932(OneLine(text));
    if (!HasEightBitByte(sjis)) {
        QByteArray folded;
        if (FoldPlain(sjis, used, &folded)) return folded;
    }
    // Half-width katakana are widened first, so that a word boundary never
    // separates a kana from its sound mark.
    const QByteArray wide = TPzConv::HanToZenCombined(sjis);
    TPzConv conv;
    conv.JisKanaConvType = TJisKanaConvType::ktNone;
    QByteArray out, chunk;
    // The first word shares its line with the field name.
    qsizetype payload = WordPayloadBytes(std::min(kWordLength, kEncodedLine - used));
    auto fits = [&](const QByteArray& sjis) { return conv.SjisToJis(sjis).size() <= payload; };
    auto flush = [&](const QByteArray& word) {
        if (!out.isEmpty()) out += "\r\n ";
        out += Word(conv, word);
        payload = WordPayloadBytes(kWordLength);
    };
    // Where the chunk could end just after one of the text's own spaces. Some
    // readers (Python's email among them) show the folding space between two
    // words of a display name; a word boundary at a space makes that harmless.
    qsizetype afterSpace = -1;
    for (qsizetype i = 0; i < wide.size();) {
        const qsizetype len =
            IsCp932LeadByte(static_cast<unsigned char>(wide[i])) && i + 1 < wide.size() ? 2 : 1;
        const QByteArray c = wide.mid(i, len);
        if (!chunk.isEmpty() && !fits(chunk + c)) {
            const qsizetype cut = 2 * afterSpace >= chunk.size() ? afterSpace : chunk.size();
            flush(chunk.left(cut));
            chunk = chunk.mid(cut);
            if (!chunk.isEmpty() && !fits(chunk + c)) {
                flush(chunk);
                chunk.clear();
            }
            afterSpace = -1;
        }
        chunk += c;
        if (c == " " || c == "\x81\x40") afterSpace = chunk.size();
        i += len;
    }
    if (!chunk.isEmpty()) flush(chunk);
    return out;
}

QByteArray FromHeaderValue(const QString& senderName, const QString& senderAddress,
                           qsizetype used) {
    const QByteArray address = '<' + senderAddress.toLatin1() + '>';
    QByteArray name = EncodeCp932(OneLine(senderName));
    if (name.trimmed().isEmpty()) return address;
    qsizetype limit = kPlainLine;
    if (HasEightBitByte(name)) {
        // A name of half-width katakana only has no lead byte and would go out
        // as 8-bit bytes; widened, it is encoded like any Japanese name.
        name = EncodeHeaderWords(senderName, used);
        limit = kEncodedLine;
    } else if (NeedsQuoting(name)) {
        name = '"' + name.replace('\\', "\\\\").replace('"', "\\\"") + '"';
    }
    // Without the space a mail reader takes the "<" for part of the name.
    const bool ownLine = LastLineLength(name, used) + 1 + address.size() > limit;
    return name + (ownLine ? "\r\n " : " ") + address;
}

QList<QByteArray> FoldBodyLine(const QString& line, qsizetype limit) {
    const QByteArray wide = TPzConv::HanToZenCombined(EncodeCp932(line));
    TPzConv conv;
    conv.JisKanaConvType = TJisKanaConvType::ktNone;
    QList<QByteArray> out;
    for (qsizetype start = 0;;) {
        // Walks as far as the limit allows, counting the escapes: 3 octets
        // for every switch and 3 for the return to ASCII at the end.
        qsizetype i = start, octets = 0, breakAt = -1;
        bool jis = false;
        while (i < wide.size()) {
            const bool twoByte =
                IsCp932LeadByte(static_cast<unsigned char>(wide[i])) && i + 1 < wide.size();
            const qsizetype cost = (twoByte ? 2 : 1) + (twoByte != jis ? 3 : 0);
            if (i > start && octets + cost + (twoByte ? 3 : 0) > limit) break;
            octets += cost;
            jis = twoByte;
            i += twoByte ? 2 : 1;
            if (twoByte && 2 * octets >= limit &&
                IsBreakAfter(static_cast<unsigned char>(wide[i - 2]),
                             static_cast<unsigned char>(wide[i - 1])))
                breakAt = i;
        }
        if (i >= wide.size()) {
            out << conv.SjisToJis(wide.mid(start));
            return out;
        }
        const qsizetype end = breakAt > 0 ? breakAt : i;
        out << conv.SjisToJis(wide.mid(start, end - start));
        start = end;
    }
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
    m += "From: " + FromHeaderValue(config.SenderName, config.SenderMailAddress, 6) + "\r\n";
    m += "To: " + parts.To.toLatin1() + "\r\n";
    m += "Subject: " + EncodeHeaderWords(parts.Subject, 9) + "\r\n";
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
    QStringList lines = body.split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
    for (const QString& line : lines)
        for (const QByteArray& folded : FoldBodyLine(line)) m += folded + "\r\n";
    return m;
}

}  // namespace q2
