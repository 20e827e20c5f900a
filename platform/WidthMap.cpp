// Width and case mapping tables for the characters CP932 can hold.
#include "WidthMap.h"

#include <array>

namespace q2 {
namespace {

// Half-width katakana U+FF61…U+FF9F in order, and their full-width forms.
constexpr char16_t kHalfKana[] =
    u"｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ";
constexpr char16_t kFullKana[] =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    u"マミムメモヤユヨラリルレロワン゛゜";
static_assert(sizeof kHalfKana == sizeof kFullKana);
constexpr int kKanaCount = sizeof kHalfKana / sizeof(char16_t) - 1;

constexpr char16_t kVoiced = u'ﾞ';
constexpr char16_t kSemiVoiced = u'ﾟ';

// ASCII characters whose full-width form in CP932 is not the one at
// U+FF01 + (c − 0x21). The quotation mark and the apostrophe do take theirs,
// "＂" and "＇" (CP932 FA57 and FA56), as the locale mapping does.
char16_t FullFormOfAscii(char16_t c) {
    switch (c) {
        case u' ': return u'\u3000';
        case u'\\': return u'￥';
        default: return char16_t(c - 0x21 + 0xFF01);
    }
}

int HalfKanaIndex(char16_t c) {
    return (c >= 0xFF61 && c <= 0xFF9F) ? c - 0xFF61 : -1;
}

int FullKanaIndex(char16_t c) {
    for (int i = 0; i < kKanaCount; ++i) {
        if (kFullKana[i] == c) return i;
    }
    return -1;
}

bool TakesVoicedMark(char16_t full) {
    for (char16_t k : u"カキクケコサシスセソタチツテトハヒフヘホウ") {
        if (k == full && k != 0) return true;
    }
    return false;
}

bool TakesSemiVoicedMark(char16_t full) {
    return full >= u'ハ' && full <= u'ホ' && (full - u'ハ') % 3 == 0;
}

}  // namespace

QString ToFullWidth(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c <= 0x7E) {
            out.append(QChar(FullFormOfAscii(c)));
            continue;
        }
        const int k = HalfKanaIndex(c);
        if (k < 0) {
            out.append(text[i]);
            continue;
        }
        char16_t full = kFullKana[k];
        const char16_t next = i + 1 < text.size() ? text[i + 1].unicode() : 0;
        if (next == kVoiced && TakesVoicedMark(full)) {
            full = full == u'ウ' ? u'ヴ' : char16_t(full + 1);
            ++i;
        } else if (next == kSemiVoiced && TakesSemiVoicedMark(full)) {
            full = char16_t(full + 2);
            ++i;
        }
        out.append(QChar(full));
    }
    return out;
}

QString ToHalfWidth(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c >= 0xFF01 && c <= 0xFF5E) {
            out.append(QChar(char16_t(c - 0xFF01 + 0x21)));
            continue;
        }
        switch (c) {
            case u'\u3000': out.append(u' '); continue;
            case u'’': out.append(u'\''); continue;
            case u'”': out.append(u'"'); continue;
            case u'￥': out.append(u'\\'); continue;
            case u'ヴ': out.append(u"ｳﾞ"); continue;
            default: break;
        }
        int k = FullKanaIndex(c);
        if (k >= 0) {
            out.append(QChar(kHalfKana[k]));
            continue;
        }
        // Voiced and semi-voiced katakana: the plain kana one or two code
        // points below, then the mark.
        if (c >= u'ガ' && c <= u'ポ') {
            if ((k = FullKanaIndex(char16_t(c - 1))) >= 0 && TakesVoicedMark(kFullKana[k])) {
                out.append(QChar(kHalfKana[k]));
                out.append(QChar(kVoiced));
                continue;
            }
            if ((k = FullKanaIndex(char16_t(c - 2))) >= 0 && TakesSemiVoicedMark(kFullKana[k])) {
                out.append(QChar(kHalfKana[k]));
                out.append(QChar(kSemiVoiced));
                continue;
            }
        }
        out.append(qc);
    }
    return out;
}

QString ToKatakana(QStringView text) {
    QString out(text.toString());
    for (QChar& c : out) {
        if (c.unicode() >= u'ぁ' && c.unicode() <= u'ゖ') c = QChar(char16_t(c.unicode() + 0x60));
        else if (c.unicode() == u'ゝ' || c.unicode() == u'ゞ') c = QChar(char16_t(c.unicode() + 0x60));
    }
    return out;
}

QString ToUpperCase(QStringView text) {
    QString out(text.toString());
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'ａ' && u <= u'ｚ')) c = QChar(char16_t(u - 0x20));
    }
    return out;
}

bool IsKana(QChar qc) {
    const char16_t c = qc.unicode();
    return (c >= 0x3041 && c <= 0x309F) || (c >= 0x30A1 && c <= 0x30FE) ||
           (c >= 0xFF66 && c <= 0xFF9F);
}

QString Trim(QStringView text) {
    qsizetype b = 0, e = text.size();
    while (b < e && text[b].unicode() <= 32) ++b;
    while (e > b && text[e - 1].unicode() <= 32) --e;
    return text.mid(b, e - b).toString();
}

}  // namespace q2
