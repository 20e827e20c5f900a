// CP932 codec: glibc iconv builds the two mapping tables once, lookups do the rest.
#include "Cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <utility>
#include <vector>

namespace q2 {
namespace {

constexpr char16_t kNoChar = 0xFFFF;
constexpr char16_t kEscapeBase = 0xDC00;

struct Tables {
    // Single bytes, then every lead byte × trail byte pair; kNoChar where the
    // code page has no character.
    std::array<char16_t, 256> single{};
    std::vector<char16_t> pairs = std::vector<char16_t>(256 * 256, kNoChar);
    std::array<bool, 256> lead{};
    // Every BMP code point to its CP932 bytes (0 = not encodable); a value
    // above 0xFF is a two-byte code.
    std::vector<uint16_t> encode = std::vector<uint16_t>(0x10000, 0);
    // For the characters the code page holds more than once (NEC row 13,
    // NEC-selected and IBM extensions), the two-byte codes that are not the
    // one `encode` gives; 0 where there is none.
    std::vector<std::array<uint16_t, 2>> alternates =
        std::vector<std::array<uint16_t, 2>>(0x10000, std::array<uint16_t, 2>{});
};

// Converts one short buffer with iconv; empty on any error.
std::string IconvOnce(iconv_t cd, const char* in, size_t inLen) {
    char out[16];
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLen, &outPtr, &outLeft) == static_cast<size_t>(-1)) return {};
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return {};
    return std::string(out, outPtr - out);
}

char16_t DecodedUnit(const std::string& utf16) {
    // Only characters that decode to exactly one BMP code unit are kept.
    if (utf16.size() != 2) return kNoChar;
    return static_cast<char16_t>(static_cast<unsigned char>(utf16[0]) |
                                 (static_cast<unsigned char>(utf16[1]) << 8));
}

std::unique_ptr<Tables> BuildTables() {
    auto t = std::make_unique<Tables>();
    iconv_t dec = iconv_open("UTF-16LE", "CP932");
    iconv_t enc = iconv_open("CP932", "UTF-16LE");
    if (dec == reinterpret_cast<iconv_t>(-1) || enc == reinterpret_cast<iconv_t>(-1)) {
        qFatal("CP932 conversion is not available (glibc iconv)");
    }
    for (int b = 0; b < 256; ++b) {
        t->lead[b] = IsCp932LeadByte(static_cast<unsigned char>(b));
        char c = static_cast<char>(b);
        t->single[b] = t->lead[b] ? kNoChar : DecodedUnit(IconvOnce(dec, &c, 1));
        if (t->lead[b]) {
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                char pair[2] = {c, static_cast<char>(trail)};
                t->pairs[b * 256 + trail] = DecodedUnit(IconvOnce(dec, pair, 2));
            }
        }
    }
    for (int u = 1; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) continue;
        char in[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
        const std::string out = IconvOnce(enc, in, 2);
        if (out.size() == 1) {
            t->encode[u] = static_cast<unsigned char>(out[0]);
        } else if (out.size() == 2) {
            t->encode[u] = static_cast<uint16_t>((static_cast<unsigned char>(out[0]) << 8) |
                                                 static_cast<unsigned char>(out[1]));
        }
    }
    for (int b = 0x81; b <= 0xFC; ++b) {
        if (!t->lead[b]) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char16_t u = t->pairs[b * 256 + trail];
            const uint16_t code = static_cast<uint16_t>((b << 8) | trail);
            if (u == kNoChar || t->encode[u] == code) continue;
            for (uint16_t& slot : t->alternates[u])
                if (slot == 0 || slot == code) {
                    slot = code;
                    break;
                }
        }
    }
    iconv_close(dec);
    iconv_close(enc);
    return t;
}

const Tables& GetTables() {
    static const std::unique_ptr<Tables> tables = BuildTables();
    return *tables;
}

bool IsAscii(QStringView text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x80) return false;
    }
    return true;
}

bool IsAscii(QByteArrayView bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

namespace {

// Writes the encoding of text at dst (room for 2 bytes per code unit) and
// returns the end; unmappable positions go to `unmappable` when given.
char* EncodeInto(QStringView text, char* dst, QList<qsizetype>* unmappable, bool* ok) {
    const Tables& t = GetTables();
    // A kept lead byte must not pair with the bytes written after it, or the
    // text would read back differently.
    int keptLead = -1;
    auto pairsWith = [&t](int lead, uint16_t code) {
        const int first = code > 0xFF ? code >> 8 : code;
        return lead >= 0 && t.pairs[lead * 256 + first] != kNoChar;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const int lead = std::exchange(keptLead, -1);
        if (u < 0x80) {
            *dst++ = static_cast<char>(u);
            continue;
        }
        if (u >= kEscapeBase && u <= kEscapeBase + 0xFF) {
            const unsigned char b = static_cast<unsigned char>(u - kEscapeBase);
            *dst++ = static_cast<char>(b);
            if (t.lead[b]) keptLead = b;
            continue;
        }
        uint16_t code = (u >= 0xD800 && u <= 0xDFFF) ? 0 : t.encode[u];
        if (code != 0 && pairsWith(lead, code))
            for (const uint16_t other : t.alternates[u])
                if (other != 0 && !pairsWith(lead, other)) {
                    code = other;
                    break;
                }
        if (code == 0) {
            *dst++ = '?';
            *ok = false;
            if (unmappable) unmappable->append(i);
            // A surrogate pair is one character: report and replace it once.
            if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
                QChar::isLowSurrogate(text[i + 1].unicode())) {
                ++i;
            }
        } else if (code > 0xFF) {
            *dst++ = static_cast<char>(code >> 8);
            *dst++ = static_cast<char>(code & 0xFF);
        } else {
            *dst++ = static_cast<char>(code);
        }
    }
    return dst;
}

}  // namespace

bool AppendCp932(QStringView text, QByteArray& out) {
    const qsizetype at = out.size();
    if (IsAscii(text)) {
        out.resize(at + text.size());
        char* dst = out.data() + at;
        for (QChar c : text) *dst++ = static_cast<char>(c.unicode());
        return true;
    }
    out.resize(at + 2 * text.size());
    bool ok = true;
    char* end = EncodeInto(text, out.data() + at, nullptr, &ok);
    out.resize(end - out.constData());
    return ok;
}

QByteArray EncodeCp932(QStringView text, QList<qsizetype>* unmappable) {
    if (IsAscii(text)) return text.toLatin1();
    QByteArray out(2 * text.size(), Qt::Uninitialized);
    bool ok = true;
    char* end = EncodeInto(text, out.data(), unmappable, &ok);
    out.resize(end - out.constData());
    return out;
}

QString DecodeCp932(QByteArrayView bytes) {
    if (IsAscii(bytes)) return QString::fromLatin1(bytes.data(), bytes.size());
    const Tables& t = GetTables();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    qsizetype n = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char b = p[i];
        char16_t u = kNoChar;
        if (t.lead[b]) {
            if (i + 1 < size) {
                u = t.pairs[b * 256 + p[i + 1]];
                if (u != kNoChar) ++i;
            }
        } else {
            u = t.single[b];
        }
        dst[n++] = QChar(u == kNoChar ? char16_t(kEscapeBase + b) : u);
    }
    out.resize(n);
    return out;
}

bool IsCp932Encodable(QStringView text) {
    // The same test the encoder makes, without building the bytes.
    const Tables& t = GetTables();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= kEscapeBase && u <= kEscapeBase + 0xFF)) continue;
        if ((u >= 0xD800 && u <= 0xDFFF) || t.encode[u] == 0) return false;
    }
    return true;
}

}  // namespace q2
