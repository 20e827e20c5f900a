// Splitting vCard files into cards and properties, and decoding values.
#include "VcardReader.h"

#include <QStringDecoder>

#include "platform/Cp932.h"

namespace q2 {
namespace {

bool EqualsNoCase(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() && qstrnicmp(a.data(), a.size(), b.data(), b.size()) == 0;
}

bool StartsWithNoCase(QByteArrayView text, QByteArrayView prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.first(prefix.size()), prefix);
}

bool IsValidUtf8(QByteArrayView b) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data());
    const auto* end = p + b.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int n;
        char32_t cp;
        if (c >= 0xC2 && c <= 0xDF) n = 1, cp = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF) n = 2, cp = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4) n = 3, cp = c & 0x07;
        else return false;
        if (end - p <= n) return false;
        for (int i = 1; i <= n; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += n + 1;
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

QByteArray DecodeQuotedPrintable(QByteArrayView in) {
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '=' && i + 2 < in.size()) {
            const int hi = HexDigit(in[i + 1]), lo = HexDigit(in[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.append(char(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.append(in[i]);
    }
    return out;
}

// The position of the first `c` outside double quotes, or -1.
qsizetype IndexOutsideQuotes(QByteArrayView text, char c, qsizetype from = 0) {
    bool quoted = false;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == '"') quoted = !quoted;
        else if (text[i] == c && !quoted) return i;
    }
    return -1;
}

QByteArray Unquote(QByteArrayView v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.sliced(1, v.size() - 2);
    return v.toByteArray();
}

bool IsQuotedPrintableHead(QByteArrayView line) {
    const qsizetype colon = IndexOutsideQuotes(line, ':');
    const QByteArrayView head = colon < 0 ? line : line.first(colon);
    for (qsizetype i = 0; i + 16 <= head.size(); ++i)
        if ((head[i] == 'Q' || head[i] == 'q') && EqualsNoCase(head.sliced(i, 16), "QUOTED-PRINTABLE"))
            return true;
    return false;
}

// One logical line as a property; false when it has no colon.
bool ParseProperty(QByteArrayView line, int lineNo, TVcardProperty* p) {
    const qsizetype colon = IndexOutsideQuotes(line, ':');
    if (colon < 0) return false;
    const QByteArrayView head = line.first(colon);
    p->Value = line.sliced(colon + 1).toByteArray();
    p->Line = lineNo;
    p->Params.clear();
    qsizetype start = 0;
    bool first = true;
    while (start <= head.size()) {
        qsizetype semi = IndexOutsideQuotes(head, ';', start);
        if (semi < 0) semi = head.size();
        const QByteArrayView token = head.sliced(start, semi - start).trimmed();
        if (first) {
            const qsizetype dot = token.lastIndexOf('.');
            p->Name = token.sliced(dot + 1).toByteArray().toUpper();
            p->Group = dot < 0 ? QByteArray() : token.first(dot).toByteArray().toUpper();
            first = false;
        } else if (!token.isEmpty()) {
            const qsizetype eq = token.indexOf('=');
            if (eq < 0) {
                const bool encoding = EqualsNoCase(token, "QUOTED-PRINTABLE") ||
                                      EqualsNoCase(token, "BASE64") || EqualsNoCase(token, "8BIT") ||
                                      EqualsNoCase(token, "7BIT");
                p->Params.emplace_back(encoding ? "ENCODING" : "TYPE", token.toByteArray());
            } else {
                p->Params.emplace_back(token.first(eq).trimmed().toByteArray().toUpper(),
                                       Unquote(token.sliced(eq + 1).trimmed()));
            }
        }
        start = semi + 1;
    }
    return !p->Name.isEmpty();
}

QByteArray Utf8OfFile(QByteArrayView bytes, bool* converted) {
    *converted = false;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        *converted = true;
        QStringDecoder d(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                      : QStringConverter::Utf16BE);
        return QString(d.decode(bytes.sliced(2))).toUtf8();
    }
    return {};
}

}  // namespace

QByteArray TVcardProperty::Param(QByteArrayView name) const {
    for (const auto& [n, v] : Params)
        if (n == name) return v;
    return {};
}

bool TVcardProperty::HasType(QByteArrayView type) const {
    for (const auto& [n, v] : Params) {
        if (n != "TYPE") continue;
        for (const QByteArray& t : v.split(','))
            if (EqualsNoCase(t.trimmed(), type)) return true;
    }
    return false;
}

bool TVcardProperty::IsPreferred() const {
    if (HasType("PREF")) return true;
    for (const auto& [n, v] : Params)
        if (n == "PREF") return true;
    return false;
}

