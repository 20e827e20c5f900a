// Decoding and encoding file names without losing bytes that are not UTF-8.
#include "FileName.h"

namespace q2 {
namespace {

// The length of the valid UTF-8 sequence at p (at most n bytes), 0 if none;
// the code point in *cp.
int Utf8Sequence(const unsigned char* p, qsizetype n, char32_t* cp) {
    const unsigned char b = p[0];
    int len = 0;
    char32_t c = 0, min = 0;
    if (b < 0x80) {
        *cp = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        len = 2, c = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3, c = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4, c = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (n < len) return 0;
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, encoded surrogates and values beyond Unicode are not UTF-8.
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    *cp = c;
    return len;
}

}  // namespace

QString DecodeFileName(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        char32_t cp = 0;
        const int len = Utf8Sequence(p + i, n - i, &cp);
        if (len == 0) {
            out.append(QChar(char16_t(0xDC00 + p[i])));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out.append(QChar(QChar::highSurrogate(cp)));
            out.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            out.append(QChar(char16_t(cp)));
        }
        i += len;
    }
    return out;
}

QByteArray EncodeFileName(const QString& name) {
    QByteArray out;
    out.reserve(name.size() * 3);
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = name[i].unicode();
        char32_t cp = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n &&
            QChar::isLowSurrogate(name[i + 1].unicode())) {
            cp = QChar::surrogateToUcs4(u, name[i + 1].unicode());
            ++i;
        } else if (u >= 0xDC80 && u <= 0xDCFF) {
            out.append(char(u - 0xDC00));  // a byte DecodeFileName kept
            continue;
        } else if (QChar::isSurrogate(u)) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.append(char(cp));
        } else if (cp < 0x800) {
            out.append(char(0xC0 | (cp >> 6)));
            out.append(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.append(char(0xE0 | (cp >> 12)));
            out.append(char(0x80 | ((cp >> 6) & 0x3F)));
            out.append(char(0x80 | (cp & 0x3F)));
        } else {
            out.append(char(0xF0 | (cp >> 18)));
            out.append(char(0x80 | ((cp >> 12) & 0x3F)));
            out.append(char(0x80 | ((cp >> 6) & 0x3F)));
            out.append(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

QStringList DecodeArguments(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << DecodeFileName(QByteArrayView(argv[i]));
    return args;
}

}  // namespace q2
