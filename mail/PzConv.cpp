// ISO-2022-JP conversion on CP932 bytes.
#include "PzConv.h"

namespace q2 {
namespace {

// CP932 codes of the full-width forms of half-width katakana 0xA1…0xDF.
constexpr unsigned short kZenKana[63] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348,
    0x8383, 0x8385, 0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A,
    0x834C, 0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360,
    0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C, 0x836D, 0x836E, 0x8371, 0x8374,
    0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B};

constexpr unsigned char kVoiced = 0xDE, kSemiVoiced = 0xDF;

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsHanKana(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }

void AppendCode(QByteArray& out, unsigned short code) {
    out.append(static_cast<char>(code >> 8));
    out.append(static_cast<char>(code & 0xFF));
}

// The JIS X 0208 row/cell arithmetic of one double-byte character.
void SjisPairToJis(unsigned char s1, unsigned char s2, unsigned char* j1, unsigned char* j2) {
    int a = s1 < 0xA0 ? 2 * s1 - 0xE0 : 2 * s1 - 0x160;
    if (s2 < 0x9F) a -= 1;
    int b = s2 <= 0x7E ? s2 - 0x1F : s2 <= 0x9E ? s2 - 0x20 : s2 - 0x7E;
    *j1 = static_cast<unsigned char>(a);
    *j2 = static_cast<unsigned char>(b);
}

}  // namespace

QByteArray TPzConv::HanToZenCombined(const QByteArray& in) {
    QByteArray out;
    out.reserve(in.size() * 2);
    for (qsizetype i = 0; i < in.size(); ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (IsLead(b)) {
            out.append(in[i]);
            if (i + 1 < in.size()) out.append(in[++i]);
            continue;
        }
        if (!IsHanKana(b)) {
            out.append(in[i]);
            continue;
        }
        unsigned short code = kZenKana[b - 0xA1];
        const auto next = i + 1 < in.size() ? static_cast<unsigned char>(in[i + 1]) : 0;
        if (next == kVoiced && ((b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE))) {
            code += 1;
            ++i;
        } else if (next == kVoiced && b == 0xB3) {
            code = 0x8394;  // ヴ
            ++i;
        } else if (next == kSemiVoiced && b >= 0xCA && b <= 0xCE) {
            code += 2;
            ++i;
        }
        AppendCode(out, code);
    }
    return out;
}

QByteArray TPzConv::HanToZenSeparate(const QByteArray& in) {
    QByteArray out;
    out.reserve(in.size() * 2);
    for (qsizetype i = 0; i < in.size(); ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (IsLead(b)) {
            out.append(in[i]);
            if (i + 1 < in.size()) out.append(in[++i]);
        } else if (IsHanKana(b)) {
            AppendCode(out, kZenKana[b - 0xA1]);
        } else {
            out.append(in[i]);
        }
    }
    return out;
}

QByteArray TPzConv::ConvertKana(const QByteArray& sjis) const {
    switch (JisKanaConvType) {
        case TJisKanaConvType::ktZenWithDaku: return HanToZenCombined(sjis);
        case TJisKanaConvType::ktZenSepaDaku: return HanToZenSeparate(sjis);
        default: return sjis;
    }
}

QByteArray TPzConv::SjisToJis(const QByteArray& sjis) const {
    const QByteArray in = ConvertKana(sjis);
    const QByteArray toOneByte = JisByteCodeType == TJisByteCodeType::btRoman ? "\x1B(J" : "\x1B(B";
    QByteArray out;
    out.reserve(in.size() + 16);
    bool twoByte = false;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (IsLead(b)) {
            if (!twoByte) {
                out.append("\x1B$B");
                twoByte = true;
            }
            unsigned char j1 = 0x22, j2 = 0x2E;  // 〓 stands in for what JIS X 0208 cannot hold
            if (i + 1 < in.size()) {
                SjisPairToJis(b, static_cast<unsigned char>(in[i + 1]), &j1, &j2);
                ++i;
                // User-defined and IBM-extension codes fall outside the 7-bit
                // rows; sending them as they come would put 8-bit bytes in a
                // 7-bit mail.
                if (j1 < 0x21 || j1 > 0x7E || j2 < 0x21 || j2 > 0x7E) j1 = 0x22, j2 = 0x2E;
            }
            out.append(static_cast<char>(j1));
            out.append(static_cast<char>(j2));
            continue;
        }
        if (twoByte) {
            out.append(toOneByte);
            twoByte = false;
        }
        out.append(in[i]);
    }
    if (twoByte) out.append(toOneByte);
    return out;
}

QByteArray TPzConv::EncodeMimeHeader(const QByteArray& sjis) const {
    if (sjis.isEmpty()) return QByteArray();
    bool hasLead = false;
    for (char c : sjis) hasLead = hasLead || IsLead(static_cast<unsigned char>(c));
    if (!hasLead) return sjis;
    return "=?ISO-2022-JP?B?" + Base64Encode(SjisToJis(sjis)) + "?=";
}

QByteArray TPzConv::Base64Encode(const QByteArray& bytes) { return bytes.toBase64(); }

}  // namespace q2