std::vector<TVcardCard> ParseVcards(QByteArrayView input) {
    bool converted = false;
    const QByteArray utf8 = Utf8OfFile(input, &converted);
    QByteArrayView bytes = converted ? QByteArrayView(utf8) : input;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);

    std::vector<TVcardCard> cards;
    TVcardCard card;
    int depth = 0;
    TVcardProperty property;

    auto take = [&](QByteArrayView line, int lineNo) {
        if (!ParseProperty(line, lineNo, &property)) return;
        if (property.Name == "BEGIN" && EqualsNoCase(property.Value.trimmed(), "VCARD")) {
            if (depth++ == 0) {
                card = TVcardCard();
                card.Line = lineNo;
            }
            return;
        }
        if (property.Name == "END" && EqualsNoCase(property.Value.trimmed(), "VCARD")) {
            if (depth > 0 && --depth == 0) cards.push_back(std::move(card));
            return;
        }
        if (depth != 1) return;
        if (property.Name == "VERSION") card.Version = property.Value.trimmed();
        else card.Properties.push_back(std::move(property));
    };

    QByteArray current;
    int currentLine = 0;
    bool currentQp = false, haveCurrent = false;
    int lineNo = 0;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        const QByteArrayView line = bytes.sliced(pos, end - pos);
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
        ++lineNo;
        if (haveCurrent) {
            // A soft line break of QUOTED-PRINTABLE: the next line goes on as it is.
            if (currentQp && current.endsWith('=') && !StartsWithNoCase(line, "END:VCARD")) {
                current.chop(1);
                current.append(line);
                continue;
            }
            if (!line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
                current.append(line.sliced(1));
                continue;
            }
            take(current, currentLine);
            haveCurrent = false;
        }
        if (line.trimmed().isEmpty()) continue;
        current = line.toByteArray();
        currentLine = lineNo;
        currentQp = IsQuotedPrintableHead(line);
        haveCurrent = true;
    }
    if (haveCurrent) take(current, currentLine);
    if (depth > 0) cards.push_back(std::move(card));
    return cards;
}

bool LooksLikeVcard(QByteArrayView input) {
    bool converted = false;
    const QByteArray utf8 = Utf8OfFile(input.first(std::min<qsizetype>(input.size(), 4096)), &converted);
    QByteArrayView bytes = converted ? QByteArrayView(utf8) : input;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return StartsWithNoCase(bytes.sliced(i), "BEGIN:VCARD");
}

namespace {

QByteArray DecodedBytes(const TVcardProperty& p) {
    const QByteArray encoding = p.Param("ENCODING");
    if (EqualsNoCase(encoding, "QUOTED-PRINTABLE")) return DecodeQuotedPrintable(p.Value);
    if (EqualsNoCase(encoding, "BASE64") || EqualsNoCase(encoding, "B"))
        return QByteArray::fromBase64(p.Value);
    return p.Value;
}

}  // namespace

QString VcardRawText(const TVcardProperty& p) {
    const QByteArray bytes = DecodedBytes(p);
    const QByteArray charset = p.Param("CHARSET").toUpper();
    if (!charset.isEmpty()) {
        if (charset == "SHIFT_JIS" || charset == "SHIFT-JIS" || charset == "SJIS" ||
            charset == "X-SJIS" || charset == "CP932" || charset == "WINDOWS-31J" ||
            charset == "MS_KANJI")
            return DecodeCp932(bytes);
        if (charset == "UTF-8" || charset == "UTF8") return QString::fromUtf8(bytes);
        if (charset == "US-ASCII" || charset == "ISO-8859-1") return QString::fromLatin1(bytes);
        QStringDecoder other(charset.constData());
        if (other.isValid()) {
            QString text = other.decode(bytes);
            if (!other.hasError()) return text;
        }
    }
    return IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : DecodeCp932(bytes);
}

QByteArray VcardBinary(const TVcardProperty& p) {
    const QByteArray encoding = p.Param("ENCODING");
    if (EqualsNoCase(encoding, "BASE64") || EqualsNoCase(encoding, "B"))
        return QByteArray::fromBase64(p.Value);
    const QByteArrayView v = QByteArrayView(p.Value).trimmed();
    if (StartsWithNoCase(v, "data:")) {
        const qsizetype comma = v.indexOf(',');
        if (comma < 0) return {};
        const QByteArrayView head = v.first(comma);
        if (head.size() < 7 || !EqualsNoCase(head.last(7), ";base64")) return {};
        return QByteArray::fromBase64(v.sliced(comma + 1).toByteArray());
    }
    return {};
}

QString VcardUnescape(QStringView raw) {
    if (!raw.contains(u'\\')) return raw.toString();
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != u'\\' || i + 1 == raw.size()) {
            out.append(raw[i]);
            continue;
        }
        const QChar next = raw[++i];
        if (next == u'n' || next == u'N') out.append(u'\n');
        else out.append(next);
    }
    return out;
}

QStringList VcardComponents(const QString& raw, QChar separator) {
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'\\') {
            ++i;
        } else if (raw[i] == separator) {
            parts << VcardUnescape(QStringView(raw).sliced(start, i - start));
            start = i + 1;
        }
    }
    parts << VcardUnescape(QStringView(raw).sliced(start));
    return parts;
}

}  // namespace q2
